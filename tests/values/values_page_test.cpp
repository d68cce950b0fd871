// The Values page in the main window on a real SQLite host database: the
// grid, New, Edit and Remove through the value dialog and the message boxes,
// refused writes, and the ten-newest view. What was written is checked in a
// cache loaded fresh from the database.

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest/QTest>

#include <sqlite3.h>

#include "data/ChangeMessages.h"
#include "data/FieldText.h"
#include "data/HostExtensions.h"
#include "data/ModifiedFlag.h"
#include "host/db/StarterData.h"
#include "support/Dates.h"
#include "support/ModuleFixture.h"
#include "ui/values/ValueEntryDialog.h"
#include "ui/values/ValuesPage.h"

namespace orv {
namespace {

namespace st = hostdb::starter;

class ValuesPageTest : public test::ModuleFixture {
protected:
    ValuesPage& Page() { return ShowPage<ValuesPage>(Tab::Values); }

    static QString Cell(const ValuesPage& page, int row, const char* column) {
        return page.grid()->cell(row, QString::fromLatin1(column));
    }

    // The notes column, top to bottom: a compact picture of the grid's order.
    static QStringList NotesColumn(const ValuesPage& page) { return Column(*page.grid(), ValuesPage::kNotesColumn); }

    int32_t Noon(int day) { return Seconds(test::MakeDate(2008, 8, day, 12)); }

    // OK pressed with the mouse.
    static void ClickOk(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
};

// Another program holds the write lock past the host's wait: the value is
// not stored, the user is told, and the dialog comes back with the input to
// try again once the other program is done.
TEST_F(ValuesPageTest, AValueRefusedWhileAnotherProgramWritesIsKeptForRetrying) {
    ValuesPage& page = Page();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(TempPath("orv.sqlite").toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    services_.dialogs.Expect<ValueEntryDialog>([](ValueEntryDialog& d) {
        test::TypeText(d.NotesEdit(), "before breakfast");
        ClickOk(d);
    });
    services_.dialogs.Expect<ValueEntryDialog>([&](ValueEntryDialog& d) {
        EXPECT_EQ(d.NotesEdit()->text(), "before breakfast");
        EXPECT_TRUE(Stored().Values().empty());
        EXPECT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        ClickOk(d);
    });
    ASSERT_TRUE(test::ClickButton(&page, "New"));
    sqlite3_close(other);

    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().icon(), MessageIcon::Error);
    EXPECT_EQ(services_.prompter.last().text(),
              QString::fromStdString(WriteFailureText(hostresult::kBusy, RecordKind::Value)));
    const RecordCache stored = Stored();
    ASSERT_EQ(stored.Values().size(), 1u);
    EXPECT_EQ(stored.Values().begin()->second.notes, "before breakfast");
    EXPECT_EQ(NotesColumn(page), QStringList{"before breakfast"});
}

TEST_F(ValuesPageTest, EditingOrRemovingAValueAnotherProgramRemovedSaysSo) {
    const int32_t id = SeedValue(st::kFoodGroup, st::kFirstFood, 60, Noon(5), "toast");
    ValuesPage& page = Page();
    services_.dialogs.Expect<ValueEntryDialog>([&](ValueEntryDialog& d) {
        test::TypeText(d.NotesEdit(), "edited");
        std::string error;
        const auto other = hostdb::SqliteHostDatabase::Open(TempPath("orv.sqlite").toStdString(), &error);
        ASSERT_TRUE(other) << error;
        ASSERT_EQ(other->Values()->Find(id)->Delete(1), 0);
        ClickOk(d);
    });
    ASSERT_TRUE(test::ClickButton(&page, "Edit"));
    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().text(), "This value was removed by another program.");
    EXPECT_EQ(services_.dialogs.Opened(), 1u) << "retrying cannot bring the value back";
    EXPECT_TRUE(Stored().Values().empty());
    EXPECT_EQ(page.grid()->rowCount(), 0);

