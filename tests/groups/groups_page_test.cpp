// The Groups/Items page in the running main window on a real SQLite host
// database with the starter structure, driven through its buttons, tree and
// grid and the scripted dialogs. What the page wrote is checked on a cache
// freshly loaded from the database.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <functional>
#include <string>

#include "data/ModifiedFlag.h"
#include "data/RecordChanges.h"
#include "host/db/StarterData.h"
#include "support/WidgetDriver.h"
#include "ui/controls/Grid.h"
#include "ui/controls/PropertyList.h"
#include "ui/groups/GroupDialog.h"
#include "ui/groups/GroupsPage.h"
#include "ui/groups/ItemDialog.h"
#include "ui/targets/SelectTargetDialog.h"
#include "values/ValuesFixture.h"

namespace orv::test {
namespace {

using namespace hostdb::starter;
const QString kItemName = QStringLiteral("Item Name");
const QString kCascade = QStringLiteral(
    "If this group is removed, all the\ncorresponding items and values\nwill be removed too.\nProceed anyway?");

class GroupsPageTest : public ValuesFixture {
protected:
    GroupsPage& Page() {
        OpenMainWindow().SelectTab(Tab::Groups);
        return *static_cast<GroupsPage*>(window_->PageAt(Tab::Groups));
    }
    void SelectGroup(int32_t id) { ASSERT_TRUE(Page().SelectGroupNode(id)); }
    void SelectItem(const QString& name) {
        Grid& grid = *Page().itemsGrid();
        for (int row = 0; row < grid.rowCount(); ++row) {
            if (grid.cell(row, kItemName) == name) {
                ASSERT_TRUE(grid.selectRow(row));
                return;
            }
        }
        FAIL() << "no item " << name.toStdString();
    }
    QStringList ShownItems() {
        QStringList names;
        for (int row = 0; row < Page().itemsGrid()->rowCount(); ++row)
            names << Page().itemsGrid()->cell(row, kItemName);
        return names;
    }

    RecordCache Stored() {
        RecordCache fresh;
        fresh.LoadAll(&db());
        return fresh;
    }
    const GroupRecord* StoredGroup(const RecordCache& stored, const std::string& name) {
        for (const auto& [id, group] : stored.Groups()) {
            if (group.name == name) return &group;
        }
        return nullptr;
    }

    // Queues a group dialog; `edit` fills it, then OK is pressed.
    void AnswerGroup(std::function<void(GroupDialog&)> edit) {
        services_.dialogs.expect<GroupDialog>([edit](GroupDialog& dialog) {
            edit(dialog);
            clickButton(&dialog, QStringLiteral("OK"));
            if (dialog.isVisible()) dialog.reject();
        });
    }

    // "Add Target", answered in the "Select target" dialog with the target
    // of that name.
    void AddTargetNamed(GroupDialog& dialog, const QString& name) {
        services_.dialogs.expect<SelectTargetDialog>([name](SelectTargetDialog& select) {
            const QList<QListWidgetItem*> found = select.list()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            select.list()->setCurrentItem(found.front());
            clickButton(&select, QStringLiteral("OK"));
        });
        ASSERT_TRUE(clickButton(&dialog, QStringLiteral("Add Target")));
    }
};

TEST_F(GroupsPageTest, AddedGroupAndItemAreStored) {
    GroupsPage& page = Page();
    ClearModifiedFlag();
    AnswerGroup([this](GroupDialog& dialog) {
        typeText(dialog.nameEdit(), QStringLiteral("Snacks"));
        AddTargetNamed(dialog, QStringLiteral("Protein"));
        AddTargetNamed(dialog, QStringLiteral("Carbohydrates"));
    });
    ASSERT_TRUE(clickButton(&page, QStringLiteral("New Group")));
    EXPECT_NE(ModifiedFlag(), 0);

    RecordCache stored = Stored();
    const GroupRecord* group = StoredGroup(stored, "Snacks");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->targets, (std::vector<int32_t>{kProteinTarget, kCarbohydratesTarget}));
    EXPECT_EQ(group->count, 2);
    EXPECT_EQ(group->unitId, cache().UnitNames().IdAt(0));

