// The structure and values exports on a small database whose figures can be
// worked out by hand, read back with the workbook engine and, where a
// spreadsheet program is installed, recomputed by it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/FieldText.h"
#include "data/HostExtensions.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "export/ExcelExport.h"
#include "export/workbook/CellAddress.h"
#include "export/workbook/TypedInput.h"
#include "export/workbook/Workbook.h"
#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"
#include "support/Dates.h"
#include "support/ScriptedServices.h"

namespace orv {
namespace {

constexpr int32_t kDay = 86400;

class ExcelExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(dir_.filePath("orv.sqlite").toStdString(), &error);
        ASSERT_TRUE(db_) << error;
        for (RecordKind kind :
             {RecordKind::Value, RecordKind::Item, RecordKind::Group, RecordKind::Target, RecordKind::Unit}) {
            HostTable* table = TableOf(*db_, kind);
            std::vector<HostRecord*> records;
            for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) records.push_back(table->Current());
            for (HostRecord* record : records) ASSERT_EQ(record->Delete(1), 0);
        }
        services_.environment.moduleFile = QStringLiteral(ORV_TEMPLATE_DIR "/ORVUnits.upg");
    }

    int32_t Add(RecordKind kind, FieldMap fields) {
        int32_t id = 0;
        EXPECT_EQ(AddRecord(*db_, cache_, kind, std::move(fields), &id), kChangeOk);
        return id;
    }
    int32_t Unit(const std::string& name, int32_t base, float factor) {
        return Add(RecordKind::Unit, {{"NAME", name}, {"PUNITID", IntText(base)}, {"PVALUE", RealText(factor)}});
    }
    int32_t Target(const std::string& name, int32_t unit, int32_t type) {
        return Add(RecordKind::Target, {{"NAME", name}, {"UNITID", IntText(unit)}, {"TYPE", IntText(type)}});
    }
    int32_t Group(const std::string& name, int32_t unit, const std::vector<int32_t>& targets, int32_t type = 0) {
        return Add(RecordKind::Group, {{"NAME", name},
                                       {"UNITID", IntText(unit)},
                                       {"TYPE", IntText(type)},
                                       {"COUNT", IntText(static_cast<int64_t>(targets.size()))},
                                       {"TARGETS", IntListText(targets)}});
    }
    int32_t Item(const std::string& name, int32_t group, const std::vector<float>& amounts) {
        return Add(RecordKind::Item, {{"NAME", name},
                                      {"MATTERID", IntText(group)},
                                      {"DEFAULTVALUE", "1.0"},
                                      {"COUNT", IntText(static_cast<int64_t>(amounts.size()))},
                                      {"VALUES", RealListText(amounts)}});
    }
    int32_t Value(int32_t item, int32_t group, int32_t seconds, float value, const std::string& notes = {}) {
        return Add(RecordKind::Value, {{"NAME", notes},
                                       {"ITEMID", IntText(item)},
                                       {"MATTERID", IntText(group)},
                                       {"VALUE", RealText(value)},
                                       {"SECONDS", IntText(seconds)}});
    }
    int32_t Seconds(int year, int month, int day, int hour = 0, int minute = 0) {
        const HostDateTime date = test::MakeDate(year, month, day, hour, minute);
        int32_t seconds = 0;
        db_->DateToSeconds(&seconds, &date);
        return seconds;
    }

    // Units g, kg and mg/dL; three food targets summed in grams and glucose
    // averaged; Food (bread, apple) and Glucose (fasting) with a few values.
    void MakeDiary() {
        g_ = Unit("g", 0, 1.0f);
        Unit("kg", g_, 1000.0f);
        mgdl_ = Unit("1/2", 0, 1.0f);  // a name a spreadsheet would read as a date
        carbs_ = Target("Carbohydrates", g_, 0);
        Target("Fat", g_, 0);
        Target("Protein", g_, 0);
        glucose_ = Target("Glucose", mgdl_, 1);
        food_ = Group("Food", g_, {carbs_, carbs_ + 1, carbs_ + 2});
        bg_ = Group("Blood glucose", mgdl_, {glucose_}, 1);
        bread_ = Item("Bread", food_, {0.5f, 0.1f, 0.2f});
        apple_ = Item("Apple", food_, {0.1f, 0.0f, 0.0f});
        fasting_ = Item("Fasting", bg_, {1.0f});
        Value(fasting_, bg_, Seconds(2026, 1, 10, 7), 90.0f);
        Value(bread_, food_, Seconds(2026, 1, 10, 8), 100.0f, "breakfast");
        Value(apple_, food_, Seconds(2026, 1, 10, 12), 150.0f);
        Value(fasting_, bg_, Seconds(2026, 1, 10, 20), 110.0f);
        Value(bread_, food_, Seconds(2026, 1, 11, 9), 50.0f);
    }

    ExportOptions Options(const QString& name) {
        ExportOptions options;
        options.destination = dir_.filePath(name).toStdString();
        options.interactive = false;
        return options;
    }

    // Opens an exported workbook for reading.
    std::unique_ptr<Workbook> Read(const QString& name, int sheet = 1) {
        auto book = std::make_unique<Workbook>();
        std::string diag;
        EXPECT_EQ(book->Open(dir_.filePath(name).toStdString(), true, &diag), kWorkbookOk) << diag;
        EXPECT_EQ(book->SelectSheet(sheet, &diag), kWorkbookOk) << diag;
        return book;
    }

    QTemporaryDir dir_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    RecordCache cache_;
    test::ScriptedServices services_;
    int32_t g_ = 0, mgdl_ = 0, carbs_ = 0, glucose_ = 0, food_ = 0, bg_ = 0, bread_ = 0, apple_ = 0, fasting_ = 0;
};

