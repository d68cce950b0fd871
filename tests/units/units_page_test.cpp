// The Units page in the running main window on a real SQLite host database
// with the starter units, driven through its buttons, filter box and grid.
// What the page wrote is checked on a cache freshly loaded from the database.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QToolButton>

#include <functional>
#include <memory>
#include <string>
#include <tuple>

#include "data/FakeExtensions.h"
#include "data/ModifiedFlag.h"
#include "host/db/StarterData.h"
#include "support/ModuleFixture.h"
#include "ui/categories/CategoriesDialog.h"
#include "ui/units/UnitDialog.h"
#include "ui/units/UnitsPage.h"

namespace orv::test {
namespace {

using namespace hostdb::starter;
constexpr int kStarterUnits = 12;
const QString kName = QStringLiteral("Unit Name");

class UnitsPageTest : public ModuleFixture {
protected:
    UnitsPage& Page() { return ShowPage<UnitsPage>(Tab::Units); }
    Grid& TheGrid() { return *Page().Grid(); }
    QString Selected() { return TheGrid().cell(TheGrid().currentRow(), kName); }
    void Select(const QString& unit) { SelectRowOf(TheGrid(), kName, unit); }
    std::optional<UnitEntry> StoredUnit(const std::string& name) { return Named(Stored().Units(), name); }

    // Queues a unit dialog that is filled in and confirmed; `check` sees it
    // after OK was pressed.
    void AnswerUnit(QString name, QString factor, QString base, QString category = {},
                    std::function<void(UnitDialog&)> check = {}) {
        services_.dialogs.Expect<UnitDialog>([=](UnitDialog& dialog) {
            TypeText(dialog.NameEdit(), name);
            TypeText(dialog.FactorEdit(), factor);
            EXPECT_TRUE(ChooseComboText(dialog.BaseUnitBox(), base));
            if (!category.isEmpty()) {
                EXPECT_TRUE(ChooseComboText(dialog.CategoryBox(), category));
            }
            ClickButton(&dialog, QStringLiteral("OK"));
            if (check) check(dialog);
            if (dialog.isVisible()) dialog.reject();
        });
    }
};

// New with names and factors that cannot be stored (the dialog stays open
// with the reason) and with ones that can.
TEST_F(UnitsPageTest, NewRefusesDuplicateNamesAndUnstorableFactorsAndStoresTheRest) {
    UnitsPage& page = Page();
    const struct {
        const char* name;
        const char* factor;
        const char* base;
        const char* refusal;  // the start of the message; null: stored
        float stored;
        int32_t storedBase;
    } rows[] = {
        {"kg.", "2", "g", "The unit name must be unique !", 0.0f, 0},
        {" kg", "2", "g", "The unit name must be unique !", 0.0f, 0},
        {"ng", "0", "g", "The factor must be a number greater than", 0.0f, 0},
        {"ng", "-2", "g", "The factor must be a number greater than", 0.0f, 0},
        {"ng", "1e-50", "g", "The factor must be a number greater than", 0.0f, 0},
        {"Kg", "2", "<No>", nullptr, 1.0f, 0},  // names compare case-sensitively; no base: factor 1
        {"ng", "0.000000001", "g", nullptr, 1e-9f, kGram},
        {"µg-ish", "0.0000123", "g", nullptr, 0.0000123f, kGram},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " " + row.factor);
        AnswerUnit(row.name, row.factor, row.base, {}, [&](UnitDialog& dialog) {
            EXPECT_EQ(dialog.isVisible(), row.refusal != nullptr);
            if (row.refusal) {
                EXPECT_TRUE(services_.prompter.last().text().startsWith(row.refusal));
            }
        });
        ASSERT_TRUE(ClickButton(&page, "New"));
        const std::optional<UnitEntry> stored = StoredUnit(row.name);
        ASSERT_EQ(stored.has_value(), row.refusal == nullptr);
        if (!stored) {
            EXPECT_EQ(ModifiedFlag(), 0);  // the refusals come first
            continue;
        }
        EXPECT_EQ(std::pair(stored->factor, stored->baseUnit), std::pair(row.stored, row.storedBase));
    }
    EXPECT_EQ(Stored().Units().size(), std::size_t{kStarterUnits + 3});
}

TEST_F(UnitsPageTest, NewAndEditStoreTheUnitAndOnlyACategoryChangeShowsAllAndCategoriesCanGo) {
    // Unit categories 1 "Mass" and 2 "Volume", with g, kg and mg under
    // Mass, as an earlier session would have left them.
    NameCategories(RecordKind::Unit, {"Unfiled", "Mass", "Volume"});
    for (const int32_t id : {kGram, kKilogram, kMilligram}) {
        HostRecord* record = Db().Units()->Find(id);
        ASSERT_EQ(record->SetCategory(1), 0);
        ASSERT_EQ(record->Commit(), 0);
    }
    UnitsPage& page = Page();
    ASSERT_TRUE(ChooseComboText(page.FilterBox(), "Volume"));
    AnswerUnit("t", "1000", "kg", "Mass");
    ASSERT_TRUE(ClickButton(&page, "New"));
    EXPECT_EQ(page.FilterBox()->currentText(), "All");
    EXPECT_EQ(Selected(), "t");
    const std::optional<UnitEntry> added = StoredUnit("t");
    ASSERT_TRUE(added);
    EXPECT_EQ(std::tuple(added->factor, added->baseUnit, added->category), std::tuple(1000.0f, kKilogram, 1));

    ASSERT_TRUE(ChooseComboText(page.FilterBox(), "Mass"));
    Select("mg");
    AnswerUnit("mg  ", "25000", "kg");  // its own name with trailing blanks
    PressKey(TheGrid().view(), Qt::Key_Return);

    const std::optional<UnitEntry> stored = StoredUnit("mg  ");
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::tuple(stored->id, stored->factor, stored->baseUnit), std::tuple(kMilligram, 9999.0f, kKilogram));
    EXPECT_EQ(page.FilterBox()->currentText(), "Mass");

