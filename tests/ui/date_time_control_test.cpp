// The date and time pickers.

#include "support/QtPrinters.h"
#include "support/ScriptedServices.h"
#include "ui/controls/DateTimeControl.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextCharFormat>

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(DateTimeControl, DateKindDropsDownAMonthCalendar) {
    test::ScriptedServices services;
    DateTimeControl control(DateTimeControl::Kind::Date);
    ASSERT_NE(control.monthCalendar(), nullptr);
    // Starts on the clock's date, which the calendar marks.
    EXPECT_EQ(control.date(), QDate(2008, 8, 27));
    EXPECT_EQ(control.monthCalendar()->dateTextFormat(QDate(2008, 8, 27)).fontWeight(), QFont::Bold);
}

TEST(DateTimeControl, TimeKindStepsWithoutACalendar) {
    test::ScriptedServices services;
    DateTimeControl control(DateTimeControl::Kind::Time);
    EXPECT_EQ(control.monthCalendar(), nullptr);
    EXPECT_EQ(control.time(), QTime(12, 0, 0));

    QSignalSpy changes(&control, &DateTimeControl::changed);
    control.setCurrentSection(QDateTimeEdit::MinuteSection);
    control.stepBy(1);
    EXPECT_EQ(control.time(), QTime(12, 1, 0));
    EXPECT_EQ(changes.count(), 1);
}

TEST(DateTimeControl, OnlyTheUsersChangesAreReported) {
    DateTimeControl control;
    QSignalSpy changes(&control, &DateTimeControl::changed);
    control.setValue(QDate(2008, 8, 27), QTime(23, 0, 0));
    EXPECT_EQ(changes.count(), 0);

    control.setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(&control, Qt::Key_Up);
    EXPECT_EQ(control.date(), QDate(2008, 8, 28));
    EXPECT_EQ(changes.count(), 1);
}

TEST(DateTimeControl, PickingADayInTheCalendarSetsTheDate) {
    DateTimeControl control;
    control.setValue(QDate(2008, 8, 27), QTime(0, 0, 0));
    QSignalSpy changes(&control, &DateTimeControl::changed);
    control.monthCalendar()->setSelectedDate(QDate(2008, 9, 3));
    Q_EMIT control.monthCalendar()->clicked(QDate(2008, 9, 3));
    EXPECT_EQ(control.date(), QDate(2008, 9, 3));
    EXPECT_GE(changes.count(), 1);
}

TEST(DateTimeControl, FieldsAreKeptWithoutTimeZoneAndClampedToHostSeconds) {
    DateTimeControl control;
    // 02:30 on a spring daylight-saving day exists in every civil calendar here.
    control.setValue(QDate(2021, 3, 28), QTime(2, 30, 0));
    EXPECT_EQ(control.date(), QDate(2021, 3, 28));
    EXPECT_EQ(control.time(), QTime(2, 30, 0));
    control.setValue(QDateTime(QDate(2008, 3, 30), QTime(2, 15, 0)));
    EXPECT_EQ(control.time(), QTime(2, 15, 0));

    control.setValue(QDate(1960, 1, 1), QTime(8, 0, 0));
    EXPECT_EQ(control.date(), QDate(1970, 1, 1));
    control.setValue(QDate(2200, 1, 1), QTime(8, 0, 0));
    EXPECT_EQ(control.date(), QDate(2106, 2, 7));
    control.setValue(QDate(), QTime());
    EXPECT_EQ(control.date(), QDate(1970, 1, 1));
    EXPECT_EQ(control.time(), QTime(0, 0, 0));
}

}  // namespace
}  // namespace orv
