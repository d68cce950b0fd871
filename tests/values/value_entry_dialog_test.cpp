// The value dialog on its own, over the starter structure: what it offers,
// how units convert the amount, the amount field's reading, writing and
// limits, and what OK hands back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include "support/WidgetDriver.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/values/ValueEntryDialog.h"
#include "values/ValuesFixture.h"

namespace orv {
namespace {

namespace st = hostdb::starter;

class ValueEntryDialogTest : public test::ValuesFixture {
protected:
    void SetUp() override {
        ValuesFixture::SetUp();
        cache().LoadAll(&db());
    }

    std::unique_ptr<ValueEntryDialog> Open(ValueEntryDialog::Mode mode, const ValueRecord& working = {}) {
        auto dialog = std::make_unique<ValueEntryDialog>(cache(), working, mode, &host());
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        dialog->amountEdit()->setFocus();
        return dialog;
    }

    // A stored value at noon of the given day, as the Edit flow hands it over.
    static ValueRecord Stored(int32_t group, int32_t item, float amount, const HostDateTime& date) {
        ValueRecord value;
        value.id = 1;
        value.matterId = group;
        value.itemId = item;
        value.value = amount;
        value.date = date;
        value.notes = "kept";
        return value;
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

TEST(AmountTextTest, ReadsNumbersWithBlanksAroundAndRefusesEverythingElse) {
    EXPECT_EQ(ParseAmountText(" \t5.5 \t"), 5.5f);
    EXPECT_EQ(ParseAmountText("1e+06"), 1e6f);
    EXPECT_EQ(ParseAmountText("-12.25"), -12.25f);
    EXPECT_EQ(ParseAmountText("  0.000"), 0.0f);
    for (const char* bad : {"", "   ", "abc", "5x", "5 5", "5,5", "-0", ".0", "+0", "+-3", "nan", "inf", "1e999"}) {
        EXPECT_FALSE(ParseAmountText(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(AmountTextTest, WritesFourSignificantDigitsAndLimitsToBelowAMillion) {
    EXPECT_EQ(AmountText(5.5f), "5.5");
    EXPECT_EQ(AmountText(1234.56f), "1235");
    EXPECT_EQ(AmountText(12345.0f), "1.234e+04");
    EXPECT_EQ(AmountText(999999.0f), "1e+06");
    EXPECT_EQ(LimitAmount(1000000.0f), 999999.0f);
    EXPECT_EQ(LimitAmount(-1000000.0f), -999999.0f);
    EXPECT_EQ(LimitAmount(999999.5f), 999999.5f);
}

TEST_F(ValueEntryDialogTest, AddStartsWithTheFirstGroupItsFirstItemAndNow) {
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    EXPECT_EQ(dialog->groupBox()->currentText(), "Blood glucose");
    EXPECT_EQ(dialog->itemBox()->currentText(), "Fasting");
    EXPECT_EQ(dialog->amountEdit()->text(), "5.5");
    // The unit box starts on the group's unit.
    EXPECT_EQ(dialog->unitBox()->currentText(), "mmol/L");
    EXPECT_EQ(dialog->dateEdit()->date(), QDate(2008, 8, 27));
    ASSERT_EQ(dialog->targetList()->topLevelItemCount(), 1);
    EXPECT_EQ(Row(dialog->targetList(), 0), (QStringList{"Blood glucose", "5.50", "mmol/L"}));
}

TEST_F(ValueEntryDialogTest, AnotherUnitOfTheFamilyShowsTheAmountConvertedAndBack) {
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    ASSERT_TRUE(test::chooseComboText(dialog->groupBox(), "Food"));
    EXPECT_EQ(dialog->amountEdit()->text(), "60");
    const QStringList carbs = Row(dialog->targetList(), 0);
    EXPECT_EQ(carbs, (QStringList{"Carbohydrates", "29.40", "g"}));

    ASSERT_TRUE(test::chooseComboText(dialog->unitBox(), "kg"));
    EXPECT_EQ(dialog->amountEdit()->text(), "0.06");
    // The portion is the same, so what it holds is too.
    EXPECT_EQ(Row(dialog->targetList(), 0), carbs);

    ASSERT_TRUE(test::chooseComboText(dialog->unitBox(), "g"));
    EXPECT_EQ(dialog->amountEdit()->text(), "60");
    TypeOnly(dialog->amountEdit(), "100");
    EXPECT_EQ(Row(dialog->targetList(), 3), (QStringList{"Energy", "265.00", "kcal"}));
}

TEST_F(ValueEntryDialogTest, EnterTakesTheAmountAsTypedAndOnlyLeavingTheFieldRewritesIt) {
    const auto direct = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(direct->amountEdit(), "1234.56");
    QTest::keyClick(direct->amountEdit(), Qt::Key_Enter);
    ASSERT_EQ(direct->result(), QDialog::Accepted);
    EXPECT_EQ(direct->value().value, 1234.56f);

    const auto left = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(left->amountEdit(), "1234.56");
    QTest::keyClick(left->amountEdit(), Qt::Key_Tab);
    EXPECT_EQ(left->amountEdit()->text(), "1235");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    ASSERT_EQ(left->result(), QDialog::Accepted);
    EXPECT_EQ(left->value().value, 1235.0f);
}

TEST_F(ValueEntryDialogTest, TextThatIsNoNumberKeepsTheDialogOpenWithTheNotes) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(dialog->notesEdit(), "after lunch");
    TypeOnly(dialog->amountEdit(), "abc");
    QTest::keyClick(dialog->amountEdit(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->amountEdit()->selectedText(), "abc");
    EXPECT_EQ(dialog->displayedAmount(), 5.5f) << "the last amount that was a number stays";
    EXPECT_GT(services_.prompter.beeps(), 0);

    // The locale's decimal comma reads like a point.
    TypeOnly(dialog->amountEdit(), "6,2");
    QTest::keyClick(dialog->amountEdit(), Qt::Key_Enter);
    QLocale::setDefault(before);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->value().value, 6.2f);
    EXPECT_EQ(dialog->value().notes, "after lunch");
}

TEST_F(ValueEntryDialogTest, AValueWhoseGroupOrItemWasRemovedKeepsThem) {
    constexpr int32_t kGoneGroup = 900;
    constexpr int32_t kGoneItem = 901;
    const struct {
        const char* what;
        int32_t group;
    } rows[] = {{"group and item removed", kGoneGroup}, {"item removed", st::kFoodGroup}};
    for (const auto& row : rows) {
        const auto dialog =
            Open(ValueEntryDialog::Mode::Edit, Stored(row.group, kGoneItem, 42.0f, Date(2008, 8, 1, 12, 0, 0)));
        EXPECT_EQ(dialog->itemBox()->currentIndex(), -1) << row.what;
        QTest::keyClick(dialog->amountEdit(), Qt::Key_Enter);
        ASSERT_EQ(dialog->result(), QDialog::Accepted) << row.what;
        EXPECT_EQ(dialog->value().matterId, row.group) << row.what;
        EXPECT_EQ(dialog->value().itemId, kGoneItem) << row.what;
        EXPECT_EQ(dialog->value().value, 42.0f) << row.what;
    }
}

TEST_F(ValueEntryDialogTest, ATimePastTheLastSecondOfTheTimeScaleIsRefused) {
    const auto dialog =
        Open(ValueEntryDialog::Mode::Edit, Stored(st::kFoodGroup, st::kFirstFood, 60.0f, Date(2106, 2, 7, 6, 28, 16)));
    QTest::keyClick(dialog->amountEdit(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(services_.prompter.last().text(), "The time cannot be later than 06:28:15 on 02/07/2106.");

    dialog->timeEdit()->setValue(QDate(2106, 2, 7), QTime(6, 28, 15));
    QTest::keyClick(dialog->amountEdit(), Qt::Key_Enter);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(static_cast<uint32_t>(Seconds(dialog->value().date)), 4294967295u);
}

TEST_F(ValueEntryDialogTest, LongNamesAreElidedAndTheDialogFitsTheScreen) {
    const std::string longName(600, 'W');
    HostRecord* record = db().Groups()->Find(st::kFoodGroup);
    ASSERT_EQ(record->Named().SetName(longName.c_str()), 0);
    ASSERT_EQ(record->Commit(), 0);
    record = db().Items()->Find(st::kFirstFood);
    ASSERT_EQ(record->Named().SetName(longName.c_str()), 0);
    ASSERT_EQ(record->Commit(), 0);
    cache().LoadAll(&db());

    const auto dialog =
        Open(ValueEntryDialog::Mode::Edit, Stored(st::kFoodGroup, st::kFirstFood, 60.0f, Date(2008, 8, 1, 12, 0, 0)));
    EXPECT_LE(dialog->frameGeometry().width(), dialog->screen()->availableGeometry().width());
    EXPECT_EQ(dialog->groupBox()->toolTip().toStdString(), longName);
    EXPECT_EQ(dialog->itemBox()->toolTip().toStdString(), longName);
}

TEST_F(ValueEntryDialogTest, ArrowsAndWheelStepByOneEachWithItsOwnLimit) {
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    const auto wheel = [&](int notches) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(dialog->amountEdit(), &event);
    };
    dialog->spinUpButton()->click();
    EXPECT_EQ(dialog->amountEdit()->text(), "6.5");
    wheel(-2);
    EXPECT_EQ(dialog->amountEdit()->text(), "4.5");
    TypeOnly(dialog->amountEdit(), "999999.5");
    dialog->spinUpButton()->click();
    EXPECT_EQ(dialog->displayedAmount(), 1000000.0f);  // the arrows stop at a million
    wheel(1);
    EXPECT_EQ(dialog->displayedAmount(), 999999.0f);  // the wheel holds below it
}

TEST_F(ValueEntryDialogTest, WithNoGroupsOkIsRefusedAndTheDialogStaysOpen) {
    cache().Clear();
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(services_.prompter.count(), 1u);
    dialog->reject();
}

}  // namespace
}  // namespace orv
