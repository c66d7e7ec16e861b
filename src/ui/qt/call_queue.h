#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace shareseek {

// Control operations handed to the window's thread and carried out there in the order they
// were handed over, under a standard mutex that every thread-checking tool sees. One that only
// changes the window is queued and the caller goes on; one that reads waits until it, and so
// everything handed over before it, is done. The window's thread never waits for anyone.
class CallQueue {
public:
    // `wake` asks the window's thread to call runPending soon; it is called without the lock.
    explicit CallQueue(std::function<void()> wake, std::size_t maxPending = 20'000)
        : wake_(std::move(wake)), maxPending_(maxPending) {}

    // Queues `work`; `underLock` runs first, under the queue's lock, so that state kept beside
    // the queue (rows counted ahead) changes in the same order as the work. A caller that is
    // not the window's thread waits only while too much is pending. Nothing once abandoned.
    void post(std::function<void()> work, const std::function<void()>& underLock = {},
              bool fromWindowThread = false);
    // Queues `work` and waits until it is done or the queue abandoned. Not on the window's
    // thread (it would wait for itself): there, use post and runAll.
    void postAndWait(std::function<void()> work);

    // On the window's thread: carries out what is pending, one call at a time (a call that
    // runs an event loop of its own may carry out the next ones), for at most `budget`.
    // True when some are left.
    bool runPending(std::chrono::milliseconds budget);
    // On the window's thread: everything pending, whatever it takes.
    void runAll();

    // The window is ending: what is pending is dropped, every waiting caller let go, and
    // nothing is queued any more.
    void abandon();
    bool abandoned() const;
    std::size_t pending() const;

    // The queue's lock, for state kept beside it (see post).
    std::mutex& mutex() { return mutex_; }

private:
    struct Call {
        std::function<void()> work;
        bool* done = nullptr; // set when carried out, for a caller that waits
    };
    bool runOne();
    void enqueue(Call call, std::unique_lock<std::mutex>& lock);

    std::function<void()> wake_;
    std::size_t maxPending_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Call> calls_;
    bool wakeAsked_ = false;
    bool abandoned_ = false;
};

} // namespace shareseek
