// The Units page in the running main window on a real SQLite host database
// with the starter units, driven through its buttons, filter box and grid.
// What the page wrote is checked on a cache freshly loaded from the database.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

#include <functional>
#include <optional>
#include <string>

#include "data/HostExtensions.h"
#include "data/ModifiedFlag.h"
#include "data/RecordChanges.h"
#include "host/db/StarterData.h"
#include "support/ModuleFixture.h"
#include "support/WidgetDriver.h"
#include "ui/categories/CategoriesDialog.h"
#include "ui/controls/Grid.h"
#include "ui/groups/GroupsPage.h"
#include "ui/targets/TargetsPage.h"
#include "ui/units/UnitDialog.h"
#include "ui/units/UnitsPage.h"
#include "ui/values/ValuesPage.h"

namespace orv::test {
namespace {

using namespace hostdb::starter;
constexpr int kStarterUnits = 12;
const QString kName = QStringLiteral("Unit Name");

class UnitsPageTest : public ModuleFixture {
protected:
    UnitsPage& Page() {
        OpenMainWindow().SelectTab(Tab::Units);
        return *static_cast<UnitsPage*>(window_->PageAt(Tab::Units));
    }
    Grid& TheGrid() { return *Page().grid(); }
    int RowOf(const QString& unit) {
        for (int row = 0; row < TheGrid().rowCount(); ++row) {
            if (TheGrid().cell(row, kName) == unit) return row;
        }
        return -1;
    }
    QString Selected() { return TheGrid().cell(TheGrid().currentRow(), kName); }
    void Select(const QString& unit) { ASSERT_TRUE(TheGrid().selectRow(RowOf(unit))) << unit.toStdString(); }

    // The units as a later session loads them.
    RecordCache Stored() {
        RecordCache fresh;
        fresh.LoadUnits(&db());
        return fresh;
    }
    std::optional<UnitEntry> StoredUnit(const std::string& name) {
        const RecordCache stored = Stored();
        for (const auto& [id, unit] : stored.Units()) {
            if (unit.name == name) return unit;
        }
        return std::nullopt;
    }

    // Queues a unit dialog that is filled in and confirmed; `check` sees it
    // after OK was pressed.
    void AnswerUnit(QString name, QString factor, QString base, QString category = {},
                    std::function<void(UnitDialog&)> check = {}) {
        services_.dialogs.expect<UnitDialog>([=](UnitDialog& dialog) {
            typeText(dialog.nameEdit(), name);
            typeText(dialog.factorEdit(), factor);
            EXPECT_TRUE(chooseComboText(dialog.baseUnitBox(), base));
            if (!category.isEmpty()) {
                EXPECT_TRUE(chooseComboText(dialog.categoryBox(), category));
            }
            clickButton(&dialog, QStringLiteral("OK"));
            if (check) check(dialog);
            if (dialog.isVisible()) dialog.reject();
        });
    }

    // Names unit categories 1 "Mass" and 2 "Volume" and files g, kg and mg
    // under Mass, as an earlier session would have, before the page opens.
    void PrepareCategories() {
        HostCategoryTable* table = db().UnitCategories();
        for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) {
            HostNamed& named = table->Current()->Named();
            if (named.GetIndex() == 1 || named.GetIndex() == 2) {
                ASSERT_EQ(named.SetName(named.GetIndex() == 1 ? "Mass" : "Volume"), 0);
            }
        }
        for (const int32_t id : {kGram, kKilogram, kMilligram}) {
            HostRecord* record = db().Units()->Find(id);
            ASSERT_EQ(record->SetCategory(1), 0);
            ASSERT_EQ(record->Commit(), 0);
        }
    }
};

TEST_F(UnitsPageTest, NewUnitIsStoredShownAndSelectedWithTheFilterReset) {
    PrepareCategories();
    UnitsPage& page = Page();
    ASSERT_TRUE(chooseComboText(page.filterBox(), "Volume"));
    ClearModifiedFlag();
    AnswerUnit("t", "1000", "kg", "Mass");
    ASSERT_TRUE(clickButton(&page, "New"));

    EXPECT_EQ(ModifiedFlag(), 1);
    EXPECT_EQ(page.filterBox()->currentText(), "All");
    EXPECT_EQ(Selected(), "t");
    const std::optional<UnitEntry> stored = StoredUnit("t");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->factor, 1000.0f);
    EXPECT_EQ(stored->baseUnit, kKilogram);
    EXPECT_EQ(stored->category, 1);
}

