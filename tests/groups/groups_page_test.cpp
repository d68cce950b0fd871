// The Groups/Items page in the running main window on a real SQLite host
// database with the starter structure, driven through its buttons, tree and
// grid and the scripted dialogs. What the page wrote is checked on a cache
// freshly loaded from the database.
//
// The group and item dialogs on their own, over a cache loaded from a real
// SQLite host database with the starter structure, and the carrying of item
// amounts over an edited target list.

#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <string>
#include <tuple>

#include "data/ModifiedFlag.h"
#include "data/RecordChanges.h"
#include "host/db/StarterData.h"
#include "support/ModuleFixture.h"
#include "ui/controls/PropertyList.h"
#include "ui/groups/GroupDialog.h"
#include "ui/groups/GroupsPage.h"
#include "ui/groups/ItemDialog.h"
#include "ui/targets/SelectTargetDialog.h"

namespace orv::test {
namespace {

using namespace hostdb::starter;
const QString kItemName = QStringLiteral("Item Name");
// The first n amounts (fewer if the list is shorter).
std::vector<float> First(const std::vector<float>& values, std::size_t n) {
    return {values.begin(), values.begin() + static_cast<std::ptrdiff_t>(std::min(n, values.size()))};
}

class GroupsFixture : public ModuleFixture {
protected:
    // "Add Target", answered in the "Select target" dialog with the target
    // of that name.
    void AddTargetNamed(GroupDialog& dialog, const QString& name) {
        Confirm<SelectTargetDialog>([name](SelectTargetDialog& select) {
            const QList<QListWidgetItem*> found = select.List()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            select.List()->setCurrentItem(found.front());
        });
        ASSERT_TRUE(ClickButton(&dialog, QStringLiteral("Add Target")));
    }
};

class GroupsPageTest : public GroupsFixture {
protected:
    GroupsPage& Page() { return ShowPage<GroupsPage>(Tab::Groups); }
    void SelectGroup(int32_t id) { ASSERT_TRUE(Page().SelectGroupNode(id)); }
    void SelectItem(const QString& name) { SelectRowOf(*Page().ItemsGrid(), kItemName, name); }
};

TEST_F(GroupsPageTest, AddedGroupAndItemAreStored) {
    GroupsPage& page = Page();
    Confirm<GroupDialog>([this](GroupDialog& dialog) {
        TypeText(dialog.NameEdit(), QStringLiteral("Snacks"));
        AddTargetNamed(dialog, QStringLiteral("Protein"));
        AddTargetNamed(dialog, QStringLiteral("Carbohydrates"));
    });
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("New Group")));

    RecordCache stored = Stored();
    const std::optional<GroupRecord> group = Named(stored.Groups(), "Snacks");
    ASSERT_TRUE(group);
    EXPECT_EQ(group->targets, (std::vector<int32_t>{kProteinTarget, kCarbohydratesTarget}));
    EXPECT_EQ(group->unitId, Cache().UnitNames().IdAt(0));

    SelectGroup(group->id);
    Confirm<ItemDialog>([](ItemDialog& dialog) {
        TypeText(dialog.NameEdit(), QStringLiteral("Nuts"));
        TypeText(dialog.DefaultEdit(), QStringLiteral("30"));
        dialog.Amounts()->setCellText(0, 1, QStringLiteral("0.2"));
        dialog.Amounts()->setCellText(1, 1, QStringLiteral("0.15"));
    });
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("New Item")));

    stored = Stored();
    const auto [first, last] = stored.ItemsByGroup().equal_range(group->id);
    ASSERT_EQ(std::distance(first, last), 1);
    const ItemRecord& item = *stored.FindItem(first->second);
    EXPECT_EQ(std::tuple(item.name, item.defaultValue, First(item.values, 2)),
              std::tuple("Nuts", 30.0f, std::vector<float>{0.2f, 0.15f}));

    // Enter on the item edits it; it stays in its group.
    SelectItem(QStringLiteral("Nuts"));
    Confirm<ItemDialog>([](ItemDialog& dialog) {
        TypeText(dialog.NameEdit(), QStringLiteral("Mixed nuts"));
        TypeText(dialog.DefaultEdit(), QStringLiteral("18"));
    });
    PressKey(page.ItemsGrid()->view(), Qt::Key_Return);
    const RecordCache after = Stored();
    const ItemRecord& edited = *after.FindItem(item.id);
    EXPECT_EQ(std::tuple(edited.name, edited.matterId, edited.defaultValue),
              std::tuple(std::string("Mixed nuts"), item.matterId, 18.0f));
}

