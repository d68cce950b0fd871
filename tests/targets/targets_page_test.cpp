// The Targets page in the running main window on a real SQLite host database
// with the starter structure (every starter target is listed by a group),
// driven through its buttons, filter box and grid. What the page wrote is
// checked on a cache freshly loaded from the database.

#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>

#include <functional>
#include <map>
#include <string>
#include <tuple>

#include "data/ModifiedFlag.h"
#include "host/db/StarterData.h"
#include "support/ModuleFixture.h"
#include "ui/targets/SelectTargetDialog.h"
#include "ui/targets/TargetDialog.h"
#include "ui/targets/TargetsPage.h"

namespace orv::test {
namespace {

using namespace hostdb::starter;
constexpr int kStarterTargets = 6;
const QString kName = QStringLiteral("Target Name");

class TargetsPageTest : public ModuleFixture {
protected:
    TargetsPage& Page() { return ShowPage<TargetsPage>(Tab::Targets); }
    Grid& TheGrid() { return *Page().Grid(); }
    QString Selected() { return TheGrid().cell(TheGrid().currentRow(), kName); }
    void Select(const QString& target) { SelectRowOf(TheGrid(), kName, target); }
    std::optional<TargetRecord> StoredTarget(const std::string& name) { return Named(Stored().Targets(), name); }

    // Queues a target dialog that is filled in and confirmed; an empty text
    // leaves that control as it was. `check` sees the dialog before OK.
    void AnswerTarget(QString name, QString unit = {}, QString type = {}, QString category = {},
                      std::function<void(TargetDialog&)> check = {}) {
        Confirm<TargetDialog>([=](TargetDialog& dialog) {
            TypeText(dialog.NameEdit(), name);
            if (!unit.isEmpty()) {
                EXPECT_TRUE(ChooseComboText(dialog.UnitBox(), unit));
            }
            if (type == "Average") dialog.AverageButton()->click();
            if (!category.isEmpty()) {
                EXPECT_TRUE(ChooseComboText(dialog.CategoryBox(), category));
            }
            if (check) check(dialog);
        });
    }

    // Every item's amount at `position` of its list, by item id.
    std::map<int32_t, float> Amounts(const RecordCache& cache, int32_t group, std::size_t position) {
        std::map<int32_t, float> amounts;
        const auto [first, last] = cache.ItemsByGroup().equal_range(group);
        for (auto it = first; it != last; ++it) amounts[it->second] = cache.FindItem(it->second)->values.at(position);
        return amounts;
    }
};

TEST_F(TargetsPageTest, NewAndEditStoreTheTargetAndOnlyACategoryChangeShowsAll) {
    NameCategories(RecordKind::Target, {"Unfiled", "Food", "Body"});
    TargetsPage& page = Page();
    AnswerTarget("", "g");
    ASSERT_TRUE(ClickButton(&page, "New"));
    EXPECT_EQ(services_.prompter.last().text(), "Target name is empty!!!");
    EXPECT_EQ(Stored().Targets().size(), std::size_t{kStarterTargets});
    EXPECT_EQ(ModifiedFlag(), 0);

    AnswerTarget("Fibre", "g", "Average", "Food", [](TargetDialog& dialog) { EXPECT_FALSE(dialog.InUse()); });
    ASSERT_TRUE(ClickButton(&page, "New"));
    EXPECT_EQ(Selected(), "Fibre");
    const std::optional<TargetRecord> stored = StoredTarget("Fibre");
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::tuple(stored->unitId, stored->type, stored->category), std::tuple(kGram, 1, 1));

    ASSERT_TRUE(ChooseComboText(page.FilterBox(), "Body"));
    EXPECT_EQ(TheGrid().rowCount(), 0);
    AnswerTarget("Sugar", {}, {}, "Food");
    ASSERT_TRUE(ClickButton(&page, "New"));
    EXPECT_EQ(TheGrid().rowCount(), 0);
    EXPECT_TRUE(StoredTarget("Sugar"));

    // Edit renames and retypes; its category change shows all.
    ASSERT_TRUE(ChooseComboText(page.FilterBox(), "Unfiled"));
    Select("Energy");
    AnswerTarget("Energy intake", {}, "Average", "Food", [](TargetDialog& dialog) {
        EXPECT_TRUE(dialog.InUse());
        ASSERT_EQ(dialog.GroupList()->topLevelItemCount(), 1);
        EXPECT_EQ(dialog.GroupList()->topLevelItem(0)->text(0), "Food");
        EXPECT_EQ(dialog.UnitBox()->currentText(), "kcal");
    });
    PressKey(TheGrid().view(), Qt::Key_Return);

