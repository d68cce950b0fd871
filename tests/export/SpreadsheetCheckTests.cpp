// An independent reader: LibreOffice opens a workbook the engine filled,
// recalculates it and writes every sheet as CSV. Skipped where soffice is
// not installed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "WorkbookFiles.h"
#include "export/workbook/Workbook.h"

namespace orv {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SpreadsheetCheck, LibreOfficeComputesTheCopiedAndMovedFormulas) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0) GTEST_SKIP() << "soffice is not installed";
    test::ScratchDir dir;
    const std::string path = dir.File("values.xlsx");
    std::filesystem::copy_file(std::string(ORV_TEMPLATE_DIR) + "/export_tmp_values.xlsx", path);
    Workbook book;
    std::string diag;
    ASSERT_EQ(book.Open(path, false, &diag), kWorkbookOk) << diag;

    ASSERT_NO_FATAL_FAILURE(test::FillValuesByItems(book));

    // Sheet 2: a sum and an average over cells of sheet 1, then its own
    // template rows deleted.
    ASSERT_EQ(book.SelectSheet(2), kWorkbookOk);
    ASSERT_EQ(book.CopyRows(1, 2, 5, 0), 7);
    ASSERT_EQ(book.SetLiteralText(5, 2, "Carbs"), kWorkbookOk);
    ASSERT_EQ(book.CopyRows(3, 1, 7, 0), 8);
    ASSERT_EQ(book.SetText(7, 1, "8/27/2008"), kWorkbookOk);
    ASSERT_EQ(book.SetText(7, 2, "=('Values by Items'!F5+'Values by Items'!F6)"), kWorkbookOk);
    ASSERT_EQ(book.CopyRows(3, 1, 8, 0), 9);
    ASSERT_EQ(book.SetText(8, 1, "8/28/2008"), kWorkbookOk);
    ASSERT_EQ(book.SetText(8, 2, "=('Values by Items'!G5+'Values by Items'!G7)/2"), kWorkbookOk);
    ASSERT_EQ(book.CopyRows(4, 1, 9, 0), 10);
    ASSERT_EQ(book.DeleteRows(1, 4, &diag), kWorkbookOk) << diag;
    ASSERT_EQ(book.Close(true, &diag), kWorkbookOk) << diag;

    // Its own profile, so that runs in parallel do not share one.
    const std::string command = "cd '" + dir.File("") + "' && timeout 180 soffice -env:UserInstallation=file://" +
                                dir.File("profile") +
                                " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,"
                                "false,false,false,-1' values.xlsx > convert.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(dir.File("convert.log"));
    const std::string items = ReadFile(dir.File("values-Values by Items.csv"));
    const std::string days = ReadFile(dir.File("values-Targets by Day.csv"));
    EXPECT_NE(items.find(",Food,"), std::string::npos) << items;
    EXPECT_NE(items.find("08/27/2008 07:05:03,,,100,25,200"), std::string::npos) << items;
    EXPECT_NE(items.find("08/29/2008 07:05:03,,,300,75,600"), std::string::npos) << items;
    EXPECT_NE(days.find("08/27/2008,75\n"), std::string::npos) << days;   // 25 + 50
    EXPECT_NE(days.find("08/28/2008,400\n"), std::string::npos) << days;  // (200 + 600) / 2
}

}  // namespace
}  // namespace orv