TEST_F(GroupsPageTest, AGroupWithoutTargetAndAnItemWithoutGroupAreRefused) {
    GroupsPage& page = Page();
    const std::size_t groups = Stored().Groups().size();
    services_.dialogs.Expect<GroupDialog>([&](GroupDialog& dialog) {
        TypeText(dialog.NameEdit(), QStringLiteral("Snacks"));
        ClickButton(&dialog, QStringLiteral("OK"));
        EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("The group must have at least one target"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Snacks"));
        dialog.reject();
    });
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("New Group")));
    EXPECT_EQ(Stored().Groups().size(), groups);

    ASSERT_TRUE(ClickButton(&page, QStringLiteral("New Item")));
    EXPECT_EQ(services_.prompter.last().text(), "Please select the group before adding the item!");
    EXPECT_EQ(services_.dialogs.Opened(), 1u);
    EXPECT_EQ(ModifiedFlag(), 0);
}

TEST_F(GroupsPageTest, ItemWithValuesIsNeverRemoved) {
    SeedValue(kBloodGlucoseGroup, kFasting, 5.2, 1'000'000);
    GroupsPage& page = Page();
    SelectGroup(kBloodGlucoseGroup);
    SelectItem(QStringLiteral("Fasting"));
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("Remove Item")));

    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(
        services_.prompter.last().text(),
        QStringLiteral("This item cannot be deleted, as the database contains\nthe values referencing this item"));
    EXPECT_NE(Stored().FindItem(kFasting), nullptr);
    EXPECT_EQ(Stored().Values().size(), 1u);
    EXPECT_EQ(ModifiedFlag(), 0);

    // An item without values goes after one Yes.
    SelectItem(QStringLiteral("Bedtime"));
    services_.prompter.AnswerYes();
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("Remove Item")));
    EXPECT_EQ(Stored().FindItem(kBedtime), nullptr);
    EXPECT_EQ(RowOf(*page.ItemsGrid(), kItemName, QStringLiteral("Bedtime")), -1);
}

TEST_F(GroupsPageTest, RemovingAGroupTakesItsItemsAndValuesOnlyAfterTwoYes) {
    const int32_t kept = SeedValue(kBloodGlucoseGroup, kFasting, 5.2, 1'000'000);
    SeedValue(kInsulinGroup, kRapidInsulin, 4, 1'000'100);
    SeedValue(kInsulinGroup, kRapidInsulin, 6, 1'000'200);
    SeedValue(kInsulinGroup, kLongInsulin, 20, 1'000'300);
    const RecordCache before = Stored();
    GroupsPage& page = Page();

    SelectGroup(kInsulinGroup);
    services_.prompter.AnswerYes();
    services_.prompter.AnswerNo();
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("Remove Group")));
    EXPECT_EQ(
        services_.prompter.last().text(),
        "If this group is removed, all the\ncorresponding items and values\nwill be removed too.\nProceed anyway?");
    RecordCache stored = Stored();
    EXPECT_EQ(std::tuple(stored.Groups().size(), stored.Items().size(), stored.Values().size()),
              std::tuple(before.Groups().size(), before.Items().size(), before.Values().size()));

    SelectGroup(kInsulinGroup);
    services_.prompter.AnswerYes();
    services_.prompter.AnswerYes();
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("Remove Group")));
    stored = Stored();
    EXPECT_EQ(std::tuple(stored.Groups().size(), stored.Items().size(), stored.Values().size()),
              std::tuple(before.Groups().size() - 1, before.Items().size() - 2, 1u));
    EXPECT_EQ(std::tuple(stored.FindGroup(kInsulinGroup), stored.ItemsByGroup().count(kInsulinGroup)),
              std::tuple(nullptr, 0u));
    EXPECT_NE(stored.FindValue(kept), nullptr);
    EXPECT_EQ(page.GroupTree()->topLevelItemCount(), 2);
    EXPECT_EQ(page.ItemsGrid()->rowCount(), 0);
}