    AnswerUnit("mg", "0.001", "g", "Volume");
    ASSERT_TRUE(ClickButton(&page, "Edit"));
    EXPECT_EQ(std::pair(StoredUnit("mg")->factor, StoredUnit("mg")->category), std::pair(0.001f, 2));
    EXPECT_EQ(page.FilterBox()->currentText(), "All");

    // Deleting a category moves its units to category 0.
    ASSERT_TRUE(ChooseComboText(page.FilterBox(), "Mass"));
    EXPECT_EQ(TheGrid().rowCount(), 3);
    services_.dialogs.Expect<CategoriesDialog>([](CategoriesDialog& dialog) {
        dialog.List()->setCurrentItem(dialog.List()->findItems("Mass", Qt::MatchExactly).value(0));
        ClickButton(&dialog, "Delete");
        ClickButton(&dialog, "Done");
    });
    ASSERT_TRUE(ClickButton(&page, "Edit categories"));

    EXPECT_EQ(page.FilterBox()->currentText(), "All");
    EXPECT_EQ(TheGrid().rowCount(), kStarterUnits + 1);
    EXPECT_EQ(StoredUnit("kg")->category, 0);
}

TEST_F(UnitsPageTest, RemoveAsksDeletesOnlyOnYesAndNeverAUnitInUse) {
    UnitsPage& page = Page();
    Select("piece");
    services_.prompter.AnswerNo();
    ASSERT_TRUE(ClickButton(&page, "Remove"));
    EXPECT_EQ(services_.prompter.last().text(), "Remove this unit?");
    EXPECT_EQ(ModifiedFlag(), 0);
    EXPECT_TRUE(StoredUnit("piece"));

    services_.prompter.AnswerYes();
    ASSERT_TRUE(ClickButton(&page, "Remove"));
    EXPECT_FALSE(StoredUnit("piece"));
    EXPECT_EQ(RowOf(TheGrid(), kName, "piece"), -1);

    // A unit something uses is not removed, and the message names the users.
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
    for (const auto& row : rows) {
        Select(row.unit);
        // No question is queued: asking "Remove this unit?" would fail.
        ASSERT_TRUE(ClickButton(&page, "Remove"));
        EXPECT_EQ(services_.prompter.last().text(), row.text) << row.unit;
        EXPECT_TRUE(StoredUnit(row.unit)) << row.unit;
        EXPECT_EQ(Selected(), row.unit);
    }
}