    const int32_t jam = SeedValue(st::kFoodGroup, st::kFirstFood, 20, Noon(6), "jam");
    page.Activate();
    ASSERT_EQ(page.grid()->rowCount(), 1);
    ASSERT_EQ(Db().Values()->Find(jam)->Delete(1), 0);
    services_.prompter.AnswerYes();
    ASSERT_TRUE(test::ClickButton(&page, "Remove"));
    EXPECT_EQ(services_.prompter.last().text(), "This value was removed by another program.");
    EXPECT_EQ(page.grid()->rowCount(), 0);
}

TEST_F(ValuesPageTest, TheGridShowsEveryValueNewestFirst) {
    SeedValue(st::kFoodGroup, st::kFirstFood, 5.5, Seconds(test::MakeDate(2008, 3, 7, 9, 5)), "older");
    // Equal seconds: the one loaded last comes first.
    for (const char* notes : {"first", "second"}) SeedValue(st::kInsulinGroup, st::kRapidInsulin, 4, Noon(20), notes);
    SeedValue(999, 998, 1.5, Noon(10), "orphan");  // item and group are gone
    ValuesPage& page = Page();
    EXPECT_EQ(NotesColumn(page), (QStringList{"second", "first", "orphan", "older"}));
    EXPECT_EQ((QStringList{Cell(page, 3, ValuesPage::kItemColumn), Cell(page, 3, ValuesPage::kValueColumn),
                           Cell(page, 3, ValuesPage::kUnitColumn)}),
              (QStringList{"White bread", "5.50000", "g"}));
    EXPECT_TRUE(Cell(page, 2, ValuesPage::kItemColumn).isEmpty());
}

// New with the dialog's defaults, then one typed in another unit of the
// group's family, which is stored in the group's unit.
TEST_F(ValuesPageTest, NewStoresTheDialogsValueInTheGroupsUnitAndSelectsIt) {
    SeedValue(st::kInsulinGroup, st::kRapidInsulin, 4, Noon(26), "yesterday");
    ValuesPage& page = Page();
    services_.dialogs.Expect<ValueEntryDialog>([](ValueEntryDialog& d) {
        EXPECT_EQ(d.GroupBox()->currentText(), "Blood glucose");
        EXPECT_EQ(d.ItemBox()->currentText(), "Fasting");
        test::TypeText(d.NotesEdit(), "before breakfast");
        d.accept();
    });
    ASSERT_TRUE(test::ClickButton(&page, "New"));
    EXPECT_EQ(ModifiedFlag(), 1);
    RecordCache stored = Stored();
    ASSERT_EQ(stored.Values().size(), 2u);
    const ValueRecord& added = *std::prev(stored.ValuesInTime().end())->second;
    EXPECT_EQ(added.itemId, st::kFasting);
    EXPECT_EQ(added.value, 5.5f);
    EXPECT_EQ(added.itemIndex, stored.FindItem(st::kFasting)->index);
    EXPECT_EQ(added.notes, "before breakfast");
    EXPECT_EQ(added.seconds, Noon(27));  // the fixed clock's now
    EXPECT_EQ(page.ValueIdAt(page.grid()->currentRow()), added.id);

    services_.dialogs.Expect<ValueEntryDialog>([](ValueEntryDialog& d) {
        ASSERT_TRUE(test::ChooseComboText(d.UnitBox(), "mg/dL"));
        test::TypeText(d.AmountEdit(), "90.08");  // 5 mmol/L
        test::TypeText(d.NotesEdit(), "converted");
        d.accept();
    });
    ASSERT_TRUE(test::ClickButton(&page, "New"));
    stored = Stored();
    const ValueRecord* converted = stored.FindValue(page.ValueIdAt(page.grid()->currentRow()));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->notes, "converted");
    EXPECT_NEAR(converted->value, 5.0f, 1e-5);
    EXPECT_EQ(Cell(page, page.grid()->currentRow(), ValuesPage::kUnitColumn), "mmol/L");
}

TEST_F(ValuesPageTest, CancelChangesNothingAndEditWritesTheNewItemButKeepsItsItemIndex) {
    const int32_t id = SeedValue(st::kFoodGroup, st::kFirstFood, 60, Noon(5), "toast", 77);
    ValuesPage& page = Page();
    page.grid()->selectRow(0);
    services_.dialogs.Expect<ValueEntryDialog>([](ValueEntryDialog& d) {
        test::TypeText(d.NotesEdit(), "changed");
        d.reject();
    });
    ASSERT_TRUE(test::ClickButton(&page, "Edit"));
    EXPECT_EQ(ModifiedFlag(), 0) << "Cancel changes nothing";
    EXPECT_EQ(Stored().FindValue(id)->notes, "toast");

    services_.dialogs.Expect<ValueEntryDialog>([](ValueEntryDialog& d) {
        EXPECT_EQ(d.ItemBox()->currentText(), "White bread");
        ASSERT_TRUE(test::ChooseComboText(d.ItemBox(), "Wholemeal bread"));
        d.accept();
    });
    test::PressKey(page.grid()->view(), Qt::Key_Return);
    EXPECT_EQ(ModifiedFlag(), 1);
    const RecordCache stored = Stored();
    const ValueRecord* edited = stored.FindValue(id);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->itemId, st::kFirstFood + 1);
    EXPECT_EQ(edited->itemIndex, 77);
    EXPECT_EQ(edited->value, 60.0f);  // the new item's default
    EXPECT_EQ(Cell(page, 0, ValuesPage::kItemColumn), "Wholemeal bread");
}