TEST_F(GroupsPageTest, EditedTargetListCarriesItemAmounts) {
    GroupsPage& page = Page();
    const ItemRecord bread = *Stored().FindItem(kFirstFood);
    SelectGroup(kFoodGroup);
    // Carbohydrates, Fat, Protein, Energy -> Fat, Protein, Energy, Insulin.
    Confirm<GroupDialog>([this](GroupDialog& dialog) {
        dialog.TargetList()->setCurrentRow(0);
        services_.prompter.AnswerYes();
        ClickButton(&dialog, QStringLiteral("Delete Target"));
        AddTargetNamed(dialog, QStringLiteral("Insulin"));
    });
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("Edit Group")));

    const RecordCache stored = Stored();
    EXPECT_EQ(stored.FindGroup(kFoodGroup)->targets,
              (std::vector<int32_t>{kFatTarget, kProteinTarget, kEnergyTarget, kInsulinTarget}));
    const ItemRecord& item = *stored.FindItem(kFirstFood);
    ASSERT_EQ(item.count, 4);
    EXPECT_EQ(First(item.values, 4), (std::vector<float>{bread.values[1], bread.values[2], bread.values[3], 1.0f}));
}

TEST_F(GroupsPageTest, NewUnitOfTheFamilyRescalesAmountsAndValues) {
    const int32_t value = SeedValue(kFoodGroup, kFirstFood, 150, 1'000'000);
    const ItemRecord bread = *Stored().FindItem(kFirstFood);
    GroupsPage& page = Page();
    SelectGroup(kFoodGroup);
    Confirm<GroupDialog>([](GroupDialog& dialog) {
        EXPECT_FALSE(ChooseComboText(dialog.UnitBox(), QStringLiteral("mL")));
        EXPECT_TRUE(ChooseComboText(dialog.UnitBox(), QStringLiteral("kg")));
    });
    ASSERT_TRUE(ClickButton(&page, QStringLiteral("Edit Group")));

    const RecordCache stored = Stored();
    EXPECT_EQ(stored.FindGroup(kFoodGroup)->unitId, kKilogram);
    EXPECT_NEAR(stored.FindValue(value)->value, 0.15, 1e-6);
    EXPECT_NEAR(stored.FindItem(kFirstFood)->values[0], bread.values[0] * 1000.0f, 1e-2);
}

class GroupDialogsTest : public GroupsFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        Cache().LoadAll(&Db());
    }
    GroupRecord Group(int32_t id) { return *Cache().FindGroup(id); }
    ItemRecord Item(int32_t id) { return *Cache().FindItem(id); }
};

TEST(CarryItemAmounts, KeepsAmountsOfKeptTargetsAndGivesNewOnesOne) {
    // X, Y, then A and B added, then X deleted: Y, A, B.
    EXPECT_EQ(CarryItemAmounts({2.0f, 3.0f}, 2, {1, 2, 3}, 2), (std::vector<float>{3.0f, 1.0f, 1.0f}));
    // First of three removed: the second and third move down.
    EXPECT_EQ(CarryItemAmounts({1.0f, 2.0f, 3.0f}, 3, {1, 2}, 3), (std::vector<float>{2.0f, 3.0f}));
    // An old position beyond the item's own COUNT has no amount to carry.
    EXPECT_EQ(CarryItemAmounts({5.0f}, 1, {0, 1}, 2), (std::vector<float>{5.0f, 0.0f}));
}

TEST_F(GroupDialogsTest, OnlyTargetCannotBeDeletedAndAnEmptyNameIsRefused) {
    GroupDialog insulin(QStringLiteral("Edit group"), Group(kInsulinGroup), Cache(), nullptr);
    insulin.show();
    insulin.DeleteTarget();
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("Please select the target to delete!"));
    insulin.TargetList()->setCurrentRow(0);
    insulin.DeleteTarget();
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("The group must have at least one target"));
    EXPECT_EQ(insulin.EditedTargets(), std::vector<int32_t>{kInsulinTarget});

    // The name is checked after the targets.
    TypeText(insulin.NameEdit(), QString());
    insulin.accept();
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("The group name is empty!"));
    EXPECT_EQ(insulin.result(), QDialog::Rejected);
    EXPECT_TRUE(insulin.isVisible());
}

