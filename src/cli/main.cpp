// shareseek-cli: the search of the window from a terminal and from scripts.
#include "cli/options.h"
#include "cli/output_formats.h"
#include "cli/progress.h"
#include "ui/whole_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

using namespace shareseek;
using namespace shareseek::cli;

// Writes to standard output; a reader that has gone away (`| head`) ends the program
// quietly, with status 0: it had what it wanted.
bool writeOut(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EPIPE)
            std::_Exit(0);
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void say(const std::string& text, bool error) {
    std::fputs(text.c_str(), error ? stderr : stdout);
}

int exitStatus(const std::vector<SiteOutcome>& outcomes) {
    bool failed = false;
    for (const SiteOutcome& outcome : outcomes) {
        if (outcome.rows > 0)
            return 0;
        failed = failed || siteFailed(outcome.end);
    }
    return failed ? 3 : 1;
}

int run(const Options& options) {
    if (options.output && !canWriteWholeFile(*options.output)) {
        say("shareseek-cli: cannot write " + *options.output + "\n", true);
        return 2;
    }
    std::string kept; // what goes to the output file, written whole at the end
    const ByteSink sink = options.output ? ByteSink([&](std::string_view bytes) {
        kept += bytes;
        return true;
    })
                                         : ByteSink(writeOut);
    const bool toTerminal = !options.output && ::isatty(STDOUT_FILENO);
    const auto writer = makeRowWriter(options.format, options.plan.keyword, sink, toTerminal);
    ProgressLine progress(!options.quiet && ::isatty(STDERR_FILENO));
    const std::vector<SiteOutcome> outcomes =
        runOrderedSearch(options.plan, {.row = [&](const Row& row) { return writer->row(row); },
                                        .progress = [&](const Progress& p) { progress.show(p); }});
    const bool written =
        writer->end(outcomes) && (!options.output || writeWholeFile(*options.output, kept));
    progress.finish(outcomes);
    if (!written) {
        say("shareseek-cli: cannot write " + options.output.value_or("standard output") + "\n",
            true);
        return 2;
    }
    return exitStatus(outcomes);
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN); // a closed pipe is seen as EPIPE, and ends us quietly
    const Parsed parsed = parseCommandLine(argc, argv);
    if (const Exit* exit = std::get_if<Exit>(&parsed)) {
        say(exit->text, exit->status != 0);
        return exit->status;
    }
    const int status = run(std::get<Options>(parsed));
    std::fflush(nullptr);
    // Workers still blocked on the network cannot hold the end of the program up.
    std::_Exit(status);
}