TEST_F(UnitsPageTest, DuplicateNameIsRefusedAndNothingIsStoredButOtherCaseIs) {
    UnitsPage& page = Page();
    ClearModifiedFlag();
    for (const char* clash : {"kg.", " kg"}) {
        AnswerUnit(clash, "2", "g", {}, [this](UnitDialog& dialog) {
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(services_.prompter.last().text(), "The unit name must be unique !");
        });
        ASSERT_TRUE(clickButton(&page, "New"));
    }
    EXPECT_EQ(services_.prompter.count(), 2u);
    EXPECT_EQ(ModifiedFlag(), 0);
    EXPECT_EQ(Stored().Units().size(), std::size_t{kStarterUnits});

    // Names compare case-sensitively. Without a base unit the factor is 1.
    AnswerUnit("Kg", "2", "<No>");
    ASSERT_TRUE(clickButton(&page, "New"));
    const std::optional<UnitEntry> stored = StoredUnit("Kg");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->baseUnit, 0);
    EXPECT_EQ(stored->factor, 1.0f);
}

TEST_F(UnitsPageTest, EditChangesFactorAndBaseAndKeepsTheFilter) {
    PrepareCategories();
    UnitsPage& page = Page();
    ASSERT_TRUE(chooseComboText(page.filterBox(), "Mass"));
    Select("mg");
    ClearModifiedFlag();
    AnswerUnit("mg  ", "25000", "kg");  // its own name with trailing blanks
    pressKey(TheGrid().view(), Qt::Key_Return);

    EXPECT_EQ(ModifiedFlag(), 1);
    const std::optional<UnitEntry> stored = StoredUnit("mg  ");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->id, kMilligram);
    EXPECT_EQ(stored->factor, 9999.0f);
    EXPECT_EQ(stored->baseUnit, kKilogram);
    EXPECT_EQ(page.filterBox()->currentText(), "Mass");

    AnswerUnit("mg", "0.001", "g", "Volume");
    ASSERT_TRUE(clickButton(&page, "Edit"));
    EXPECT_EQ(StoredUnit("mg")->factor, 0.001f);
    EXPECT_EQ(StoredUnit("mg")->category, 2);
    EXPECT_EQ(page.filterBox()->currentText(), "All");
}

TEST_F(UnitsPageTest, NewFactorsRoundTripAndUnstorableOnesAreRefused) {
    UnitsPage& page = Page();
    for (const char* factor : {"0", "-2", "1e-50"}) {
        AnswerUnit("ng", factor, "g", {}, [this, factor](UnitDialog& dialog) {
            EXPECT_TRUE(dialog.isVisible()) << factor;
            EXPECT_EQ(services_.prompter.last().text().left(40), "The factor must be a number greater than") << factor;
        });
        ASSERT_TRUE(clickButton(&page, "New"));
        EXPECT_FALSE(StoredUnit("ng")) << factor;
    }
    const struct {
        const char* name;
        const char* factor;
        float stored;
    } rows[] = {{"ng", "0.000000001", 1e-9f}, {"µg-ish", "0.0000123", 0.0000123f}};
    for (const auto& row : rows) {
        AnswerUnit(row.name, row.factor, "g");
        ASSERT_TRUE(clickButton(&page, "New"));
        const std::optional<UnitEntry> stored = StoredUnit(row.name);
        ASSERT_TRUE(stored) << row.name;
        EXPECT_EQ(stored->factor, row.stored) << row.name;
    }
}

TEST_F(UnitsPageTest, RemoveAsksAndDeletesOnlyOnYes) {
    UnitsPage& page = Page();
    Select("piece");
    ClearModifiedFlag();
    services_.prompter.answerNo();
    ASSERT_TRUE(clickButton(&page, "Remove"));
    EXPECT_EQ(services_.prompter.last().text(), "Remove this unit?");
    EXPECT_EQ(ModifiedFlag(), 0);
    EXPECT_TRUE(StoredUnit("piece"));

    services_.prompter.answerYes();
    ASSERT_TRUE(clickButton(&page, "Remove"));
    EXPECT_EQ(ModifiedFlag(), 1);
    EXPECT_FALSE(StoredUnit("piece"));
    EXPECT_EQ(RowOf("piece"), -1);
}

