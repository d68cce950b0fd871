#include "ui/controls/DateTimeControl.h"

#include "platform/Clock.h"
#include "platform/Services.h"

#include <QTextCharFormat>

namespace orv {

namespace {

// Host seconds are unsigned 32-bit counts from 1970-01-01 00:00:00.
const QDateTime kEarliest(QDate(1970, 1, 1), QTime(0, 0, 0), Qt::UTC);
const QDateTime kLatest(QDate(2106, 2, 7), QTime(6, 28, 15), Qt::UTC);

}  // namespace

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setGridVisible(false);
    setDateRange(kEarliest.date(), kLatest.date());
    markToday();
}

void MonthCalendar::markToday() {
    if (markedToday_.isValid()) setDateTextFormat(markedToday_, QTextCharFormat());
    markedToday_ = Services::Clock().Now().date();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    setDateTextFormat(markedToday_, bold);
}

QDateTime DateTimeControl::earliest() { return kEarliest; }
QDateTime DateTimeControl::latest() { return kLatest; }

DateTimeControl::DateTimeControl(Kind kind, QWidget* parent) : QDateTimeEdit(parent), kind_(kind) {
    setTimeSpec(Qt::UTC);
    if (kind_ == Kind::Date) {
        setDateTimeRange(kEarliest, kLatest);
        setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        setCalendarPopup(true);
        calendar_ = new MonthCalendar(this);
        setCalendarWidget(calendar_);  // the edit takes the calendar over
    } else {
        setDisplayFormat(QStringLiteral("HH:mm:ss"));
        setCalendarPopup(false);
    }
    const QDateTime now = Services::Clock().Now();
    setValue(now.date(), now.time());
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!settingValue_) Q_EMIT changed();
    });
}

void DateTimeControl::setValue(const QDate& date, const QTime& time) {
    const QTime validTime = time.isValid() ? time : QTime(0, 0, 0);
    settingValue_ = true;
    if (kind_ == Kind::Time) {
        // A display without date sections pins the date; only the time counts.
        setTime(validTime);
    } else {
        const QDateTime value(date.isValid() ? date : kEarliest.date(), validTime, Qt::UTC);
        setDateTime(qBound(kEarliest, value, kLatest));
    }
    settingValue_ = false;
}

}  // namespace orv
