// The group and item dialogs on their own, over a cache loaded from a real
// SQLite host database with the starter structure, and the carrying of item
// amounts over an edited target list.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>

#include "data/RecordChanges.h"
#include "host/db/StarterData.h"
#include "support/ModuleFixture.h"
#include "support/WidgetDriver.h"
#include "ui/controls/PropertyList.h"
#include "ui/groups/GroupDialog.h"
#include "ui/groups/GroupsPage.h"
#include "ui/groups/ItemDialog.h"
#include "ui/targets/SelectTargetDialog.h"

namespace orv::test {
namespace {

using namespace hostdb::starter;

class GroupDialogsTest : public ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        cache().LoadAll(&db());
    }
    GroupRecord Group(int32_t id) { return *cache().FindGroup(id); }
    ItemRecord Item(int32_t id) { return *cache().FindItem(id); }
};

TEST(CarryItemAmounts, KeepsAmountsOfKeptTargetsAndGivesNewOnesOne) {
    // X, Y, then A and B added, then X deleted: Y, A, B.
    EXPECT_EQ(CarryItemAmounts({2.0f, 3.0f}, 2, {1, 2, 3}, 2), (std::vector<float>{3.0f, 1.0f, 1.0f}));
    // First of three removed: the second and third move down.
    EXPECT_EQ(CarryItemAmounts({1.0f, 2.0f, 3.0f}, 3, {1, 2}, 3), (std::vector<float>{2.0f, 3.0f}));
    // An old position beyond the item's own COUNT has no amount to carry.
    EXPECT_EQ(CarryItemAmounts({5.0f}, 1, {0, 1}, 2), (std::vector<float>{5.0f, 0.0f}));
}

TEST_F(GroupDialogsTest, OnlyTargetCannotBeDeleted) {
    GroupDialog insulin(QStringLiteral("Edit group"), Group(kInsulinGroup), cache(), nullptr);
    insulin.DeleteTarget();
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("Please select the target to delete!"));
    insulin.targetList()->setCurrentRow(0);
    insulin.DeleteTarget();
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("The group must have at least one target"));
    EXPECT_EQ(insulin.EditedTargets(), std::vector<int32_t>{kInsulinTarget});
}

TEST_F(GroupDialogsTest, AddTargetPicksInTheSelectTargetDialog) {
    GroupDialog dialog(QStringLiteral("Edit group"), Group(kFoodGroup), cache(), nullptr);
    dialog.show();
    const auto choose = [](SelectTargetDialog& select, const QString& name) {
        select.list()->setCurrentItem(select.list()->findItems(name, Qt::MatchExactly).value(0));
    };
    services_.dialogs.expect<SelectTargetDialog>([&](SelectTargetDialog& select) {
        clickButton(&select, QStringLiteral("OK"));
        EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("Please, select the target to add."));
        choose(select, QStringLiteral("Fat"));
        EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("This target is already in the list!"));
        choose(select, QStringLiteral("Insulin"));
        clickButton(&select, QStringLiteral("OK"));
    });
    ASSERT_TRUE(clickButton(&dialog, QStringLiteral("Add Target")));
    EXPECT_EQ(dialog.EditedTargets(),
              (std::vector<int32_t>{kCarbohydratesTarget, kFatTarget, kProteinTarget, kEnergyTarget, kInsulinTarget}));
    ASSERT_EQ(dialog.targetList()->count(), 5);

    // The target just added counts as in the list; Cancel adds nothing.
    services_.dialogs.expect<SelectTargetDialog>([&](SelectTargetDialog& select) {
        const std::size_t before = services_.prompter.count();
        choose(select, QStringLiteral("Insulin"));
        EXPECT_EQ(services_.prompter.count(), before + 1);
        select.reject();
    });
    ASSERT_TRUE(clickButton(&dialog, QStringLiteral("Add Target")));
    EXPECT_EQ(dialog.targetList()->count(), 5);
    EXPECT_EQ(services_.dialogs.unusedHandlers(), 0u);
}

