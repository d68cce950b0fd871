#include "report/PrintGuard.h"

#include <QSystemSemaphore>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace orv {

struct PrintGuard::State {
    explicit State(const QString& key) : semaphore(key, 1, QSystemSemaphore::Open) {}

    QSystemSemaphore semaphore;
    std::mutex mutex;
    std::condition_variable changed;
    bool waiting = false;    // a helper thread is inside acquire()
    bool acquired = false;   // the helper got it for the current caller
    bool abandoned = false;  // the caller stopped waiting
};

PrintGuard::PrintGuard(const QString& key) : state_(std::make_shared<State>(key)) {}

PrintGuard::~PrintGuard() = default;

bool PrintGuard::TryAcquire(std::chrono::milliseconds wait) {
    std::unique_lock lock(state_->mutex);
    // An earlier wait is still blocked: someone else holds the job.
    if (state_->waiting) return false;
    state_->waiting = true;
    state_->acquired = false;
    state_->abandoned = false;
    std::thread([state = state_] {
        const bool ok = state->semaphore.acquire();
        std::lock_guard guard(state->mutex);
        state->waiting = false;
        if (ok && state->abandoned) {
            state->semaphore.release();
        } else {
            state->acquired = ok;
        }
        state->changed.notify_all();
    }).detach();
    state_->changed.wait_for(lock, wait, [this] { return !state_->waiting; });
    if (state_->waiting) {
        state_->abandoned = true;
        return false;
    }
    return state_->acquired;
}

void PrintGuard::Release() {
    std::lock_guard lock(state_->mutex);
    if (!state_->acquired) return;
    state_->acquired = false;
    state_->semaphore.release();
}

}  // namespace orv