TEST_F(ValuesPageTest, RemoveAsksAndOnlyYesDeletes) {
    for (int day = 1; day <= 3; ++day)
        SeedValue(st::kInsulinGroup, st::kRapidInsulin, day, Noon(day), std::to_string(day));
    ValuesPage& page = Page();
    page.grid()->selectRow(1);
    services_.prompter.AnswerNo();
    ASSERT_TRUE(test::ClickButton(&page, "Remove"));
    EXPECT_EQ(services_.prompter.last().text(), "Delete this value?");
    EXPECT_EQ(Stored().Values().size(), 3u);
    EXPECT_EQ(ModifiedFlag(), 0);

    services_.prompter.AnswerYes();
    ASSERT_TRUE(test::ClickButton(&page, "Remove"));
    EXPECT_EQ(ModifiedFlag(), 1);
    EXPECT_EQ(Stored().Values().size(), 2u);
    EXPECT_EQ(NotesColumn(page), (QStringList{"3", "1"}));
}

TEST_F(ValuesPageTest, LastTenShowsTheTenNewestUntilUnchecked) {
    for (int day = 1; day <= 25; ++day)
        SeedValue(st::kInsulinGroup, st::kLongInsulin, day, Noon(day), std::to_string(day));
    ValuesPage& page = Page();
    EXPECT_EQ(page.grid()->rowCount(), 25);
    ASSERT_TRUE(test::ClickButton(&page, "Last 10 Values"));
    EXPECT_EQ(NotesColumn(page), (QStringList{"25", "24", "23", "22", "21", "20", "19", "18", "17", "16"}));
    page.Activate();  // a reload from the tab keeps the view
    EXPECT_EQ(page.grid()->rowCount(), 10);
    ASSERT_TRUE(test::ClickButton(&page, "Last 10 Values"));
    EXPECT_EQ(page.grid()->rowCount(), 25);
}

TEST_F(ValuesPageTest, ExportWritesTheValuesWorkbookWhereTheUserChooses) {
    SeedValue(st::kInsulinGroup, st::kRapidInsulin, 1, Noon(1), "one");
    const QString path = TempPath("values.xlsx");
    services_.dialogs.AnswerSaveFile(path);
    ASSERT_TRUE(test::ClickButton(&Page(), "Export to MS Excel"));
    EXPECT_TRUE(QFile::exists(path));
    ASSERT_EQ(services_.shell.Opened().size(), 1u);
    EXPECT_EQ(services_.shell.Opened().front().toLocalFile(), path);
    EXPECT_EQ(ModifiedFlag(), 0) << "exporting changes nothing";
}

TEST_F(ValuesPageTest, PagesReadNothingUntilAnotherProgramStoresAValue) {
    SeedValue(st::kInsulinGroup, st::kRapidInsulin, 4, Noon(1), "first");
    ValuesPage& page = Page();
    ASSERT_EQ(page.grid()->rowCount(), 1);
    const uint64_t loaded = Cache().Generation();
    QSignalSpy refills(page.grid()->view()->model(), &QAbstractItemModel::modelReset);
    for (const Tab tab : {Tab::Charts, Tab::Tables, Tab::Groups, Tab::Values}) window_->SelectTab(tab);
    EXPECT_EQ(Cache().Generation(), loaded) << "no loader read its table";
    EXPECT_EQ(refills.count(), 0) << "the grid kept its rows";

    std::string error;
    auto other = hostdb::SqliteHostDatabase::Open(Db().path(), &error);
    ASSERT_TRUE(other) << error;
    const FieldMap fields{{"ID", "900"},
                          {"INDEX", "900"},
                          {"NAME", "elsewhere"},
                          {"MATTERID", IntText(st::kInsulinGroup)},
                          {"ITEMID", IntText(st::kRapidInsulin)},
                          {"VALUE", "1.0"},
                          {"SECONDS", IntText(Noon(2))}};
    ASSERT_EQ(other->Values()->Add(&fields), 0);
    window_->SelectTab(Tab::Charts);
    window_->SelectTab(Tab::Values);
    EXPECT_EQ(page.grid()->rowCount(), 2);
    EXPECT_EQ(Cell(page, 0, ValuesPage::kNotesColumn), "elsewhere");
}

}  // namespace
}  // namespace orv
