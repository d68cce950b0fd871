#include "platform/Clock.h"

#include <QTime>

namespace orv {

QDateTime SystemClock::Now() const {
    // Whole seconds: every time the module stores is whole-second arithmetic.
    const QDateTime current = QDateTime::currentDateTime();
    const QTime time = current.time();
    return QDateTime(current.date(), QTime(time.hour(), time.minute(), time.second()));
}

}  // namespace orv
