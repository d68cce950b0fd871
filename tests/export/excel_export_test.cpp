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
#include <fstream>
#include <tuple>

#include "data/HostExtensions.h"
#include "export/ExcelExport.h"
#include "export/workbook/CellAddress.h"
#include "export/workbook/TypedInput.h"
#include "export/workbook/Workbook.h"
#include "support/Dates.h"
#include "support/FileBytes.h"
#include "support/ScriptedServices.h"
#include "tests/data/FakeExtensions.h"
#include "tests/data/TestDatabase.h"
#include "tests/export/workbook/WorkbookFiles.h"

namespace orv {
namespace {

constexpr int32_t kDay = 86400;

class ExcelExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        services_.environment.moduleFile = QStringLiteral(ORV_TEMPLATE_DIR "/ORVUnits.upg");
    }

    int32_t Seconds(int year, int month, int day, int hour = 0, int minute = 0) {
        const HostDateTime date = test::MakeDate(year, month, day, hour, minute);
        int32_t seconds = 0;
        data_.db->DateToSeconds(&seconds, &date);
        return seconds;
    }

    // Units g, kg and mg/dL; three food targets summed in grams and glucose
    // averaged; Food (bread, apple) and Glucose (fasting) with a few values.
    void MakeDiary() {
        test::TestDatabase& d = data_;
        const int32_t g = d.Unit("g", 0, 1.0f);
        d.Unit("kg", g, 1000.0f);
        const int32_t mgdl = d.Unit("1/2", 0, 1.0f);  // a name a spreadsheet would read as a date
        const int32_t carbs = d.Target("Carbohydrates", g);
        d.Target("Fat", g);
        d.Target("Protein", g);
        const int32_t food = d.Group("Food", {carbs, carbs + 1, carbs + 2}, g);
        const int32_t bg = d.Group("Blood glucose", {d.Target("Glucose", mgdl, 1)}, mgdl, 1);
        const int32_t bread = d.Item("Bread", food, {0.5f, 0.1f, 0.2f});
        const int32_t apple = d.Item("Apple", food, {0.1f, 0.0f, 0.0f});
        const int32_t fasting = d.Item("Fasting", bg, {1.0f});
        d.Value(fasting, bg, Seconds(2026, 1, 10, 7), 90.0f);
        d.Value(bread, food, Seconds(2026, 1, 10, 8), 100.0f, "breakfast");
        d.Value(apple, food, Seconds(2026, 1, 10, 12), 150.0f);
        d.Value(fasting, bg, Seconds(2026, 1, 10, 20), 110.0f);
        d.Value(bread, food, Seconds(2026, 1, 11, 9), 50.0f);
    }

    ExportOptions Options(const QString& name, bool interactive = false) {
        ExportOptions options;
        options.destination = dir_.filePath(name).toStdString();
        options.interactive = interactive;
        return options;
    }
    int32_t Values(const ExportOptions& options) { return ExportValues(data_.db.get(), data_.cache, options); }
    int32_t Structure(const ExportOptions& options) { return ExportStructure(data_.db.get(), data_.cache, options); }

    // Opens an exported workbook for reading.
    std::unique_ptr<Workbook> Read(const QString& name, int sheet = 1) {
        auto book = std::make_unique<Workbook>();
        std::string diag;
        EXPECT_EQ(book->Open(dir_.filePath(name).toStdString(), true, &diag), kWorkbookOk) << diag;
        EXPECT_EQ(book->SelectSheet(sheet, &diag), kWorkbookOk) << diag;
        return book;
    }

    QTemporaryDir dir_;
    test::TestDatabase data_{dir_.filePath("orv.sqlite").toStdString()};
    test::ScriptedServices services_;
};

double Number(const Workbook& book, int row, int column) {
    const CellContent cell = book.GetCell(row, column);
    return cell.kind == CellKind::Number ? std::stod(cell.value) : std::nan("");
}

