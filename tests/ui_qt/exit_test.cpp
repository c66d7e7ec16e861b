#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

struct Ending {
    bool ended = false;
    int status = 0;
    std::string printed;
    std::chrono::steady_clock::duration afterClosing{};
};

// Runs the probe with `mode` and waits for its end.
Ending runProbe(const char* mode) {
    Ending result;
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_adddup2(&actions, output[1], 2);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char* const args[] = {const_cast<char*>(SHARESEEK_EXIT_PROBE), const_cast<char*>(mode),
                          nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, SHARESEEK_EXIT_PROBE, &actions, nullptr, args, environ) != 0)
        return result;
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);

    std::string printed;
    std::chrono::steady_clock::time_point closed{};
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    int status = 0;
    bool ended = false;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{output[0], POLLIN, 0};
        if (poll(&waiting, 1, 20) > 0) {
            char chunk[4096];
            const ssize_t got = read(output[0], chunk, sizeof chunk);
            if (got > 0)
                printed.append(chunk, static_cast<std::size_t>(got));
        }
        if (closed == std::chrono::steady_clock::time_point{} &&
            printed.find("closing") != std::string::npos)
            closed = std::chrono::steady_clock::now();
        ended = waitpid(child, &status, WNOHANG) == child;
    }
    if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    close(output[0]);
    result.ended = ended;
    result.status = status;
    result.printed = printed;
    if (closed != std::chrono::steady_clock::time_point{})
        result.afterClosing = std::chrono::steady_clock::now() - closed;
    return result;
}

void expectCleanPromptEnd(const Ending& e) {
    ASSERT_TRUE(e.ended) << "the program did not end:\n" << e.printed;
    ASSERT_NE(e.printed.find("closing"), std::string::npos) << e.printed;
    EXPECT_LT(e.afterClosing, 2s);
    EXPECT_TRUE(WIFEXITED(e.status)) << e.printed;
    EXPECT_EQ(WEXITSTATUS(e.status), 0) << e.printed;
    EXPECT_EQ(e.printed.find("Sanitizer"), std::string::npos) << e.printed;
}

// Closing the window while 22 workers wait on a stalled engine ends the process at once and
// cleanly: exit code 0, within 2 seconds, no sanitizer report.
TEST(ProgramExit, ClosingDuringASearchEndsTheProcessPromptly) {
    const Ending e = runProbe("--stalled-engine");
    expectCleanPromptEnd(e);
    EXPECT_NE(e.printed.find("closing with 22 workers"), std::string::npos) << e.printed;
}

// Five searches in a row, each started while the workers of the ones before still run, then
// the window closed: no crash, no use of the lock or the window after its end.
TEST(Lifecycle, FiveSearchesInARowThenClose) {
    expectCleanPromptEnd(runProbe("--five-searches"));
}

} // namespace
