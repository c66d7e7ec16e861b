#include "search/endpoints.h"
#include "ui/qt/program.h"

#include <cstdio>
#include <cstring>

namespace {

// --version and --help answer without a display; any other argument is said and passed
// over, and the window opens as usual.
bool answeredWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("shareseek " SHARESEEK_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::puts("Usage: shareseek [--version | --help]\n"
                      "Searches public cloud-storage share sites for files, in a window.\n"
                      "For terminals and scripts: shareseek-cli --help");
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    using namespace shareseek;
    if (answeredWithoutWindow(argc, argv))
        return 0;
    const int exitCode = runProgram(argc, argv,
                                    {.searchHost = std::string(endpoints::searchHost),
                                     .forumHost = std::string(endpoints::forumHost),
                                     .reportArguments = true});
    endProcess(exitCode);
}