TEST_F(ExcelExportTest, StructureBlocksAndValuesByItemByDayAndByDate) {
    MakeDiary();
    ASSERT_EQ(Structure(Options("structure.xlsx")), kExportOk);
    EXPECT_TRUE(services_.diagnostics.empty()) << services_.diagnostics.front();
    EXPECT_TRUE(services_.shell.Opened().empty()) << "without a user there, the workbook is not opened";
    test::ExpectCells(*Read("structure.xlsx"),
                      {"A8=1", "B8=g", "C8=Unfiled", "D8=", "B9=kg", "D9=1000", "E9=g", "B10=1/2",         // units
                       "B14=Carbohydrates", "D14=g", "E14=Sum", "E17=Average",                             // targets
                       "B21=Food", "D21=Number", "E21=g", "F21=Carbohydrates", "H21=Protein", "D22=Time",  // groups
                       // items, under each group's heading rows with its target units
                       "E27=g", "G27=g", "B28=Bread", "C28=Food", "D28=1.5", "E28=0.5", "G28=0.2", "B29=Apple",
                       "E31=1/2", "A32=3", "B32=Fasting"});
    EXPECT_EQ(Read("structure.xlsx")->GetCell(10, 2).kind, CellKind::Text) << "names are never read as dates";

    ASSERT_EQ(Values(Options("values.xlsx")), kExportOk);
    // By item: each value's per-target formulas, then its notes.
    auto book = Read("values.xlsx");
    test::ExpectCells(*book, {"B2=Food", "F3=g", "B4=Bread", "F4=0.5", "E5=100", "F5=50", "G5=10", "I5=breakfast",
                              "B7=Apple", "F8=15", "B10=Blood glucose", "B12=Fasting", "G13="});
    EXPECT_EQ(book->SheetName(), "Values by Items");
    EXPECT_EQ(book->GetCell(5, 8).formula, "H$4*$E5");
    // The date and time text is read as typed text is: 08:00 is a third of a day.
    EXPECT_NEAR(Number(*book, 5, 2), *DateSerial(2026, 1, 10) + 1.0 / 3.0, 1e-6);

    // By day: carbohydrates 100 * 0.5 + 150 * 0.1, fat 100 * 0.1, glucose
    // (90 + 110) / 2; the second day half a breakfast and no glucose.
    auto byDay = Read("values.xlsx", 2);
    test::ExpectCells(*byDay, {"B1=Carbohydrates", "E1=Glucose", "E2=1/2", "B3=65", "C3=10", "E3=100", "B4=25", "E4="});
    EXPECT_EQ(byDay->LastRow(), 5) << "two days and the closing row";

    test::ExpectCells(*Read("values.xlsx", 3), {"A3=Fasting", "B3=90", "C3=1/2", "D4=breakfast"});
    EXPECT_EQ(Number(*Read("values.xlsx", 3), 2, 1), *DateSerial(2026, 1, 10));
}

// Values sheets of unusual shapes: long histories list only the days with
// values, and a busy day's total adds partial sums.
TEST_F(ExcelExportTest, LongHistoriesListOnlyDaysWithValuesAndBusyDaysAddPartialSums) {
    test::TestDatabase& d = data_;
    const int32_t unit = d.Unit("g", 0, 1.0f);
    const int32_t group = d.Group("Food", {d.Target("Carbs", unit)}, unit);
    const int32_t item = d.Item("Bread", group, {0.5f});
    const int32_t start = Seconds(2020, 1, 1, 12);
    d.Value(item, group, start, 10.0f);
    d.Value(item, group, start + 3 * kDay, 10.0f);
    ASSERT_EQ(Values(Options("short.xlsx")), kExportOk);
    EXPECT_EQ(Read("short.xlsx", 2)->LastRow(), 2 + 4 + 1) << "every day of a short history";

    d.Value(item, group, start + 1001 * kDay, 10.0f);
    ASSERT_EQ(Values(Options("long.xlsx")), kExportOk);
    auto book = Read("long.xlsx", 2);
    int days = 0;
    for (int row = 3; row <= book->LastRow(); ++row) days += book->GetCell(row, 2).formula.empty() ? 0 : 1;
    EXPECT_EQ(days, 3);
    EXPECT_LE(book->LastRow(), 2 + 3 + 1);

    // Without values the workbook is still written, without days.
    for (const auto& [id, value] : d.cache.Values()) ASSERT_EQ(DeleteRecord(value.record), kChangeOk);
    EXPECT_EQ(Values(Options("empty.xlsx")), kExportNoValues);
    EXPECT_TRUE(QFile::exists(dir_.filePath("empty.xlsx")));

    // Values of 400 items on one day lie apart on the values sheet, so the
    // day's total adds partial sums kept right of the target columns, one
    // column apart.
    const int32_t day = Seconds(2026, 3, 1);
    for (int i = 0; i < 400; ++i)
        d.Value(d.Item("Food " + std::to_string(i), group, {0.5f}), group, day + i * 60, 2.0f);
    ASSERT_EQ(Values(Options("many.xlsx")), kExportOk);
    auto busy = Read("many.xlsx", 2);
    EXPECT_EQ(busy->GetCell(3, 3).kind, CellKind::Blank) << "one column apart from the targets";
    EXPECT_FALSE(busy->GetCell(3, 4).formula.empty()) << "the first partial sum";
    const CellContent total = busy->GetCell(3, 2);
    EXPECT_NE(total.formula.find("D3"), std::string::npos) << total.formula;
    EXPECT_DOUBLE_EQ(std::stod(total.value), 400.0);
}

