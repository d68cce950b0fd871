#pragma once
// One print job at a time across every process that loads the module: a
// named system semaphore with a count of 1.
//
// QSystemSemaphore can only wait without a limit, so the wait runs on a
// helper thread and the caller gives up after a short time. An abandoned
// wait that gets the semaphore later hands it straight back.

#include <QString>

#include <chrono>
#include <memory>

namespace orv {

class PrintGuard {
public:
    static constexpr const char* kDefaultKey = "PrintHtmlSema";

    explicit PrintGuard(const QString& key = QString::fromLatin1(kDefaultKey));
    ~PrintGuard();
    PrintGuard(const PrintGuard&) = delete;
    PrintGuard& operator=(const PrintGuard&) = delete;

    // True when the semaphore was obtained within `wait`; the caller then
    // owes one Release().
    bool TryAcquire(std::chrono::milliseconds wait);
    void Release();

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace orv