TEST_F(GroupDialogsTest, EmptyNameIsRefusedAfterTheTargetCheck) {
    GroupDialog dialog(QStringLiteral("Edit group"), Group(kInsulinGroup), cache(), nullptr);
    dialog.show();
    typeText(dialog.nameEdit(), QString());
    dialog.accept();
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("The group name is empty!"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(GroupDialogsTest, ItemTakesBackOnlyItsOwnCountOfNumberCells) {
    ItemRecord item = Item(kFirstFood);
    item.count = 2;
    ItemDialog dialog(QStringLiteral("Edit item"), item, cache(), nullptr);
    ASSERT_EQ(dialog.amounts()->rowCount(), 4);
    dialog.amounts()->setCellText(0, 1, QStringLiteral("abc"));
    dialog.amounts()->setCellText(1, 1, QStringLiteral("0.5"));
    dialog.amounts()->setCellText(2, 1, QStringLiteral("9"));
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(dialog.item().values[0], item.values[0]);
    EXPECT_FLOAT_EQ(dialog.item().values[1], 0.5f);
    EXPECT_FLOAT_EQ(dialog.item().values[2], item.values[2]);
}

TEST_F(GroupDialogsTest, OkWithoutChangesKeepsEveryDigitAndTypedCommasRead) {
    ItemRecord item = Item(kFirstFood);
    item.defaultValue = 12345.0f;
    item.values[0] = 0.1234567f;
    item.values[1] = 1234.567f;
    ItemDialog untouched(QStringLiteral("Edit item"), item, cache(), nullptr);
    untouched.accept();
    ASSERT_EQ(untouched.result(), QDialog::Accepted);
    EXPECT_EQ(untouched.item().defaultValue, 12345.0f);
    EXPECT_EQ(untouched.item().values[0], 0.1234567f);
    EXPECT_EQ(untouched.item().values[1], 1234.567f);

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ItemDialog typed(QStringLiteral("Edit item"), item, cache(), nullptr);
    typed.defaultEdit()->setText(QStringLiteral("6,2"));
    typed.amounts()->setCellText(1, 1, QStringLiteral("0,5"));
    typed.accept();
    QLocale::setDefault(before);
    ASSERT_EQ(typed.result(), QDialog::Accepted);
    EXPECT_EQ(typed.item().defaultValue, 6.2f);
    EXPECT_EQ(typed.item().values[0], 0.1234567f);
    EXPECT_EQ(typed.item().values[1], 0.5f);
}

TEST_F(GroupDialogsTest, DefaultValueSpinsParsesAndIsLimited) {
    ItemRecord item = Item(kFasting);
    item.defaultValue = 2.5f;
    ItemDialog dialog(QStringLiteral("Edit item"), item, cache(), nullptr);
    dialog.StepDefault(1);
    EXPECT_EQ(dialog.defaultEdit()->text(), QStringLiteral("2.6"));
    dialog.defaultEdit()->setText(QStringLiteral("12.3456"));
    dialog.WheelDefault(240);
    EXPECT_EQ(dialog.defaultEdit()->text(), QStringLiteral("14.35"));

    EXPECT_EQ(ItemDialog::ParseDefaultText(QStringLiteral(" \t0")), 0.0);
    EXPECT_FALSE(ItemDialog::ParseDefaultText(QStringLiteral("-0")));
    EXPECT_EQ(ItemDialog::LimitDefault(5e9), 2147483648.0);
    EXPECT_EQ(ItemDialog::LimitDefault(-1e7), -9999999.0);

    // Refused text beeps and keeps the last good value.
    dialog.defaultEdit()->setText(QStringLiteral("x"));
    dialog.accept();
    EXPECT_EQ(services_.prompter.beeps(), 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_NEAR(dialog.item().defaultValue, 14.3456, 1e-4);
}

}  // namespace
}  // namespace orv::test
