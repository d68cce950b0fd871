// The value dialog on its own, over the starter structure: how units convert
// the amount, the amount field's reading, writing and limits, and what OK
// hands back.
// The grid's cell texts written without strings match the shared formatting.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "host/db/StarterData.h"
#include "support/Dates.h"
#include "support/ModuleFixture.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/values/CellText.h"
#include "ui/values/ValueEntryDialog.h"
#include "util/DateText.h"
#include "util/NumberFormat.h"

namespace orv {
namespace {

namespace st = hostdb::starter;
using test::MakeDate;

class ValueEntryDialogTest : public test::ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        Cache().LoadAll(&Db());
    }

    std::unique_ptr<ValueEntryDialog> Open(ValueEntryDialog::Mode mode, const ValueRecord& working = {}) {
        auto dialog = std::make_unique<ValueEntryDialog>(Cache(), working, mode, &Host());
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        dialog->AmountEdit()->setFocus();
        return dialog;
    }

    // A stored value as the Edit flow hands it over.
    std::unique_ptr<ValueEntryDialog> Edit(int32_t group, int32_t item, float amount, const HostDateTime& date) {
        ValueRecord value;
        value.id = 1;
        value.matterId = group;
        value.itemId = item;
        value.value = amount;
        value.date = date;
        return Open(ValueEntryDialog::Mode::Edit, value);
    }

    static QStringList Row(const QTreeWidget* list, int row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList{};
    }

    // Types text without leaving the field, as a user still in it would.
    static void TypeOnly(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(ValueEntryDialogTest, AnotherUnitOfTheFamilyShowsTheAmountConvertedAndBack) {
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    EXPECT_EQ(Row(dialog->TargetList(), 0), (QStringList{"Blood glucose", "5.50", "mmol/L"}));
    ASSERT_TRUE(test::ChooseComboText(dialog->GroupBox(), "Food"));
    EXPECT_EQ(dialog->AmountEdit()->text(), "60");
    const QStringList carbs{"Carbohydrates", "29.40", "g"};
    EXPECT_EQ(Row(dialog->TargetList(), 0), carbs);

    ASSERT_TRUE(test::ChooseComboText(dialog->UnitBox(), "kg"));
    EXPECT_EQ(dialog->AmountEdit()->text(), "0.06");
    EXPECT_EQ(Row(dialog->TargetList(), 0), carbs) << "the same portion holds the same";
    ASSERT_TRUE(test::ChooseComboText(dialog->UnitBox(), "g"));
    EXPECT_EQ(dialog->AmountEdit()->text(), "60");
    TypeOnly(dialog->AmountEdit(), "100");
    EXPECT_EQ(Row(dialog->TargetList(), 3), (QStringList{"Energy", "265.00", "kcal"}));
}

TEST_F(ValueEntryDialogTest, EnterTakesTheAmountAsTypedAndOnlyLeavingTheFieldRewritesIt) {
    const auto direct = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(direct->AmountEdit(), "1234.56");
    QTest::keyClick(direct->AmountEdit(), Qt::Key_Enter);
    ASSERT_EQ(direct->result(), QDialog::Accepted);
    EXPECT_EQ(direct->value().value, 1234.56f);

    const auto left = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(left->AmountEdit(), "1234.56");
    QTest::keyClick(left->AmountEdit(), Qt::Key_Tab);
    EXPECT_EQ(left->AmountEdit()->text(), "1235");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    ASSERT_EQ(left->result(), QDialog::Accepted);
    EXPECT_EQ(left->value().value, 1235.0f);
}

TEST_F(ValueEntryDialogTest, TextThatIsNoNumberKeepsTheDialogOpenWithTheNotes) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(dialog->NotesEdit(), "after lunch");
    TypeOnly(dialog->AmountEdit(), "abc");
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->AmountEdit()->selectedText(), "abc");
    EXPECT_EQ(dialog->DisplayedAmount(), 5.5f) << "the last amount that was a number stays";
    EXPECT_GT(services_.prompter.Beeps(), 0);

