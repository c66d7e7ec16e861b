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

// Closing the window while 22 workers wait on a stalled engine ends the process at once and
// cleanly: exit code 0, within 2 seconds, no sanitizer report.
TEST(ProgramExit, ClosingDuringASearchEndsTheProcessPromptly) {
    int output[2];
    ASSERT_EQ(pipe2(output, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_adddup2(&actions, output[1], 2);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char* const args[] = {const_cast<char*>(SHARESEEK_EXIT_PROBE), nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, SHARESEEK_EXIT_PROBE, &actions, nullptr, args, environ), 0);
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
    ASSERT_TRUE(ended) << "the program did not end:\n" << printed;
    ASSERT_NE(closed, std::chrono::steady_clock::time_point{}) << printed;
    EXPECT_LT(std::chrono::steady_clock::now() - closed, 2s);
    EXPECT_TRUE(WIFEXITED(status)) << printed;
    EXPECT_EQ(WEXITSTATUS(status), 0) << printed;
    EXPECT_NE(printed.find("closing with 22 workers"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("Sanitizer"), std::string::npos) << printed;
}

} // namespace