std::string Text(const Workbook& book, int row, int column) { return book.GetCell(row, column).value; }
double Number(const Workbook& book, int row, int column) {
    const CellContent cell = book.GetCell(row, column);
    return cell.kind == CellKind::Number ? std::stod(cell.value) : std::nan("");
}

TEST_F(ExcelExportTest, StructureBlocks) {
    MakeDiary();
    ASSERT_EQ(ExportStructure(db_.get(), cache_, Options("structure.xlsx")), kExportOk);
    EXPECT_TRUE(services_.diagnostics.empty()) << services_.diagnostics.front();
    EXPECT_TRUE(services_.shell.Opened().empty()) << "without a user there, the workbook is not opened";
    auto book = Read("structure.xlsx");
    EXPECT_EQ(Text(*book, 3, 1), "ORV Desktop Database");
    EXPECT_EQ(Text(*book, 4, 1), "ORV Desktop DB");

    // Units from row 8 (two heading rows above), closing row, then targets.
    EXPECT_EQ(Number(*book, 8, 1), 1.0);
    EXPECT_EQ(Text(*book, 8, 2), "g");
    EXPECT_EQ(Text(*book, 8, 3), "Unfiled");
    EXPECT_EQ(book->GetCell(8, 4).kind, CellKind::Blank) << "a base unit has no factor";
    EXPECT_EQ(book->GetCell(8, 5).kind, CellKind::Blank);
    EXPECT_EQ(Text(*book, 9, 2), "kg");
    EXPECT_EQ(Number(*book, 9, 4), 1000.0);
    EXPECT_EQ(Text(*book, 9, 5), "g");
    EXPECT_EQ(Text(*book, 10, 2), "1/2");
    // Targets: rows 12-13 heading, 14-17.
    EXPECT_EQ(Text(*book, 14, 2), "Carbohydrates");
    EXPECT_EQ(Text(*book, 14, 4), "g");
    EXPECT_EQ(Text(*book, 14, 5), "Sum");
    EXPECT_EQ(Text(*book, 17, 2), "Glucose");
    EXPECT_EQ(Text(*book, 17, 5), "Average");
    // Groups: rows 19-20 heading, 21-22.
    EXPECT_EQ(Text(*book, 21, 2), "Food");
    EXPECT_EQ(Text(*book, 21, 4), "Number");
    EXPECT_EQ(Text(*book, 21, 5), "g");
    EXPECT_EQ(Text(*book, 21, 6), "Carbohydrates");
    EXPECT_EQ(Text(*book, 21, 8), "Protein");
    EXPECT_EQ(Text(*book, 22, 4), "Time") << "bit 0 of the group type";
    // Items: heading 24-25, Food's heading 26-27 with its target units.
    EXPECT_EQ(Text(*book, 27, 5), "g");
    EXPECT_EQ(Text(*book, 27, 7), "g");
    EXPECT_EQ(Number(*book, 28, 1), 1.0);
    EXPECT_EQ(Text(*book, 28, 2), "Bread");
    EXPECT_EQ(Text(*book, 28, 3), "Food");
    EXPECT_EQ(Number(*book, 28, 4), 1.0);
    EXPECT_DOUBLE_EQ(Number(*book, 28, 5), 0.5);
    EXPECT_DOUBLE_EQ(Number(*book, 28, 7), 0.2);
    EXPECT_EQ(Text(*book, 29, 2), "Apple");
    EXPECT_EQ(book->GetCell(10, 2).kind, CellKind::Text) << "names are never read as numbers or dates";
    EXPECT_EQ(Text(*book, 31, 5), "1/2");
    EXPECT_EQ(Number(*book, 32, 1), 3.0) << "items are counted across groups";
    EXPECT_EQ(Text(*book, 32, 2), "Fasting");
}