TEST_F(UnitsPageTest, AUnitSomethingUsesIsNotRemovedAndTheMessageNamesTheUsers) {
    const struct {
        const char* unit;
        const char* text;
    } rows[] = {
        {"g",
         "This unit cannot be removed: it is used by the target \"Carbohydrates\", the target \"Fat\", the "
         "target \"Protein\" and 4 more."},
        {"mg/dL", "This unit cannot be removed: it is used by the unit \"mmol/L\"."},
        {"mmol/L",
         "This unit cannot be removed: it is used by the target \"Blood glucose\" and the group \"Blood "
         "glucose\"."},
    };
    UnitsPage& page = Page();
    for (const auto& row : rows) {
        Select(row.unit);
        // No question is queued: asking "Remove this unit?" would fail.
        ASSERT_TRUE(clickButton(&page, "Remove"));
        EXPECT_EQ(services_.prompter.last().text(), row.text) << row.unit;
        EXPECT_TRUE(StoredUnit(row.unit)) << row.unit;
        EXPECT_EQ(Selected(), row.unit);
    }
}

// A host whose database was opened read-only.
class ReadOnlyHost final : public HostExtensions {
public:
    uint64_t ChangeVersion(int32_t) override { return 0; }
    int32_t BeginChange() override { return hostresult::kReadOnly; }
    int32_t EndChange(int32_t) override { return hostresult::kReadOnly; }
    int32_t IsReadOnly() override { return 1; }
    int32_t DatabasePath(char*, int32_t) override { return 0; }
};

TEST_F(UnitsPageTest, OnAReadOnlyDatabaseEveryChangeIsRefusedBeforeItsDialog) {
    const struct {
        Tab tab;
        const char* button;
    } rows[] = {
        {Tab::Values, "New"},   {Tab::Values, "Edit"},      {Tab::Values, "Remove"},          {Tab::Units, "New"},
        {Tab::Units, "Edit"},   {Tab::Units, "Remove"},     {Tab::Units, "Edit categories"},  {Tab::Targets, "New"},
        {Tab::Targets, "Edit"}, {Tab::Groups, "New Group"}, {Tab::Groups, "Edit categories"},
    };
    const FieldMap value{{"NAME", "kept"}, {"MATTERID", "2"}, {"ITEMID", "7"}, {"VALUE", "5"}, {"SECONDS", "100"}};
    ASSERT_EQ(AddRecord(db(), cache(), RecordKind::Value, value), kChangeOk);
    ReadOnlyHost readOnly;
    SetCurrentHostExtensions(&readOnly);
    ClearModifiedFlag();
    OpenMainWindow();
    for (const auto& row : rows) {
        window_->SelectTab(row.tab);
        services_.prompter.clear();
        ASSERT_TRUE(clickButton(window_->PageAt(row.tab), row.button)) << row.button;
        ASSERT_EQ(services_.prompter.count(), 1u) << row.button;
        EXPECT_EQ(services_.prompter.last().text(), "The database is read-only: changes cannot be saved.")
            << row.button;
        EXPECT_EQ(services_.prompter.last().icon(), MessageIcon::Error) << row.button;
    }
    SetCurrentHostExtensions(nullptr);
    EXPECT_TRUE(services_.dialogs.dialogs().empty());
    EXPECT_EQ(ModifiedFlag(), 0);
}

TEST_F(UnitsPageTest, DeletingACategoryMovesItsUnitsToCategoryZero) {
    PrepareCategories();
    UnitsPage& page = Page();
    ASSERT_TRUE(chooseComboText(page.filterBox(), "Mass"));
    EXPECT_EQ(TheGrid().rowCount(), 3);
    services_.dialogs.expect<CategoriesDialog>([](CategoriesDialog& dialog) {
        dialog.list()->setCurrentItem(dialog.list()->findItems("Mass", Qt::MatchExactly).value(0));
        clickButton(&dialog, "Delete");
        clickButton(&dialog, "Done");
    });
    ASSERT_TRUE(clickButton(&page, "Edit categories"));

    EXPECT_EQ(page.filterBox()->currentText(), "All");
    EXPECT_EQ(TheGrid().rowCount(), kStarterUnits);
    EXPECT_EQ(StoredUnit("kg")->category, 0);
}

}  // namespace
}  // namespace orv::test