    SelectGroup(group->id);
    services_.dialogs.expect<ItemDialog>([](ItemDialog& dialog) {
        typeText(dialog.nameEdit(), QStringLiteral("Nuts"));
        typeText(dialog.defaultEdit(), QStringLiteral("30"));
        dialog.amounts()->setCellText(0, 1, QStringLiteral("0.2"));
        dialog.amounts()->setCellText(1, 1, QStringLiteral("0.15"));
        clickButton(&dialog, QStringLiteral("OK"));
    });
    ASSERT_TRUE(clickButton(&page, QStringLiteral("New Item")));

    stored = Stored();
    const auto [first, last] = stored.ItemsByGroup().equal_range(StoredGroup(stored, "Snacks")->id);
    ASSERT_EQ(std::distance(first, last), 1);
    const ItemRecord& item = *stored.FindItem(first->second);
    EXPECT_EQ(item.name, "Nuts");
    EXPECT_FLOAT_EQ(item.defaultValue, 30.0f);
    ASSERT_GE(item.values.size(), 2u);
    EXPECT_FLOAT_EQ(item.values[0], 0.2f);
    EXPECT_FLOAT_EQ(item.values[1], 0.15f);
}

TEST_F(GroupsPageTest, NewItemWithoutAGroupIsRefused) {
    ASSERT_TRUE(clickButton(&Page(), QStringLiteral("New Item")));
    EXPECT_EQ(services_.prompter.last().text(), "Please select the group before adding the item!");
    EXPECT_TRUE(services_.dialogs.dialogs().empty());
}

TEST_F(GroupsPageTest, GroupWithoutTargetIsRefusedAndNothingIsStored) {
    GroupsPage& page = Page();
    ClearModifiedFlag();
    const std::size_t groups = Stored().Groups().size();
    services_.dialogs.expect<GroupDialog>([&](GroupDialog& dialog) {
        clickButton(&dialog, QStringLiteral("OK"));
        EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("The group must have at least one target"));
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
    });
    ASSERT_TRUE(clickButton(&page, QStringLiteral("New Group")));
    EXPECT_EQ(Stored().Groups().size(), groups);
    EXPECT_EQ(ModifiedFlag(), 0);
}

TEST_F(GroupsPageTest, ItemWithValuesIsNeverRemoved) {
    SeedValue(kBloodGlucoseGroup, kFasting, 5.2, 1'000'000);
    GroupsPage& page = Page();
    ClearModifiedFlag();
    SelectGroup(kBloodGlucoseGroup);
    SelectItem(QStringLiteral("Fasting"));
    ASSERT_TRUE(clickButton(&page, QStringLiteral("Remove Item")));

    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(
        services_.prompter.last().text(),
        QStringLiteral("This item cannot be deleted, as the database contains\nthe values referencing this item"));
    const RecordCache stored = Stored();
    EXPECT_NE(stored.FindItem(kFasting), nullptr);
    EXPECT_EQ(stored.Values().size(), 1u);
    EXPECT_EQ(ModifiedFlag(), 0);

    // An item without values goes after one Yes.
    SelectItem(QStringLiteral("Bedtime"));
    services_.prompter.answerYes();
    ASSERT_TRUE(clickButton(&page, QStringLiteral("Remove Item")));
    EXPECT_EQ(Stored().FindItem(kBedtime), nullptr);
    EXPECT_FALSE(ShownItems().contains(QStringLiteral("Bedtime")));
}

TEST_F(GroupsPageTest, RemovingAGroupTakesItsItemsAndValuesOnlyAfterTwoYes) {
    const int32_t kept = SeedValue(kBloodGlucoseGroup, kFasting, 5.2, 1'000'000);
    SeedValue(kInsulinGroup, kRapidInsulin, 4, 1'000'100);
    SeedValue(kInsulinGroup, kRapidInsulin, 6, 1'000'200);
    SeedValue(kInsulinGroup, kLongInsulin, 20, 1'000'300);
    const RecordCache before = Stored();
    GroupsPage& page = Page();

    SelectGroup(kInsulinGroup);
    services_.prompter.answerYes();
    services_.prompter.answerNo();
    ASSERT_TRUE(clickButton(&page, QStringLiteral("Remove Group")));
    EXPECT_EQ(services_.prompter.last().text(), kCascade);
    RecordCache stored = Stored();
    EXPECT_EQ(stored.Groups().size(), before.Groups().size());
    EXPECT_EQ(stored.Items().size(), before.Items().size());
    EXPECT_EQ(stored.Values().size(), before.Values().size());

    SelectGroup(kInsulinGroup);
    services_.prompter.answerYes();
    services_.prompter.answerYes();
    ASSERT_TRUE(clickButton(&page, QStringLiteral("Remove Group")));
    stored = Stored();
    EXPECT_EQ(stored.FindGroup(kInsulinGroup), nullptr);
    EXPECT_EQ(stored.ItemsByGroup().count(kInsulinGroup), 0u);
    EXPECT_EQ(stored.Items().size(), before.Items().size() - 2);
    ASSERT_EQ(stored.Values().size(), 1u);
    EXPECT_NE(stored.FindValue(kept), nullptr);
    EXPECT_EQ(page.groupTree()->topLevelItemCount(), 2);
    EXPECT_TRUE(ShownItems().isEmpty());
}

