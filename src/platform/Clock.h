#pragma once
// "Now" as a service: new values, report names and headings take the current
// local date and time from here, so tests and screenshots can fix it.

#include <QDateTime>

namespace orv {

class Clock {
public:
    virtual ~Clock() = default;
    // Local civil time, to the second.
    virtual QDateTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime Now() const override;
};

// A clock that always tells the time it was given.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime now) : now_(std::move(now)) {}
    QDateTime Now() const override { return now_; }
    void Set(QDateTime now) { now_ = std::move(now); }

private:
    QDateTime now_;
};

}  // namespace orv