TEST_F(ExcelExportTest, ValuesByItemWithPerTargetFormulas) {
    MakeDiary();
    ASSERT_EQ(ExportValues(db_.get(), cache_, Options("values.xlsx")), kExportOk);
    auto book = Read("values.xlsx");
    EXPECT_EQ(book->SheetName(), "Values by Items");
    EXPECT_EQ(Text(*book, 2, 2), "Food");
    EXPECT_EQ(Text(*book, 3, 6), "g");
    EXPECT_EQ(Text(*book, 4, 2), "Bread");
    EXPECT_DOUBLE_EQ(Number(*book, 4, 6), 0.5);
    // Bread's first value: three formulas, then its notes in column 9.
    EXPECT_EQ(Number(*book, 5, 5), 100.0);
    EXPECT_EQ(book->GetCell(5, 6).formula, "F$4*$E5");
    EXPECT_EQ(book->GetCell(5, 7).formula, "G$4*$E5");
    EXPECT_EQ(book->GetCell(5, 8).formula, "H$4*$E5");
    // Each formula carries its result, for readers that do not recalculate.
    EXPECT_DOUBLE_EQ(Number(*book, 5, 6), 50.0);
    EXPECT_DOUBLE_EQ(Number(*book, 5, 7), 10.0);
    EXPECT_DOUBLE_EQ(Number(*book, 8, 6), 15.0);
    EXPECT_EQ(Text(*book, 5, 9), "breakfast");
    // The date and time text is read as a spreadsheet reads typed text: a
    // date serial number, 08:00 being a third of the day.
    EXPECT_NEAR(Number(*book, 5, 2), *DateSerial(2026, 1, 10) + 1.0 / 3.0, 1e-6);
    EXPECT_EQ(book->GetCell(6, 6).formula, "F$4*$E6");
    EXPECT_EQ(Text(*book, 7, 2), "Apple");
    EXPECT_EQ(book->GetCell(8, 6).formula, "F$7*$E8");
    EXPECT_EQ(Text(*book, 10, 2), "Blood glucose");
    EXPECT_EQ(Text(*book, 12, 2), "Fasting");
    EXPECT_EQ(book->GetCell(13, 6).formula, "F$12*$E13");
    EXPECT_EQ(book->GetCell(13, 7).kind, CellKind::Blank) << "one target, one formula";
}