// Stopped exports write nothing; a completed one replaces an existing file
// and opens it, or says where it went.
TEST_F(ExcelExportTest, StoppedExportsWriteNothingAndDoneOnesAreOpened) {
    MakeDiary();
    // No directory in the module's path: only the message, no dialog.
    std::string message;
    ExportOptions noDir;
    noDir.message = &message;
    services_.environment.moduleFile = QStringLiteral("ORVUnits.upg");
    EXPECT_EQ(Values(noDir), kExportStopped);
    EXPECT_EQ(services_.prompter.count(), 1u);
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(services_.dialogs.SaveRequests().empty());

    // A cancelled save dialog writes nothing.
    services_.environment.moduleFile = QStringLiteral(ORV_TEMPLATE_DIR "/ORVUnits.upg");
    services_.dialogs.AnswerSaveFile(std::nullopt);
    EXPECT_EQ(Structure(ExportOptions{}), kExportStopped);
    ASSERT_EQ(services_.dialogs.SaveRequests().size(), 1u);
    EXPECT_TRUE(services_.dialogs.SaveRequests().front().request.confirmOverwrite)
        << "an existing file is replaced only when the user says so";

    // A missing template is reported after the destination was chosen.
    services_.environment.moduleFile = dir_.filePath("ORVUnits.upg");
    EXPECT_EQ(Structure(Options("never.xlsx", true)), kExportStopped);
    EXPECT_EQ(services_.prompter.count(), 2u);
    EXPECT_TRUE(QDir(dir_.path()).entryList({"*.xlsx"}).isEmpty());
    EXPECT_TRUE(services_.shell.Opened().empty());

    // An existing file is replaced, then opened.
    services_.environment.moduleFile = QStringLiteral(ORV_TEMPLATE_DIR "/ORVUnits.upg");
    const QString path = dir_.filePath("existing.xlsx");
    std::ofstream(path.toStdString()) << "old content";
    services_.dialogs.AnswerSaveFile(path);
    EXPECT_EQ(Structure(ExportOptions{}), kExportOk);
    EXPECT_EQ(Read("existing.xlsx")->GetCell(8, 2).value, "g");
    EXPECT_EQ(services_.shell.Opened(), std::vector{QUrl::fromLocalFile(path)});
    EXPECT_EQ(services_.prompter.count(), 2u);

    // Without a program to open it, the user is told where it was written.
    services_.dialogs.AnswerSaveFile(path);
    services_.shell.SetSucceeds(false);
    EXPECT_EQ(Structure(ExportOptions{}), kExportOk);
    ASSERT_EQ(services_.prompter.count(), 3u);
    EXPECT_TRUE(services_.prompter.last().text().contains(path));
}

