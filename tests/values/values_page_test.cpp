// The Values page in the main window on a real SQLite host database: the
// grid, New, Edit and Remove through the value dialog and the message boxes,
// refused writes, and the ten-newest view. What was written is checked in a
// cache loaded fresh from the database.
//
// The value dialog on its own, over the starter structure: how units convert
// the amount, the amount field's reading, writing and limits, and what OK
// hands back. The grid's cell texts written without strings match the shared
// formatting.

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include <sqlite3.h>

#include "data/ChangeMessages.h"
#include "data/FieldText.h"
#include "data/HostExtensions.h"
#include "data/ModifiedFlag.h"
#include "host/db/StarterData.h"
#include "support/Dates.h"
#include "support/ModuleFixture.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/values/CellText.h"
#include "ui/values/ValueEntryDialog.h"
#include "ui/values/ValuesPage.h"
#include "util/DateText.h"
#include "util/NumberFormat.h"

namespace orv {
namespace {

namespace st = hostdb::starter;

class ValuesPageTest : public test::ModuleFixture {
protected:
    ValuesPage& Page() { return ShowPage<ValuesPage>(Tab::Values); }

    static QString Cell(const ValuesPage& page, int row, const char* column) {
        return page.Grid()->cell(row, QString::fromLatin1(column));
    }

    // The notes column, top to bottom: a compact picture of the grid's order.
    static QStringList NotesColumn(const ValuesPage& page) { return Column(*page.Grid(), ValuesPage::kNotesColumn); }

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

    EXPECT_EQ(
        std::tuple(services_.prompter.count(), services_.prompter.last().icon(), services_.prompter.last().text()),
        std::tuple(1u, MessageIcon::Error,
                   QString::fromStdString(WriteFailureText(hostresult::kBusy, RecordKind::Value))));
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
    EXPECT_EQ(page.Grid()->rowCount(), 0);