TEST_F(ExcelExportTest, DayFormulasSumAndAverage) {
    MakeDiary();
    ASSERT_EQ(ExportValues(db_.get(), cache_, Options("values.xlsx")), kExportOk);
    auto book = Read("values.xlsx", 2);
    EXPECT_EQ(Text(*book, 1, 2), "Carbohydrates");
    EXPECT_EQ(Text(*book, 1, 5), "Glucose");
    EXPECT_EQ(Text(*book, 2, 5), "1/2");
    EXPECT_EQ(book->GetCell(3, 2).formula, "('Values by Items'!F5+'Values by Items'!F8)");
    EXPECT_EQ(book->GetCell(3, 3).formula, "('Values by Items'!G5+'Values by Items'!G8)");
    EXPECT_EQ(book->GetCell(3, 5).formula, "('Values by Items'!F13+'Values by Items'!F14)/2");
    EXPECT_EQ(book->GetCell(4, 2).formula, "('Values by Items'!F6)");
    // Day 1: carbohydrates 100 * 0.5 + 150 * 0.1, fat 100 * 0.1, glucose
    // (90 + 110) / 2; day 2: half a breakfast.
    EXPECT_DOUBLE_EQ(Number(*book, 3, 2), 65.0);
    EXPECT_DOUBLE_EQ(Number(*book, 3, 3), 10.0);
    EXPECT_DOUBLE_EQ(Number(*book, 3, 5), 100.0);
    EXPECT_DOUBLE_EQ(Number(*book, 4, 2), 25.0);
    EXPECT_EQ(book->GetCell(4, 5).kind, CellKind::Blank) << "no glucose on the second day";
    EXPECT_EQ(book->LastRow(), 5) << "two days and the closing row";

    auto byDate = Read("values.xlsx", 3);
    EXPECT_EQ(Number(*byDate, 2, 1), *DateSerial(2026, 1, 10));
    EXPECT_EQ(Text(*byDate, 3, 1), "Fasting");
    EXPECT_EQ(Number(*byDate, 3, 2), 90.0) << "written as %f text, read as a number";
    EXPECT_EQ(Text(*byDate, 3, 3), "1/2");
    EXPECT_EQ(Text(*byDate, 4, 4), "breakfast");
}

TEST_F(ExcelExportTest, LongHistoriesListOnlyDaysWithValues) {
    const int32_t unit = Unit("g", 0, 1.0f);
    const int32_t target = Target("Carbs", unit, 0);
    const int32_t group = Group("Food", unit, {target});
    const int32_t item = Item("Bread", group, {0.5f});
    const int32_t start = Seconds(2020, 1, 1, 12);
    Value(item, group, start, 10.0f);
    Value(item, group, start + 3 * kDay, 10.0f);
    ASSERT_EQ(ExportValues(db_.get(), cache_, Options("short.xlsx")), kExportOk);
    EXPECT_EQ(Read("short.xlsx", 2)->LastRow(), 2 + 4 + 1) << "every day of a short history";

    Value(item, group, start + 1001 * kDay, 10.0f);
    ASSERT_EQ(ExportValues(db_.get(), cache_, Options("long.xlsx")), kExportOk);
    auto book = Read("long.xlsx", 2);
    int days = 0;
    for (int row = 3; row <= book->LastRow(); ++row) days += book->GetCell(row, 2).formula.empty() ? 0 : 1;
    EXPECT_EQ(days, 3);
    EXPECT_LE(book->LastRow(), 2 + 3 + 1);
}

TEST_F(ExcelExportTest, NoValuesLeavesTheDaySheet) {
    MakeDiary();
    for (const auto& [id, value] : cache_.Values()) ASSERT_EQ(DeleteRecord(value.record), kChangeOk);
    EXPECT_EQ(ExportValues(db_.get(), cache_, Options("empty.xlsx")), kExportNoValues);
    EXPECT_TRUE(QFile::exists(dir_.filePath("empty.xlsx")));
}