    // The locale's decimal comma reads like a point.
    TypeOnly(dialog->AmountEdit(), "6,2");
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    QLocale::setDefault(before);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->value().value, 6.2f);
    EXPECT_EQ(dialog->value().notes, "after lunch");
}

TEST_F(ValueEntryDialogTest, AValueWhoseGroupOrItemWasRemovedKeepsThem) {
    constexpr int32_t kGoneItem = 901;
    for (const int32_t group : {900, st::kFoodGroup}) {
        SCOPED_TRACE(group == 900 ? "group and item removed" : "item removed");
        const auto dialog = Edit(group, kGoneItem, 42.0f, MakeDate(2008, 8, 1, 12));
        EXPECT_EQ(dialog->ItemBox()->currentIndex(), -1);
        QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
        ASSERT_EQ(dialog->result(), QDialog::Accepted);
        const ValueRecord& value = dialog->value();
        EXPECT_EQ(std::tuple(value.matterId, value.itemId, value.value), std::tuple(group, kGoneItem, 42.0f));
    }
}

TEST_F(ValueEntryDialogTest, ATimePastTheLastSecondOfTheTimeScaleIsRefused) {
    const auto dialog = Edit(st::kFoodGroup, st::kFirstFood, 60.0f, MakeDate(2106, 2, 7, 6, 28, 16));
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(services_.prompter.last().text(), "The time cannot be later than 06:28:15 on 02/07/2106.");

    dialog->TimeEdit()->setValue(QDate(2106, 2, 7), QTime(6, 28, 15));
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(static_cast<uint32_t>(Seconds(dialog->value().date)), 4294967295u);
}

TEST_F(ValueEntryDialogTest, LongNamesAreElidedAndTheDialogFitsTheScreen) {
    const std::string longName(600, 'W');
    for (HostRecord* record : {Db().Groups()->Find(st::kFoodGroup), Db().Items()->Find(st::kFirstFood)}) {
        ASSERT_EQ(record->Named().SetName(longName.c_str()), 0);
        ASSERT_EQ(record->Commit(), 0);
    }
    Cache().LoadAll(&Db());
    const auto dialog = Edit(st::kFoodGroup, st::kFirstFood, 60.0f, MakeDate(2008, 8, 1, 12));
    EXPECT_LE(dialog->frameGeometry().width(), dialog->screen()->availableGeometry().width());
    EXPECT_EQ(dialog->GroupBox()->toolTip().toStdString(), longName);
    EXPECT_EQ(dialog->ItemBox()->toolTip().toStdString(), longName);
}

TEST_F(ValueEntryDialogTest, WithNoGroupsOkIsRefusedAndTheDialogStaysOpen) {
    Cache().Clear();
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(services_.prompter.count(), 1u);
    dialog->reject();
}

TEST(CellText, AmountsDatesAndTimesMatchTheSharedTexts) {
    using limits = std::numeric_limits<double>;
    // Ties in decimal but not in binary, signed zeros, the extremes.
    const double amounts[] = {5.5,
                              0.000005,
                              -0.0000049,
                              2.675,
                              1e20,
                              limits::max(),
                              limits::denorm_min(),
                              limits::quiet_NaN(),
                              -limits::infinity()};
    char buffer[kCellTextCapacity];
    for (const double amount : amounts) {
        EXPECT_EQ(std::string(buffer, WriteAmountText(amount, buffer)), FixedText(amount, 5))
            << "amount " << amount << (std::signbit(amount) ? " (negative)" : "");
    }
    // Out of range fields are written as they come.
    const HostDateTime dates[] = {test::MakeDate(2008, 3, 7, 9, 5), test::MakeDate(999, 10, 10, 10, 10, 10),
                                  test::MakeDate(0, 0, 0), test::MakeDate(2024, 100, 250, 120, 300, 65535)};
    for (const HostDateTime& date : dates) {
        SCOPED_TRACE(FormatDateText(date) + " " + FormatTimeText(date));
        EXPECT_EQ(std::string(buffer, WriteDateText(date, buffer)), FormatDateText(date));
        EXPECT_EQ(std::string(buffer, WriteTimeText(date, buffer)), FormatTimeText(date));
    }
}

}  // namespace
}  // namespace orv