    const int32_t jam = SeedValue(st::kFoodGroup, st::kFirstFood, 20, Noon(6), "jam");
    page.Activate();
    ASSERT_EQ(page.Grid()->rowCount(), 1);
    ASSERT_EQ(Db().Values()->Find(jam)->Delete(1), 0);
    services_.prompter.AnswerYes();
    ASSERT_TRUE(test::ClickButton(&page, "Remove"));
    EXPECT_EQ(services_.prompter.last().text(), "This value was removed by another program.");
    EXPECT_EQ(page.Grid()->rowCount(), 0);
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

// New with the dialog's defaults.
TEST_F(ValuesPageTest, NewStoresTheDialogsValueAndSelectsIt) {
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
    const RecordCache stored = Stored();
    ASSERT_EQ(stored.Values().size(), 2u);
    const ValueRecord& added = *std::prev(stored.ValuesInTime().end())->second;
    // At the fixed clock's now.
    EXPECT_EQ(std::tuple(added.itemId, added.value, added.itemIndex, added.notes, added.seconds),
              std::tuple(st::kFasting, 5.5f, stored.FindItem(st::kFasting)->index, "before breakfast", Noon(27)));
    EXPECT_EQ(page.ValueIdAt(page.Grid()->currentRow()), added.id);
}

TEST_F(ValuesPageTest, CancelChangesNothingAndEditWritesTheNewItemButKeepsItsItemIndex) {
    const int32_t id = SeedValue(st::kFoodGroup, st::kFirstFood, 60, Noon(5), "toast", 77);
    ValuesPage& page = Page();
    page.Grid()->selectRow(0);
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
    test::PressKey(page.Grid()->view(), Qt::Key_Return);
    const RecordCache stored = Stored();
    const ValueRecord* edited = stored.FindValue(id);
    ASSERT_NE(edited, nullptr);
    // The new item's default amount.
    EXPECT_EQ(std::tuple(edited->itemId, edited->itemIndex, edited->value), std::tuple(st::kFirstFood + 1, 77, 60.0f));
    EXPECT_EQ(Cell(page, 0, ValuesPage::kItemColumn), "Wholemeal bread");
}

TEST_F(ValuesPageTest, RemoveAsksAndOnlyYesDeletes) {
    for (int day = 1; day <= 3; ++day)
        SeedValue(st::kInsulinGroup, st::kRapidInsulin, day, Noon(day), std::to_string(day));
    ValuesPage& page = Page();
    page.Grid()->selectRow(1);
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
    EXPECT_EQ(page.Grid()->rowCount(), 25);
    ASSERT_TRUE(test::ClickButton(&page, "Last 10 Values"));
    EXPECT_EQ(NotesColumn(page), (QStringList{"25", "24", "23", "22", "21", "20", "19", "18", "17", "16"}));
    page.Activate();  // a reload from the tab keeps the view
    EXPECT_EQ(page.Grid()->rowCount(), 10);
    ASSERT_TRUE(test::ClickButton(&page, "Last 10 Values"));
    EXPECT_EQ(page.Grid()->rowCount(), 25);
}

TEST_F(ValuesPageTest, ExportWritesTheValuesWorkbookWhereTheUserChooses) {
    SeedValue(st::kInsulinGroup, st::kRapidInsulin, 1, Noon(1), "one");
    const QString path = TempPath("values.xlsx");
    services_.dialogs.AnswerSaveFile(path);
    ASSERT_TRUE(test::ClickButton(&Page(), "Export to MS Excel"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(services_.shell.Opened(), std::vector<QUrl>{QUrl::fromLocalFile(path)});
    EXPECT_EQ(ModifiedFlag(), 0) << "exporting changes nothing";
}

TEST_F(ValuesPageTest, PagesReadNothingUntilAnotherProgramStoresAValue) {
    SeedValue(st::kInsulinGroup, st::kRapidInsulin, 4, Noon(1), "first");
    ValuesPage& page = Page();
    ASSERT_EQ(page.Grid()->rowCount(), 1);
    const uint64_t loaded = Cache().Generation();
    QSignalSpy refills(page.Grid()->view()->model(), &QAbstractItemModel::modelReset);
    for (const Tab tab : {Tab::Charts, Tab::Tables, Tab::Groups, Tab::Values}) window_->SelectTab(tab);
    EXPECT_EQ(Cache().Generation(), loaded) << "no loader read its table";
    EXPECT_EQ(refills.count(), 0) << "the grid kept its rows";

    std::string error;
    auto other = hostdb::SqliteHostDatabase::Open(Db().Path(), &error);
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
    EXPECT_EQ(page.Grid()->rowCount(), 2);
    EXPECT_EQ(Cell(page, 0, ValuesPage::kNotesColumn), "elsewhere");
}

using test::MakeDate;

class ValueEntryDialogTest : public test::ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        Cache().LoadAll(&Db());
    }

    std::unique_ptr<ValueEntryDialog> Open(ValueEntryDialog::Mode mode, const ValueRecord& working = {}) {
        auto dialog = std::make_unique<ValueEntryDialog>(Cache(), working, mode, &Host());
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        dialog->AmountEdit()->setFocus();
        return dialog;
    }

    // A stored value as the Edit flow hands it over.
    std::unique_ptr<ValueEntryDialog> Edit(int32_t group, int32_t item, float amount, const HostDateTime& date) {
        ValueRecord value;
        value.id = 1;
        value.matterId = group;
        value.itemId = item;
        value.value = amount;
        value.date = date;
        return Open(ValueEntryDialog::Mode::Edit, value);
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

TEST_F(ValueEntryDialogTest, AnotherUnitOfTheFamilyShowsTheAmountConvertedAndBack) {
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    EXPECT_EQ(Row(dialog->TargetList(), 0), (QStringList{"Blood glucose", "5.50", "mmol/L"}));
    ASSERT_TRUE(test::ChooseComboText(dialog->GroupBox(), "Food"));
    EXPECT_EQ(dialog->AmountEdit()->text(), "60");
    const QStringList carbs{"Carbohydrates", "29.40", "g"};
    EXPECT_EQ(Row(dialog->TargetList(), 0), carbs);

    ASSERT_TRUE(test::ChooseComboText(dialog->UnitBox(), "kg"));
    EXPECT_EQ(dialog->AmountEdit()->text(), "0.06");
    EXPECT_EQ(Row(dialog->TargetList(), 0), carbs) << "the same portion holds the same";
    ASSERT_TRUE(test::ChooseComboText(dialog->UnitBox(), "g"));
    EXPECT_EQ(dialog->AmountEdit()->text(), "60");
    TypeOnly(dialog->AmountEdit(), "100");
    EXPECT_EQ(Row(dialog->TargetList(), 3), (QStringList{"Energy", "265.00", "kcal"}));
    // OK hands the amount back in the group's unit.
    ASSERT_TRUE(test::ChooseComboText(dialog->UnitBox(), "kg"));
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    EXPECT_EQ(std::tuple(dialog->result(), dialog->Value().value), std::tuple(QDialog::Accepted, 100.0f));
}

TEST_F(ValueEntryDialogTest, EnterTakesTheAmountAsTypedAndOnlyLeavingTheFieldRewritesIt) {
    const auto direct = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(direct->AmountEdit(), "1234.56");
    QTest::keyClick(direct->AmountEdit(), Qt::Key_Enter);
    EXPECT_EQ(std::tuple(direct->result(), direct->Value().value), std::tuple(QDialog::Accepted, 1234.56f));

    const auto left = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(left->AmountEdit(), "1234.56");
    QTest::keyClick(left->AmountEdit(), Qt::Key_Tab);
    EXPECT_EQ(left->AmountEdit()->text(), "1235");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(std::tuple(left->result(), left->Value().value), std::tuple(QDialog::Accepted, 1235.0f));
}

TEST_F(ValueEntryDialogTest, TextThatIsNoNumberKeepsTheDialogOpenWithTheNotes) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    TypeOnly(dialog->NotesEdit(), "after lunch");
    TypeOnly(dialog->AmountEdit(), "abc");
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->AmountEdit()->selectedText(), "abc");
    EXPECT_EQ(dialog->DisplayedAmount(), 5.5f) << "the last amount that was a number stays";
    EXPECT_GT(services_.prompter.Beeps(), 0);

    // The locale's decimal comma reads like a point.
    TypeOnly(dialog->AmountEdit(), "6,2");
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    QLocale::setDefault(before);
    EXPECT_EQ(std::tuple(dialog->result(), dialog->Value().value, dialog->Value().notes),
              std::tuple(QDialog::Accepted, 6.2f, "after lunch"));
}

TEST_F(ValueEntryDialogTest, AValueWhoseGroupOrItemWasRemovedKeepsThem) {
    constexpr int32_t kGoneItem = 901;
    for (const int32_t group : {900, st::kFoodGroup}) {
        SCOPED_TRACE(group == 900 ? "group and item removed" : "item removed");
        const auto dialog = Edit(group, kGoneItem, 42.0f, MakeDate(2008, 8, 1, 12));
        EXPECT_EQ(dialog->ItemBox()->currentIndex(), -1);
        QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
        const ValueRecord& value = dialog->Value();
        EXPECT_EQ(std::tuple(dialog->result(), value.matterId, value.itemId, value.value),
                  std::tuple(QDialog::Accepted, group, kGoneItem, 42.0f));
    }
}

TEST_F(ValueEntryDialogTest, ATimePastTheLastSecondOfTheTimeScaleIsRefused) {
    const auto dialog = Edit(st::kFoodGroup, st::kFirstFood, 60.0f, MakeDate(2106, 2, 7, 6, 28, 16));
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(services_.prompter.last().text(), "The time cannot be later than 06:28:15 on 02/07/2106.");

    dialog->TimeEdit()->setValue(QDate(2106, 2, 7), QTime(6, 28, 15));
    QTest::keyClick(dialog->AmountEdit(), Qt::Key_Enter);
    EXPECT_EQ(std::tuple(dialog->result(), static_cast<uint32_t>(Seconds(dialog->Value().date))),
              std::tuple(QDialog::Accepted, 4294967295u));
}

TEST_F(ValueEntryDialogTest, WithNoGroupsOkIsRefusedAndTheDialogStaysOpen) {
    Cache().Clear();
    const auto dialog = Open(ValueEntryDialog::Mode::Add);
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(services_.prompter.count(), 1u);
    dialog->reject();
}

TEST(CellText, AmountsDatesAndTimesMatchTheSharedTexts) {
    using limits = std::numeric_limits<double>;
    // Ties in decimal but not in binary, signed zeros, the extremes.
    const double amounts[] = {5.5,
                              0.000005,
                              -0.0000049,
                              2.675,
                              1e20,
                              limits::max(),
                              limits::denorm_min(),
                              limits::quiet_NaN(),
                              -limits::infinity()};
    char buffer[kCellTextCapacity];
    for (const double amount : amounts) {
        EXPECT_EQ(std::string(buffer, WriteAmountText(amount, buffer)), FixedText(amount, 5))
            << "amount " << amount << (std::signbit(amount) ? " (negative)" : "");
    }
    // Out of range fields are written as they come.
    const HostDateTime dates[] = {test::MakeDate(2008, 3, 7, 9, 5), test::MakeDate(999, 10, 10, 10, 10, 10),
                                  test::MakeDate(0, 0, 0), test::MakeDate(2024, 100, 250, 120, 300, 65535)};
    for (const HostDateTime& date : dates) {
        SCOPED_TRACE(FormatDateText(date) + " " + FormatTimeText(date));
        EXPECT_EQ(std::string(buffer, WriteDateText(date, buffer)), FormatDateText(date));
        EXPECT_EQ(std::string(buffer, WriteTimeText(date, buffer)), FormatTimeText(date));
    }
}

}  // namespace
}  // namespace orv
