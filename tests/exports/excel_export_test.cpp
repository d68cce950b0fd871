// The structure and values exports on a small database whose figures can be
// worked out by hand, read back with the workbook engine and, where a
// spreadsheet program is installed, recomputed by it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "data/FieldText.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "export/ExcelAutomation.h"
#include "export/ExcelExport.h"
#include "export/workbook/TypedInput.h"
#include "export/workbook/Workbook.h"
#include "host/db/SqliteHostDatabase.h"
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
        SetAutomationLogHook([this](const std::string& text) { log_.push_back(text); });
    }
    void TearDown() override { SetAutomationLogHook({}); }

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
        HostDateTime date;
        date.year = static_cast<uint16_t>(year);
        date.month = static_cast<uint16_t>(month);
        date.day = static_cast<uint16_t>(day);
        date.hour = static_cast<uint16_t>(hour);
        date.minute = static_cast<uint16_t>(minute);
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
        options.modulePath = std::string(ORV_TEMPLATE_DIR) + "/ORVUnits.upg";
        options.destination = dir_.filePath(name).toStdString();
        options.openWhenDone = false;
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
    std::vector<std::string> log_;
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
    EXPECT_TRUE(log_.empty()) << log_.front();
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
    noDir.modulePath = "ORVUnits.upg";
    noDir.message = &message;
    noDir.openWhenDone = false;
    EXPECT_EQ(ExportValues(db_.get(), cache_, noDir), kExportStopped);
    ASSERT_EQ(services_.prompter.messages().size(), 1u);
    EXPECT_EQ(services_.prompter.last().text(), "Cannot find template directory!");
    EXPECT_EQ(services_.prompter.last().caption(), "ORV Desktop");
    EXPECT_TRUE(services_.dialogs.saveRequests().empty());

    // A cancelled save dialog writes nothing.
    ExportOptions asked;
    asked.modulePath = std::string(ORV_TEMPLATE_DIR) + "/ORVUnits.upg";
    services_.dialogs.answerSaveFile(std::nullopt);
    EXPECT_EQ(ExportStructure(db_.get(), cache_, asked), kExportStopped);
    ASSERT_EQ(services_.dialogs.saveRequests().size(), 1u);
    const SaveFileRequest& request = services_.dialogs.saveRequests().front().request;
    EXPECT_EQ(request.filters, QStringList{"Excel workbook (*.xlsx)"});
    EXPECT_EQ(request.defaultSuffix, "xlsx");
    EXPECT_TRUE(request.confirmOverwrite) << "an existing file is replaced only when the user says so";
    EXPECT_TRUE(QDir(dir_.path()).entryList({"*.xlsx"}).isEmpty());
    EXPECT_TRUE(services_.shell.opened().empty());

    // A missing template is reported after the destination was chosen.
    ExportOptions missing = Options("never.xlsx");
    missing.modulePath = dir_.filePath("ORVUnits.upg").toStdString();
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
    options.modulePath = std::string(ORV_TEMPLATE_DIR) + "/ORVUnits.upg";
    services_.dialogs.answerSaveFile(path);
    EXPECT_EQ(ExportStructure(db_.get(), cache_, options), kExportOk);
    EXPECT_EQ(Text(*Read("existing.xlsx"), 8, 2), "g");
    ASSERT_EQ(services_.shell.opened().size(), 1u);
    EXPECT_EQ(services_.shell.opened().front().toLocalFile(), path);
}

// A spreadsheet program opens the values workbook and computes the daily
// totals on sheet 2: they must equal what the cache gives for those days.
TEST_F(ExcelExportTest, SpreadsheetProgramComputesTheDailyTotals) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) GTEST_SKIP() << "no spreadsheet program (soffice) installed";
    MakeDiary();
    ASSERT_EQ(ExportValues(db_.get(), cache_, Options("values.xlsx")), kExportOk);

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir_.path());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir_.path());
    // Sheet 2 only, as comma-separated values with the shown (formatted) texts.
    process.start(soffice,
                  {"--headless", "--norestore", "-env:UserInstallation=file://" + dir_.filePath("lo"), "--convert-to",
                   "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,2", "--outdir",
                   dir_.filePath("csv"), dir_.filePath("values.xlsx")});
    ASSERT_TRUE(process.waitForFinished(180000));
    QFile csv(dir_.filePath("csv/values-Targets by Day.csv"));
    if (!csv.exists()) csv.setFileName(dir_.filePath("csv/values.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << process.readAllStandardError().toStdString()
                                               << QDir(dir_.filePath("csv")).entryList().join(",").toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');
    ASSERT_GE(lines.size(), 4);
    const auto cell = [&](int row, int column) {
        QStringList cells = lines[row - 1].split(',');
        return column - 1 < cells.size() ? cells[column - 1].remove('"').toDouble() : std::nan("");
    };
    // The cache's own daily totals: for every value of the day, its amount
    // times its item's amount of the target; averaged for glucose.
    const auto cacheTotal = [&](int32_t target, int32_t dayStart, bool average) {
        double sum = 0;
        int n = 0;
        for (const auto& [seconds, value] : cache_.ValuesInTime()) {
            if (seconds < dayStart || seconds >= dayStart + kDay) continue;
            const ItemRecord* item = cache_.FindItem(value->itemId);
            const GroupRecord* group = cache_.FindGroup(item->matterId);
            for (std::size_t i = 0; i < group->targets.size(); ++i) {
                if (group->targets[i] != target) continue;
                sum += static_cast<double>(value->value) * item->values[i];
                ++n;
            }
        }
        return average ? sum / n : sum;
    };
    const int32_t day1 = Seconds(2026, 1, 10);
    const int32_t day2 = Seconds(2026, 1, 11);
    for (int t = 0; t < 3; ++t) {
        EXPECT_NEAR(cell(3, 2 + t), cacheTotal(carbs_ + t, day1, false), 1e-4) << "target " << t;
        EXPECT_NEAR(cell(4, 2 + t), cacheTotal(carbs_ + t, day2, false), 1e-4) << "target " << t;
    }
    EXPECT_NEAR(cell(3, 5), cacheTotal(glucose_, day1, true), 1e-4);

    // And by hand. Day 1: carbohydrates 100 * 0.5 + 150 * 0.1, fat
    // 100 * 0.1, protein 100 * 0.2, glucose (90 + 110) / 2. Day 2: half a
    // breakfast.
    EXPECT_NEAR(cell(3, 2), 65.0, 1e-4);
    EXPECT_NEAR(cell(3, 3), 10.0, 1e-4);
    EXPECT_NEAR(cell(3, 4), 20.0, 1e-4);
    EXPECT_NEAR(cell(3, 5), 100.0, 1e-4);
    EXPECT_NEAR(cell(4, 2), 25.0, 1e-4);
    EXPECT_NEAR(cell(4, 3), 5.0, 1e-4);
}

}  // namespace
}  // namespace orv