// A target added in this dialog counts as in the list for the next pick;
// Cancel adds nothing.
TEST_F(GroupDialogsTest, ATargetJustAddedIsAlreadyInTheList) {
    GroupDialog dialog(QStringLiteral("Edit group"), Group(kFoodGroup), Cache(), nullptr);
    dialog.show();
    AddTargetNamed(dialog, QStringLiteral("Insulin"));
    services_.dialogs.Expect<SelectTargetDialog>([&](SelectTargetDialog& select) {
        select.List()->setCurrentItem(select.List()->findItems(QStringLiteral("Insulin"), Qt::MatchExactly).value(0));
        EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("This target is already in the list!"));
        select.reject();
    });
    ASSERT_TRUE(ClickButton(&dialog, QStringLiteral("Add Target")));
    EXPECT_EQ(dialog.EditedTargets(),
              (std::vector<int32_t>{kCarbohydratesTarget, kFatTarget, kProteinTarget, kEnergyTarget, kInsulinTarget}));
}

TEST_F(GroupDialogsTest, ItemTakesBackOnlyItsOwnCountOfNumberCells) {
    ItemRecord item = Item(kFirstFood);
    item.count = 2;
    ItemDialog dialog(QStringLiteral("Edit item"), item, Cache(), nullptr);
    ASSERT_EQ(dialog.Amounts()->rowCount(), 4);
    dialog.Amounts()->setCellText(0, 1, QStringLiteral("abc"));
    dialog.Amounts()->setCellText(1, 1, QStringLiteral("0.5"));
    dialog.Amounts()->setCellText(2, 1, QStringLiteral("9"));
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(First(dialog.item().values, 3), (std::vector<float>{item.values[0], 0.5f, item.values[2]}));
}

TEST_F(GroupDialogsTest, OkWithoutChangesKeepsEveryDigitAndTypedCommasRead) {
    ItemRecord item = Item(kFirstFood);
    item.defaultValue = 12345.0f;
    item.values[0] = 0.1234567f;
    item.values[1] = 1234.567f;
    ItemDialog untouched(QStringLiteral("Edit item"), item, Cache(), nullptr);
    untouched.accept();
    EXPECT_EQ(std::tuple(untouched.result(), untouched.item().defaultValue, First(untouched.item().values, 2)),
              std::tuple(QDialog::Accepted, 12345.0f, std::vector<float>{0.1234567f, 1234.567f}));

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ItemDialog typed(QStringLiteral("Edit item"), item, Cache(), nullptr);
    typed.DefaultEdit()->setText(QStringLiteral("6,2"));
    typed.Amounts()->setCellText(1, 1, QStringLiteral("0,5"));
    typed.accept();
    QLocale::setDefault(before);
    EXPECT_EQ(std::tuple(typed.result(), typed.item().defaultValue, First(typed.item().values, 2)),
              std::tuple(QDialog::Accepted, 6.2f, std::vector<float>{0.1234567f, 0.5f}));
}

TEST_F(GroupDialogsTest, DefaultValueSpinsParsesAndIsLimited) {
    ItemRecord item = Item(kFasting);
    item.defaultValue = 2.5f;
    ItemDialog dialog(QStringLiteral("Edit item"), item, Cache(), nullptr);
    dialog.StepDefault(1);
    EXPECT_EQ(dialog.DefaultEdit()->text(), QStringLiteral("2.6"));
    dialog.DefaultEdit()->setText(QStringLiteral("12.3456"));
    dialog.WheelDefault(240);
    EXPECT_EQ(dialog.DefaultEdit()->text(), QStringLiteral("14.35"));

    // Refused text beeps and keeps the last good value.
    dialog.DefaultEdit()->setText(QStringLiteral("x"));
    dialog.accept();
    EXPECT_EQ(services_.prompter.Beeps(), 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_NEAR(dialog.item().defaultValue, 14.3456, 1e-4);
}

}  // namespace
}  // namespace orv::test