// A failed export leaves what was there and nothing else, and says why in
// plain words besides the engine's diagnostic texts; the open database is
// never a destination.
TEST_F(ExcelExportTest, AFailedExportLeavesTheOldFileAndNoJunkAndTheDatabaseIsNeverReplaced) {
    MakeDiary();
    ASSERT_TRUE(QDir(dir_.path()).mkpath("out"));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("broken"));
    std::ofstream(dir_.filePath("broken/export_tmp_values.xlsx").toStdString()) << "junk!";
    const QString old = dir_.filePath("out/values.xlsx");
    std::ofstream(old.toStdString()) << "the workbook of last week";
    // Case, the module's folder, destination, the reason the user reads.
    const std::tuple<const char*, QString, QString, const char*> cases[] = {
        {"damaged template", dir_.filePath("broken"), old, "is damaged"},
        {"missing folder", ORV_TEMPLATE_DIR, dir_.filePath("missing/values.xlsx"), "the folder does not exist"},
    };
    for (const auto& [name, moduleDir, destination, reason] : cases) {
        SCOPED_TRACE(name);
        services_.diagnostics.clear();
        services_.environment.moduleFile = moduleDir + "/ORVUnits.upg";
        ExportOptions options = Options("unused.xlsx", true);
        options.destination = destination.toStdString();
        EXPECT_EQ(Values(options), kExportCopyOpenFailed);
        const auto& log = services_.diagnostics;
        EXPECT_NE(std::find(log.begin(), log.end(), "ORV Conduit warning: Excel open worksheet error"), log.end());
        EXPECT_TRUE(services_.prompter.last().text().contains(reason))
            << services_.prompter.last().text().toStdString();
        EXPECT_EQ(test::FileBytes(old), "the workbook of last week");
        EXPECT_EQ(QDir(dir_.filePath("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"values.xlsx"});
        EXPECT_FALSE(QFileInfo::exists(dir_.filePath("missing")));
    }
    EXPECT_TRUE(services_.shell.Opened().empty()) << "nothing was written, so nothing is opened";

    // The open database is never replaced, whatever name leads to it.
    const QString database = dir_.filePath("orv.sqlite");
    test::FakeExtensions host;  // names its database file, as the SQLite host does
    host.path = database.toStdString();
    SetCurrentHostExtensions(&host);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("sub"));
    ASSERT_TRUE(QFile::link(database, dir_.filePath("link.xlsx")));
    const QByteArray before = test::FileBytes(database);
    ASSERT_FALSE(before.isEmpty());

    for (const char* name : {"orv.sqlite", "link.xlsx", "sub/../orv.sqlite", "orv.sqlite-wal"}) {
        EXPECT_EQ(Values(Options(name, true)), kExportStopped) << name;
        EXPECT_TRUE(services_.prompter.last().text().contains("is the open database")) << name;
        EXPECT_EQ(test::FileBytes(database), before) << name;
    }
    SetCurrentHostExtensions(nullptr);
    EXPECT_TRUE(QFileInfo(dir_.filePath("link.xlsx")).isSymLink());
}

// Cell by cell, the results the export stores with its formulas equal what a
// spreadsheet program computes from them, for a diary with a busy day whose
// total needs range sums. The program is told to recalculate every formula on
// load rather than show the stored results.
TEST_F(ExcelExportTest, StoredResultsEqualWhatASpreadsheetProgramComputes) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) GTEST_SKIP() << "no spreadsheet program (soffice) installed";
    MakeDiary();
    int32_t group = 0;
    for (const auto& [id, entry] : data_.cache.Groups())
        if (entry.name == "Food") group = id;
    const int32_t item = data_.Item("Busy", group, {0.5f, 0.25f, 0.125f});
    for (int i = 0; i < 400; ++i)
        data_.Value(item, group, Seconds(2026, 1, 12) + i * 200, 0.5f + static_cast<float>(i % 13));
    ASSERT_EQ(Values(Options("diary.xlsx")), kExportOk);

    // Recalculate on load, always, in a profile of its own.
    ASSERT_TRUE(QDir(dir_.path()).mkpath("lo/user"));
    std::ofstream(dir_.filePath("lo/user/registrymodifications.xcu").toStdString())
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
           "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
           "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop oor:name=\"OOXMLRecalcMode\" "
           "oor:op=\"fuse\"><value>0</value></prop></item>\n</oor:items>\n";
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir_.path());
    process.setProcessEnvironment(env);
    process.start(soffice,
                  {"--headless", "--norestore", "-env:UserInstallation=file://" + dir_.filePath("lo"), "--convert-to",
                   "xlsx", "--outdir", dir_.filePath("computed"), dir_.filePath("diary.xlsx")});
    ASSERT_TRUE(process.waitForFinished(300000));
    ASSERT_TRUE(QFile::exists(dir_.filePath("computed/diary.xlsx"))) << process.readAllStandardError().toStdString();

    int compared = 0;
    bool rangeSum = false;
    for (int sheet = 1; sheet <= 2; ++sheet) {
        const auto ours = Read("diary.xlsx", sheet);
        const auto theirs = Read("computed/diary.xlsx", sheet);
        for (int row = 1; row <= ours->LastRow(); ++row) {
            for (int column = 1; column <= 64; ++column) {
                const CellContent cell = ours->GetCell(row, column);
                if (cell.formula.empty()) continue;
                rangeSum = rangeSum || cell.formula.find("SUM(") != std::string::npos;
                const double computed = Number(*theirs, row, column);
                ASSERT_NEAR(Number(*ours, row, column), computed, 1e-6 * std::max(1.0, std::fabs(computed)))
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
