// The value dialog on its own, over the starter structure: what it offers,
// how units convert the amount, the amount field's reading, writing and
// limits, and what OK hands back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
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
        return dialog;
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

TEST_F(ValueEntryDialogTest, OnlyARewrittenFieldLosesDigits) {
    const auto direct = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(direct->amountEdit(), "1234.56");
    EXPECT_EQ(direct->amountEdit()->text(), "1234.56");
    direct->accept();
    EXPECT_EQ(direct->value().value, 1234.56f);

    const auto left = Open(ValueEntryDialog::Mode::Add);
    test::typeText(left->amountEdit(), "1234.56");
    EXPECT_EQ(left->amountEdit()->text(), "1235");
    left->accept();
    EXPECT_EQ(left->value().value, 1235.0f);
}

TEST_F(ValueEntryDialogTest, BadAmountTextBeepsAndKeepsTheLastAmount) {
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(dialog->amountEdit(), "7");
    const int before = services_.prompter.beeps();
    QTest::keyClicks(dialog->amountEdit(), "x");
    EXPECT_EQ(services_.prompter.beeps(), before + 1);
    EXPECT_EQ(dialog->displayedAmount(), 7.0f);
    EXPECT_EQ(Row(dialog->targetList(), 0).at(1), "7.00");
    // OK still closes, with the last amount that was a number.
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->value().value, 7.0f);
    EXPECT_EQ(services_.prompter.beeps(), before + 2);
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
