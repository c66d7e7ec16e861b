#pragma once

#include <string>
#include <vector>

// Runs shareseek-cli as a process of its own, as a script would, and keeps what it printed.
namespace shareseek::testing {

struct CliRun {
    int status = -1; // the exit status; -1 when it did not end by itself in time
    std::string out, err;
};

enum class CliOutput {
    pipe,        // standard output is a pipe we read to the end
    terminal,    // standard output is a terminal (a pseudo-terminal we read)
    closedEarly, // a pipe whose reader goes away after the first bytes
};

CliRun runCli(const std::vector<std::string>& arguments, CliOutput output = CliOutput::pipe);

} // namespace shareseek::testing
