#include "ui/qt/call_queue.h"

namespace shareseek {

void CallQueue::enqueue(Call call, std::unique_lock<std::mutex>& lock) {
    calls_.push_back(std::move(call));
    const bool askWake = !wakeAsked_;
    wakeAsked_ = true;
    if (askWake) {
        lock.unlock();
        wake_();
        lock.lock();
    }
}

void CallQueue::post(std::function<void()> work, const std::function<void()>& underLock,
                     bool fromWindowThread) {
    std::unique_lock lock(mutex_);
    // A worker far ahead of the window waits for it to catch up, so memory stays bounded.
    if (!fromWindowThread)
        changed_.wait(lock, [&] { return abandoned_ || calls_.size() < maxPending_; });
    if (abandoned_)
        return;
    if (underLock)
        underLock();
    enqueue({std::move(work), nullptr}, lock);
}

void CallQueue::postAndWait(std::function<void()> work) {
    bool done = false;
    std::unique_lock lock(mutex_);
    if (abandoned_)
        return;
    enqueue({std::move(work), &done}, lock);
    changed_.wait(lock, [&] { return done || abandoned_; });
}

bool CallQueue::runOne() {
    std::unique_lock lock(mutex_);
    if (calls_.empty()) {
        wakeAsked_ = false;
        return false;
    }
    Call call = std::move(calls_.front());
    calls_.pop_front();
    lock.unlock();
    call.work();
    lock.lock();
    if (call.done)
        *call.done = true;
    changed_.notify_all();
    return true;
}

bool CallQueue::runPending(std::chrono::milliseconds budget) {
    const auto deadline = std::chrono::steady_clock::now() + budget;
    while (runOne())
        if (std::chrono::steady_clock::now() >= deadline) {
            std::lock_guard lock(mutex_);
            return !calls_.empty();
        }
    return false;
}

void CallQueue::runAll() {
    while (runOne()) {
    }
}

void CallQueue::abandon() {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    calls_.clear();
    changed_.notify_all();
}

bool CallQueue::abandoned() const {
    std::lock_guard lock(mutex_);
    return abandoned_;
}

std::size_t CallQueue::pending() const {
    std::lock_guard lock(mutex_);
    return calls_.size();
}

} // namespace shareseek
