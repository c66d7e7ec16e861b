#include "cli_process.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace shareseek::testing {
namespace {

// Reads `fd` to its end (or until the deadline).
std::string readAll(int fd, std::chrono::steady_clock::time_point deadline, bool stopEarly) {
    std::string out;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0)
            continue;
        char chunk[65536];
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            break;
        out.append(chunk, static_cast<std::size_t>(n));
        if (stopEarly)
            break;
    }
    return out;
}

} // namespace

CliRun runCli(const std::vector<std::string>& arguments, CliOutput output) {
    CliRun run;
    int outPipe[2] = {-1, -1}, errPipe[2];
    int childOut = -1;
    if (pipe2(errPipe, O_CLOEXEC) != 0)
        return run;
    if (output == CliOutput::terminal) {
        const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return run;
        childOut = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        outPipe[0] = master;
    } else {
        if (pipe2(outPipe, O_CLOEXEC) != 0)
            return run;
        childOut = outPipe[1];
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childOut, 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    std::vector<char*> argv{const_cast<char*>(SHARESEEK_CLI)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, SHARESEEK_CLI, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(childOut);
    close(errPipe[1]);
    if (spawned != 0)
        return run;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::thread errors([&] { run.err = readAll(errPipe[0], deadline, false); });
    run.out = readAll(outPipe[0], deadline, output == CliOutput::closedEarly);
    if (output == CliOutput::closedEarly)
        close(outPipe[0]); // the reader goes away, as "| head" does
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            errors.join();
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    errors.join();
    if (output != CliOutput::closedEarly)
        close(outPipe[0]);
    close(errPipe[0]);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

} // namespace shareseek::testing
