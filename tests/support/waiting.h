#pragma once

#include "search/search_session.h"

#include <chrono>
#include <thread>

// Waiting in tests and benchmarks: every wait has a deadline, and says whether it was met.
namespace shareseek::testing {

// Polls `done` until it holds or `timeout` passes; true when it held.
template <class Condition>
bool waitUntil(Condition done, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Until every worker of the session has ended.
inline bool waitForWorkers(const SearchSession& session,
                           std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    return waitUntil([&] { return session.runningWorkers.load() == 0; }, timeout);
}

// Until the worker of outcome entry `entry` of the latest search holds the result lock: it
// has appended its first page (it counts its pages under the lock).
inline bool waitForLockHolder(const SearchSession& session, std::size_t entry,
                              std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    return waitUntil([&] { return session.outcomes()->at(entry).pages >= 1; }, timeout);
}

} // namespace shareseek::testing
