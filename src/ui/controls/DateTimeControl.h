#pragma once
// Date and time pickers. The date kind drops down a month calendar; the time
// kind steps its sections with up-down arrows.
//
// The control edits civil date and time fields with no time zone: inside it
// works in UTC so that no daylight-saving gap can shift or refuse a time.
// Read it with date() and time(); set it with setValue(). changed() reports
// the user's changes only, never a setValue, so a page that sets the control
// in answer to another page does not echo the change back.

#include <QCalendarWidget>
#include <QDateTimeEdit>

namespace orv {

// The drop-down month calendar: weeks from Sunday, no week numbers, today
// (from the current Clock) in bold.
class MonthCalendar : public QCalendarWidget {
    Q_OBJECT

public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    // Marks the clock's current date again (e.g. after the clock changed).
    void markToday();

private:
    QDate markedToday_;
};

class DateTimeControl : public QDateTimeEdit {
    Q_OBJECT

public:
    enum class Kind { Date, Time };

    // Dates show "yyyy-MM-dd" and times "HH:mm:ss" until setFormat.
    explicit DateTimeControl(Kind kind = Kind::Date, QWidget* parent = nullptr);

    // The span of host seconds (unsigned 32-bit seconds from 1970-01-01
    // 00:00:00): 1970-01-01 00:00:00 to 2106-02-07 06:28:15.
    static QDateTime earliest();
    static QDateTime latest();

    Kind kind() const { return kind_; }
    void setFormat(const QString& format) { setDisplayFormat(format); }

    // Takes the date and time fields as they are (no time-zone conversion).
    // A date control clamps to 1970-01-01 .. 2106-02-07 06:28:15, the span of
    // host seconds; a time control keeps only the time. Invalid fields read
    // as 1970-01-01 and 00:00:00.
    void setValue(const QDate& date, const QTime& time);
    void setValue(const QDateTime& value) { setValue(value.date(), value.time()); }

    // The drop-down calendar of a date control; null for a time control.
    MonthCalendar* monthCalendar() const { return calendar_; }

Q_SIGNALS:
    void changed();

private:
    Kind kind_;
    MonthCalendar* calendar_ = nullptr;
    bool settingValue_ = false;
};

}  // namespace orv
