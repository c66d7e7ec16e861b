#pragma once

#include <functional>
#include <string>

namespace shareseek {

class Shell;

struct ProgramOptions {
    std::string searchHost;
    std::string forumHost;
    // Called once the window is shown, for tools that drive the program.
    std::function<void(Shell&)> onShown;
    // Say on standard error every argument that neither the program nor Qt takes.
    bool reportArguments = false;
};

// The whole program: the window, its startup sequence, the event loop. Returns the exit code.
int runProgram(int& argc, char** argv, const ProgramOptions& options);

// Ends the process at once, without running the destructors of static objects that search
// workers still blocked on the network might be using.
[[noreturn]] void endProcess(int exitCode);

} // namespace shareseek