TEST_F(ExcelExportTest, MessagesAndCancel) {
    MakeDiary();
    std::string message;
    // No directory in the module's path: only the message, no dialog.
    ExportOptions noDir;
    services_.environment.moduleFile = QStringLiteral("ORVUnits.upg");
    noDir.message = &message;
    EXPECT_EQ(ExportValues(db_.get(), cache_, noDir), kExportStopped);
    ASSERT_EQ(services_.prompter.Messages().size(), 1u);
    EXPECT_EQ(services_.prompter.last().text(), "Cannot find template directory!");
    EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
    EXPECT_TRUE(services_.dialogs.SaveRequests().empty());

    // A cancelled save dialog writes nothing.
    ExportOptions asked;
    services_.environment.moduleFile = QStringLiteral(ORV_TEMPLATE_DIR "/ORVUnits.upg");
    services_.dialogs.AnswerSaveFile(std::nullopt);
    EXPECT_EQ(ExportStructure(db_.get(), cache_, asked), kExportStopped);
    ASSERT_EQ(services_.dialogs.SaveRequests().size(), 1u);
    EXPECT_TRUE(services_.dialogs.SaveRequests().front().request.confirmOverwrite)
        << "an existing file is replaced only when the user says so";
    EXPECT_TRUE(QDir(dir_.path()).entryList({"*.xlsx"}).isEmpty());
    EXPECT_TRUE(services_.shell.Opened().empty());

    // A missing template is reported after the destination was chosen.
    ExportOptions missing = Options("never.xlsx");
    services_.environment.moduleFile = dir_.filePath("ORVUnits.upg");
    missing.interactive = true;
    EXPECT_EQ(ExportStructure(db_.get(), cache_, missing), kExportStopped);
    EXPECT_EQ(services_.prompter.last().text(), "Template file doesn't exist!");
    EXPECT_FALSE(QFile::exists(dir_.filePath("never.xlsx")));
}

TEST_F(ExcelExportTest, ReplacesAnExistingFileAndOpensTheResult) {
    MakeDiary();
    const QString path = dir_.filePath("existing.xlsx");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old content");
    }
    ExportOptions options;
    services_.dialogs.AnswerSaveFile(path);
    EXPECT_EQ(ExportStructure(db_.get(), cache_, options), kExportOk);
    EXPECT_EQ(Text(*Read("existing.xlsx"), 8, 2), "g");
    ASSERT_EQ(services_.shell.Opened().size(), 1u);
    EXPECT_EQ(services_.shell.Opened().front().toLocalFile(), path);
}

TEST_F(ExcelExportTest, WithoutAProgramToOpenTheWorkbookSaysWhereItWasWritten) {
    MakeDiary();
    const QString path = dir_.filePath("unopened.xlsx");
    ExportOptions options;
    services_.dialogs.AnswerSaveFile(path);
    services_.shell.SetSucceeds(false);
    EXPECT_EQ(ExportStructure(db_.get(), cache_, options), kExportOk);
    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("The workbook was written to \"%1\".").arg(path));
}

// A host that names its database file, as the SQLite host does.
class NamedDatabaseHost final : public HostExtensions {
public:
    explicit NamedDatabaseHost(std::string path) : path_(std::move(path)) {}
    uint64_t ChangeVersion(int32_t) override { return 0; }
    int32_t BeginChange() override { return -1; }
    int32_t EndChange(int32_t) override { return -1; }
    int32_t IsReadOnly() override { return 0; }
    int32_t DatabasePath(char* buffer, int32_t capacity) override {
        if (static_cast<std::size_t>(capacity) <= path_.size()) return -1;
        std::memcpy(buffer, path_.c_str(), path_.size() + 1);
        return static_cast<int32_t>(path_.size());
    }

private:
    std::string path_;
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(ExcelExportTest, TheOpenDatabaseIsNeverReplaced) {
    MakeDiary();
    const QString database = dir_.filePath("orv.sqlite");
    NamedDatabaseHost host(database.toStdString());
    SetCurrentHostExtensions(&host);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("sub"));
    ASSERT_TRUE(QFile::link(database, dir_.filePath("link.xlsx")));
    const QByteArray before = FileBytes(database);
    ASSERT_FALSE(before.isEmpty());

    const QString names[] = {database, dir_.filePath("link.xlsx"), dir_.filePath("sub/../orv.sqlite"),
                             dir_.filePath("orv.sqlite-wal")};
    for (const QString& name : names) {
        ExportOptions options = Options("unused.xlsx");
        options.destination = name.toStdString();
        options.interactive = true;
        EXPECT_EQ(ExportValues(db_.get(), cache_, options), kExportStopped) << name.toStdString();
        EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
        EXPECT_TRUE(services_.prompter.last().text().contains("is the open database")) << name.toStdString();
        EXPECT_EQ(FileBytes(database), before) << name.toStdString();
    }
    SetCurrentHostExtensions(nullptr);
    cache_.LoadAll(db_.get());
    EXPECT_EQ(cache_.Values().size(), 5u);
    EXPECT_TRUE(QFileInfo(dir_.filePath("link.xlsx")).isSymLink());
}

