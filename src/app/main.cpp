#include "search/endpoints.h"
#include "ui/qt/program.h"

int main(int argc, char** argv) {
    using namespace shareseek;
    const int exitCode = runProgram(argc, argv,
                                    {.searchHost = std::string(endpoints::searchHost),
                                     .forumHost = std::string(endpoints::forumHost)});
    endProcess(exitCode);
}
