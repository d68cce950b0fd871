// The unit dialog's factor edit: what it reads, how it steps and clamps, and
// that unreadable text keeps the last good factor.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QToolButton>

#include <memory>
#include <string>

#include "data/RecordCache.h"
#include "host/db/SqliteHostDatabase.h"
#include "host/db/StarterData.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"
#include "ui/units/UnitDialog.h"

namespace orv {
namespace {

TEST(UnitFactorText, ReadsOneDecimalNumberAndShowsSixDigits) {
    EXPECT_EQ(UnitDialog::FactorText(0.001f), QStringLiteral("0.001"));
    EXPECT_EQ(UnitDialog::FactorText(1234.5678f), QStringLiteral("1234.57"));
    EXPECT_EQ(UnitDialog::ParseFactorText(QStringLiteral(" \t12.5\t ")), 12.5);
    EXPECT_EQ(UnitDialog::ParseFactorText(QStringLiteral("2.5E-1")), 0.25);
    EXPECT_EQ(UnitDialog::ParseFactorText(QStringLiteral("0.0")), 0.0);
    // Text that is not one number, and zeros not written as "0...".
    for (const char* text : {"", "abc", "1,5", "12abc", "1 2", "--1", "1e", ".", "0x10", "inf", "-0", ".0", "1e999"}) {
        EXPECT_FALSE(UnitDialog::ParseFactorText(QString::fromLatin1(text))) << '"' << text << '"';
    }
}

class UnitDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(":memory:", &error);
        ASSERT_TRUE(db_) << error;
        cache_.LoadUnitCategories(db_.get());
        cache_.LoadUnitNames(db_.get());
        cache_.LoadUnits(db_.get());
    }

    std::unique_ptr<UnitDialog> Open(float factor) {
        UnitEntry unit = *cache_.FindUnit(hostdb::starter::kKilogram);
        unit.factor = factor;
        auto dialog = std::make_unique<UnitDialog>(QStringLiteral("Edit unit"), unit, cache_, nullptr);
        dialog->show();
        return dialog;
    }

    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    RecordCache cache_;
    test::ScriptedServices services_;
};

TEST_F(UnitDialogTest, SpinnerAndWheelKeepTheFactorInRange) {
    const auto dialog = Open(0.002f);
    dialog->stepUpButton()->click();
    EXPECT_EQ(dialog->factorEdit()->text(), QStringLiteral("0.003"));
    for (int i = 0; i < 5; ++i) test::pressKey(dialog->factorEdit(), Qt::Key_Down);
    EXPECT_EQ(dialog->factorEdit()->text(), QStringLiteral("0"));
    // A factor of 0 cannot be stored: leaving the edit keeps it for OK to refuse.
    dialog->FinishFactorEdit();
    EXPECT_EQ(dialog->factorEdit()->text(), QStringLiteral("0"));
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());

    // The wheel moves by whole notches and clamps.
    dialog->WheelFactor(240);
    EXPECT_EQ(dialog->factorEdit()->text(), QStringLiteral("2"));
    dialog->WheelFactor(-1200000);
    EXPECT_EQ(dialog->factorEdit()->text(), QStringLiteral("1"));
}

TEST_F(UnitDialogTest, UnreadableFactorBeepsAndKeepsTheLastGoodOne) {
    const auto dialog = Open(25000.0f);
    EXPECT_EQ(dialog->factorEdit()->text(), QStringLiteral("9999"));  // clamped on opening
    test::typeText(dialog->factorEdit(), QStringLiteral("12x"));
    dialog->FinishFactorEdit();
    EXPECT_EQ(services_.prompter.beeps(), 1);
    EXPECT_EQ(dialog->factorEdit()->text(), QStringLiteral("9999"));

    test::typeText(dialog->factorEdit(), QStringLiteral("-0"));
    dialog->accept();
    EXPECT_EQ(services_.prompter.beeps(), 2);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->entry().factor, 9999.0f);
}

}  // namespace
}  // namespace orv