// A failed export leaves what was there and nothing else, and says why in
// plain words besides the engine's diagnostic texts.
TEST_F(ExcelExportTest, AFailedExportLeavesTheOldFileAndNoJunk) {
    MakeDiary();
    ASSERT_TRUE(QDir(dir_.path()).mkpath("out"));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("broken"));
    {
        QFile junk(dir_.filePath("broken/export_tmp_values.xlsx"));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        ASSERT_EQ(junk.write("junk!"), 5);
    }
    const QString old = dir_.filePath("out/values.xlsx");
    {
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_GT(file.write("the workbook of last week"), 0);
    }
    struct Case {
        const char* name;
        QString moduleDir;
        QString destination;
        const char* reason;
    };
    const Case cases[] = {
        {"damaged template", dir_.filePath("broken"), old, "is damaged"},
        {"missing folder", ORV_TEMPLATE_DIR, dir_.filePath("missing/values.xlsx"), "the folder does not exist"},
    };
    for (const Case& c : cases) {
        services_.diagnostics.clear();
        ExportOptions options = Options("unused.xlsx");
        services_.environment.moduleFile = c.moduleDir + "/ORVUnits.upg";
        options.destination = c.destination.toStdString();
        options.interactive = true;
        EXPECT_EQ(ExportValues(db_.get(), cache_, options), kExportCopyOpenFailed) << c.name;
        const auto& log = services_.diagnostics;
        EXPECT_NE(std::find(log.begin(), log.end(), "ORV Conduit warning: Excel open worksheet error"), log.end())
            << c.name;
        EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
        EXPECT_TRUE(services_.prompter.last().text().contains(c.reason))
            << c.name << ": " << services_.prompter.last().text().toStdString();
        EXPECT_EQ(FileBytes(old), "the workbook of last week") << c.name;
        EXPECT_EQ(QDir(dir_.filePath("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"values.xlsx"})
            << c.name;
        EXPECT_FALSE(QFileInfo::exists(dir_.filePath("missing"))) << c.name;
    }
    EXPECT_TRUE(services_.shell.Opened().empty()) << "nothing was written, so nothing is opened";
}

// 400 values of one item on one day: the plain total would exceed a
// formula's 8,192 characters; the day keeps its total all the same.
TEST_F(ExcelExportTest, ABusyDayKeepsItsTotal) {
    const int32_t unit = Unit("mg/dL", 0, 1.0f);
    const int32_t target = Target("Glucose", unit, 0);
    const int32_t group = Group("Sensor", unit, {target});
    const int32_t item = Item("Reading", group, {1.0f});
    const int32_t day = Seconds(2026, 3, 1);
    double expected = 0;
    for (int i = 0; i < 400; ++i) {
        Value(item, group, day + i * 200, static_cast<float>(100 + i % 7));
        expected += 100 + i % 7;
    }
    ASSERT_EQ(ExportValues(db_.get(), cache_, Options("busy.xlsx")), kExportOk);
    EXPECT_TRUE(services_.diagnostics.empty()) << services_.diagnostics.front();
    auto book = Read("busy.xlsx", 2);
    const CellContent total = book->GetCell(3, 2);
    ASSERT_FALSE(total.formula.empty());
    EXPECT_LT(total.formula.size(), 8192u);
    EXPECT_DOUBLE_EQ(std::stod(total.value), expected);
}

// Values of 400 items on one day lie apart on the values sheet, so the day's
// total adds partial sums kept right of the target columns, one column apart.
TEST_F(ExcelExportTest, ADayOfManyItemsAddsPartialSumsRightOfTheTargets) {
    const int32_t unit = Unit("g", 0, 1.0f);
    const int32_t target = Target("Carbs", unit, 0);
    const int32_t group = Group("Food", unit, {target});
    const int32_t day = Seconds(2026, 3, 1);
    for (int i = 0; i < 400; ++i) Value(Item("Food " + std::to_string(i), group, {0.5f}), group, day + i * 60, 2.0f);
    ASSERT_EQ(ExportValues(db_.get(), cache_, Options("many.xlsx")), kExportOk);
    auto book = Read("many.xlsx", 2);
    EXPECT_EQ(book->GetCell(3, 3).kind, CellKind::Blank) << "one column apart from the targets";
    EXPECT_FALSE(book->GetCell(3, 4).formula.empty()) << "the first partial sum";
    const CellContent total = book->GetCell(3, 2);
    EXPECT_NE(total.formula.find("D3"), std::string::npos) << total.formula;
    EXPECT_DOUBLE_EQ(std::stod(total.value), 400.0);
}

// Cell by cell, the results the export stores with its formulas equal what
// a spreadsheet program computes from them: for the demo database, with a
// busy day added. The program is told to recalculate every formula on load
// rather than show the stored results.
TEST_F(ExcelExportTest, StoredResultsEqualWhatASpreadsheetProgramComputes) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) GTEST_SKIP() << "no spreadsheet program (soffice) installed";
    hostdb::GenerateOptions generate;
    generate.days = 130;
    generate.seed = 20240229;
    generate.endSeconds = Seconds(2026, 2, 1);
    std::string error;
    const std::string demoPath = dir_.filePath("demo.sqlite").toStdString();
    ASSERT_TRUE(hostdb::GenerateDatabase(demoPath, generate, &error)) << error;
    auto demo = hostdb::SqliteHostDatabase::Open(demoPath, &error);
    ASSERT_TRUE(demo) << error;
    RecordCache cache;
    cache.LoadAll(demo.get());
    const ItemRecord* busy = nullptr;
    for (const auto& [id, item] : cache.Items()) {
        if (item.count > 0) busy = &item;
    }
    ASSERT_NE(busy, nullptr);
    const int32_t itemId = busy->id, groupId = busy->matterId;
    for (int i = 0; i < 400; ++i) {
        FieldMap fields{{"NAME", ""},
                        {"ITEMID", IntText(itemId)},
                        {"MATTERID", IntText(groupId)},
                        {"VALUE", RealText(0.5f + static_cast<float>(i % 13))},
                        {"SECONDS", IntText(Seconds(2026, 2, 3) + i * 200)}};
        ASSERT_EQ(AddRecord(*demo, cache, RecordKind::Value, std::move(fields)), kChangeOk);
    }
    ExportOptions options = Options("demo.xlsx");
    ASSERT_EQ(ExportValues(demo.get(), cache, options), kExportOk);

    // Recalculate on load, always, in a profile of its own.
    ASSERT_TRUE(QDir(dir_.path()).mkpath("lo/user"));
    {
        QFile config(dir_.filePath("lo/user/registrymodifications.xcu"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
            "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
            "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop oor:name=\"OOXMLRecalcMode\" "
            "oor:op=\"fuse\"><value>0</value></prop></item>\n</oor:items>\n");
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir_.path());
    process.setProcessEnvironment(env);
    process.start(soffice, {"--headless", "--norestore", "-env:UserInstallation=file://" + dir_.filePath("lo"),
                            "--convert-to", "xlsx", "--outdir", dir_.filePath("computed"), dir_.filePath("demo.xlsx")});
    ASSERT_TRUE(process.waitForFinished(300000));
    ASSERT_TRUE(QFile::exists(dir_.filePath("computed/demo.xlsx"))) << process.readAllStandardError().toStdString();

    int compared = 0;
    bool rangeSum = false;
    for (int sheet = 1; sheet <= 2; ++sheet) {
        auto ours = Read("demo.xlsx", sheet);
        auto theirs = Read("computed/demo.xlsx", sheet);
        for (int row = 1; row <= ours->LastRow(); ++row) {
            for (int column = 1; column <= 64; ++column) {
                const CellContent cell = ours->GetCell(row, column);
                if (cell.formula.empty()) continue;
                rangeSum = rangeSum || cell.formula.find("SUM(") != std::string::npos;
                const double stored = Number(*ours, row, column);
                const double computed = Number(*theirs, row, column);
                ASSERT_NEAR(stored, computed, 1e-6 * std::max(1.0, std::fabs(computed)))
                    << "sheet " << sheet << " " << CellAddress(row, column) << " =" << cell.formula;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 1000);
    EXPECT_TRUE(rangeSum) << "the busy day's total is written in the form that fits";
}

}  // namespace
}  // namespace orv