TEST_F(GroupsPageTest, EditedTargetListCarriesItemAmounts) {
    GroupsPage& page = Page();
    const ItemRecord bread = *Stored().FindItem(kFirstFood);
    SelectGroup(kFoodGroup);
    // Carbohydrates, Fat, Protein, Energy -> Fat, Protein, Energy, Insulin.
    AnswerGroup([this](GroupDialog& dialog) {
        dialog.targetList()->setCurrentRow(0);
        services_.prompter.answerYes();
        clickButton(&dialog, QStringLiteral("Delete Target"));
        AddTargetNamed(dialog, QStringLiteral("Insulin"));
    });
    ASSERT_TRUE(clickButton(&page, QStringLiteral("Edit Group")));

    const RecordCache stored = Stored();
    EXPECT_EQ(stored.FindGroup(kFoodGroup)->targets,
              (std::vector<int32_t>{kFatTarget, kProteinTarget, kEnergyTarget, kInsulinTarget}));
    const ItemRecord& item = *stored.FindItem(kFirstFood);
    ASSERT_EQ(item.count, 4);
    EXPECT_FLOAT_EQ(item.values[0], bread.values[1]);
    EXPECT_FLOAT_EQ(item.values[1], bread.values[2]);
    EXPECT_FLOAT_EQ(item.values[2], bread.values[3]);
    EXPECT_FLOAT_EQ(item.values[3], 1.0f);
}

TEST_F(GroupsPageTest, NewUnitOfTheFamilyRescalesAmountsAndValues) {
    const int32_t value = SeedValue(kFoodGroup, kFirstFood, 150, 1'000'000);
    const ItemRecord bread = *Stored().FindItem(kFirstFood);
    GroupsPage& page = Page();
    SelectGroup(kFoodGroup);
    AnswerGroup([](GroupDialog& dialog) {
        EXPECT_FALSE(chooseComboText(dialog.unitBox(), QStringLiteral("mL")));
        EXPECT_TRUE(chooseComboText(dialog.unitBox(), QStringLiteral("kg")));
    });
    ASSERT_TRUE(clickButton(&page, QStringLiteral("Edit Group")));

    const RecordCache stored = Stored();
    EXPECT_EQ(stored.FindGroup(kFoodGroup)->unitId, kKilogram);
    EXPECT_NEAR(stored.FindValue(value)->value, 0.15, 1e-6);
    EXPECT_NEAR(stored.FindItem(kFirstFood)->values[0], bread.values[0] * 1000.0f, 1e-2);
}

TEST_F(GroupsPageTest, EditedItemKeepsItsGroup) {
    GroupsPage& page = Page();
    SelectGroup(kInsulinGroup);
    SelectItem(QStringLiteral("Long-acting insulin"));
    services_.dialogs.expect<ItemDialog>([](ItemDialog& dialog) {
        typeText(dialog.nameEdit(), QStringLiteral("Basal insulin"));
        typeText(dialog.defaultEdit(), QStringLiteral("18"));
        clickButton(&dialog, QStringLiteral("OK"));
    });
    ASSERT_TRUE(clickButton(&page, QStringLiteral("Edit Item")));
    const ItemRecord& item = *Stored().FindItem(kLongInsulin);
    EXPECT_EQ(item.name, "Basal insulin");
    EXPECT_EQ(item.matterId, kInsulinGroup);
    EXPECT_FLOAT_EQ(item.defaultValue, 18.0f);
}

}  // namespace
}  // namespace orv::test