    const std::optional<TargetRecord> edited = StoredTarget("Energy intake");
    ASSERT_TRUE(edited);
    EXPECT_EQ(std::tuple(edited->id, edited->type, edited->category), std::tuple(kEnergyTarget, 1, 1));
    EXPECT_EQ(page.FilterBox()->currentText(), "All");
    EXPECT_EQ(Selected(), "Energy intake");
}

TEST_F(TargetsPageTest, RemoveDeletesOnlyAnUnusedTargetAndOnlyOnYes) {
    TargetsPage& page = Page();
    AnswerTarget("apple", "mg");
    ASSERT_TRUE(ClickButton(&page, "New"));
    ClearModifiedFlag();
    services_.prompter.AnswerNo();
    ASSERT_TRUE(ClickButton(&page, "Remove"));
    EXPECT_EQ(services_.prompter.last().text(), "Remove this target?");
    EXPECT_EQ(ModifiedFlag(), 0);
    EXPECT_TRUE(StoredTarget("apple"));

    services_.prompter.AnswerYes();
    ASSERT_TRUE(ClickButton(&page, "Remove"));
    EXPECT_FALSE(StoredTarget("apple"));
    EXPECT_EQ(RowOf(TheGrid(), kName, "apple"), -1);

    // A target a group lists is not removed.
    Select("Fat");
    ClearModifiedFlag();
    services_.prompter.clear();
    ASSERT_TRUE(ClickButton(&page, "Remove"));  // no question is scripted: none may be asked
    EXPECT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().text(), "This target is referenced by at least one group!");
    EXPECT_EQ(ModifiedFlag(), 0);
    EXPECT_TRUE(StoredTarget("Fat"));
}

TEST_F(TargetsPageTest, UnitChangeOfAUsedTargetOffersTheFamilyAndRescalesItemAmounts) {
    TargetsPage& page = Page();
    const RecordCache before = Stored();
    const auto carbs = Amounts(before, kFoodGroup, 0);
    const auto fat = Amounts(before, kFoodGroup, 1);
    ASSERT_FALSE(carbs.empty());

    Select("Carbohydrates");
    AnswerTarget("Carbohydrates", "kg", {}, {}, [](TargetDialog& dialog) {
        QStringList offered;
        for (int i = 0; i < dialog.UnitBox()->count(); ++i) offered << dialog.UnitBox()->itemText(i);
        EXPECT_EQ(offered, QStringList({"g", "kg", "mg", "oz"}));
    });
    ASSERT_TRUE(ClickButton(&page, "Edit"));

    const RecordCache after = Stored();
    EXPECT_EQ(after.FindTarget(kCarbohydratesTarget)->unitId, kKilogram);
    const auto carbsInKg = Amounts(after, kFoodGroup, 0);
    for (const auto& [item, amount] : carbs) EXPECT_EQ(carbsInKg.at(item), amount / 1000.0f) << item;
    EXPECT_EQ(Amounts(after, kFoodGroup, 1), fat);

    // Back to g multiplies again; choosing the unit it already has changes nothing.
    AnswerTarget("Carbohydrates", "g");
    ASSERT_TRUE(ClickButton(&page, "Edit"));
    AnswerTarget("Carbohydrates", "g");
    ASSERT_TRUE(ClickButton(&page, "Edit"));
    const auto carbsInG = Amounts(Stored(), kFoodGroup, 0);
    for (const auto& [item, amount] : carbs) EXPECT_FLOAT_EQ(carbsInG.at(item), amount) << item;
}

TEST_F(TargetsPageTest, SelectTargetDialogATargetTheGroupHasClearsTheSelectionAndKeepsTheLastChoice) {
    Cache().LoadAll(&Db());
    SelectTargetDialog dialog(Cache(), *Cache().FindGroup(kFoodGroup), 0, nullptr);
    dialog.show();
    const auto choose = [&dialog](const QString& name) {
        dialog.List()->setCurrentItem(dialog.List()->findItems(name, Qt::MatchExactly).value(0));
    };
    choose("Fat");
    EXPECT_EQ(services_.prompter.last().text(), "This target is already in the list!");
    EXPECT_TRUE(dialog.List()->selectedItems().isEmpty());
    EXPECT_EQ(dialog.ChosenTarget(), 0);

    ASSERT_TRUE(ClickButton(&dialog, "OK"));
    EXPECT_EQ(services_.prompter.last().text(), "Please, select the target to add.");
    EXPECT_TRUE(dialog.isVisible());

    choose("Blood glucose");
    choose("Energy");
    EXPECT_EQ(dialog.ChosenTarget(), kBloodGlucoseTarget);
    ASSERT_TRUE(ClickButton(&dialog, "OK"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace orv::test