TEST_F(UnitsPageTest, OnAReadOnlyDatabaseEveryChangeIsRefusedBeforeItsDialog) {
    const struct {
        Tab tab;
        const char* button;
    } rows[] = {
        {Tab::Values, "New"},   {Tab::Values, "Edit"},      {Tab::Values, "Remove"},          {Tab::Units, "New"},
        {Tab::Units, "Edit"},   {Tab::Units, "Remove"},     {Tab::Units, "Edit categories"},  {Tab::Targets, "New"},
        {Tab::Targets, "Edit"}, {Tab::Groups, "New Group"}, {Tab::Groups, "Edit categories"},
    };
    SeedValue(2, 7, 5, 100, "kept");  // something for Edit and Remove to act on
    FakeExtensions readOnly;          // a host whose database was opened read-only
    readOnly.readOnly = true;
    SetCurrentHostExtensions(&readOnly);
    OpenMainWindow();
    for (const auto& row : rows) {
        window_->SelectTab(row.tab);
        services_.prompter.clear();
        ASSERT_TRUE(ClickButton(window_->PageAt(row.tab), row.button)) << row.button;
        ASSERT_EQ(services_.prompter.count(), 1u) << row.button;
        EXPECT_EQ(services_.prompter.last().text(), "The database is read-only: changes cannot be saved.")
            << row.button;
        EXPECT_EQ(services_.prompter.last().icon(), MessageIcon::Error) << row.button;
    }
    SetCurrentHostExtensions(nullptr);
    EXPECT_EQ(services_.dialogs.Opened(), 0u);
    EXPECT_EQ(ModifiedFlag(), 0);
}

class UnitDialogTest : public test::ModuleFixture {
protected:
    std::unique_ptr<UnitDialog> Open(float factor) {
        Cache().LoadAll(&Db());
        UnitEntry unit = *Cache().FindUnit(hostdb::starter::kKilogram);
        unit.factor = factor;
        auto dialog = std::make_unique<UnitDialog>(QStringLiteral("Edit unit"), unit, Cache(), nullptr);
        dialog->show();
        return dialog;
    }
};

TEST_F(UnitDialogTest, SpinnerAndWheelKeepTheFactorInRange) {
    const auto dialog = Open(0.002f);
    dialog->StepUpButton()->click();
    EXPECT_EQ(dialog->FactorEdit()->text(), QStringLiteral("0.003"));
    for (int i = 0; i < 5; ++i) test::PressKey(dialog->FactorEdit(), Qt::Key_Down);
    EXPECT_EQ(dialog->FactorEdit()->text(), QStringLiteral("0"));
    // A factor of 0 cannot be stored: leaving the edit keeps it for OK to
    // refuse (see the New table).
    dialog->FinishFactorEdit();
    EXPECT_EQ(dialog->FactorEdit()->text(), QStringLiteral("0"));

    // The wheel moves by whole notches and clamps.
    dialog->WheelFactor(240);
    EXPECT_EQ(dialog->FactorEdit()->text(), QStringLiteral("2"));
    dialog->WheelFactor(-1200000);
    EXPECT_EQ(dialog->FactorEdit()->text(), QStringLiteral("1"));
}

TEST_F(UnitDialogTest, UnreadableFactorBeepsAndKeepsTheLastGoodOne) {
    const auto dialog = Open(25000.0f);
    EXPECT_EQ(dialog->FactorEdit()->text(), QStringLiteral("9999"));  // clamped on opening
    test::TypeText(dialog->FactorEdit(), QStringLiteral("12x"));
    dialog->FinishFactorEdit();
    EXPECT_EQ(services_.prompter.Beeps(), 1);
    EXPECT_EQ(dialog->FactorEdit()->text(), QStringLiteral("9999"));

    test::TypeText(dialog->FactorEdit(), QStringLiteral("-0"));
    dialog->accept();
    EXPECT_EQ(services_.prompter.Beeps(), 2);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Entry().factor, 9999.0f);
}

}  // namespace
}  // namespace orv::test
