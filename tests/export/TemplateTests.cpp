// The export templates as the build zips them next to the module.

#include <gtest/gtest.h>

#include <filesystem>

#include "WorkbookFiles.h"
#include "export/workbook/Workbook.h"

namespace orv {
namespace {

const std::string kTemplateDir = ORV_TEMPLATE_DIR;

std::string TextAt(const Workbook& book, int row, int column) { return book.GetCell(row, column).value; }

TEST(Templates, TheStructureTemplateHasItsBlocksWhereTheExportCopiesThem) {
    Workbook book;
    std::string diag;
    ASSERT_EQ(book.Open(kTemplateDir + "/export_tmp_struct.xlsx", true, &diag), kWorkbookOk) << diag;
    ASSERT_EQ(book.SheetCount(), 1);
    EXPECT_EQ(book.SheetName(), "Structure");
    EXPECT_EQ(TextAt(book, 6, 1), "Units");
    EXPECT_EQ(TextAt(book, 7, 2), "Unit");
    EXPECT_EQ(TextAt(book, 10, 1), "Targets");
    EXPECT_EQ(TextAt(book, 14, 1), "Groups");
    EXPECT_EQ(TextAt(book, 15, 6), "Targets");
    EXPECT_EQ(TextAt(book, 18, 1), "Items");
    EXPECT_EQ(TextAt(book, 21, 4), "Target units");
    for (int row : {8, 12, 16, 22}) EXPECT_NE(book.GetCell(row, 1).style, 0u) << "count column of row " << row;
    EXPECT_EQ(book.LastRow(), 22);
}

TEST(Templates, TheValuesTemplateHasItsThreeSheets) {
    Workbook book;
    std::string diag;
    ASSERT_EQ(book.Open(kTemplateDir + "/export_tmp_values.xlsx", true, &diag), kWorkbookOk) << diag;
    ASSERT_EQ(book.SheetCount(), 3);
    EXPECT_EQ(book.SheetName(), "Values by Items");
    EXPECT_EQ(TextAt(book, 1, 2), "Group");
    EXPECT_EQ(book.LastRow(), 6);
    ASSERT_EQ(book.SelectSheet(2), kWorkbookOk);
    EXPECT_EQ(book.SheetName(), "Targets by Day");
    EXPECT_EQ(TextAt(book, 1, 1), "Day");
    EXPECT_EQ(book.LastRow(), 4);
    ASSERT_EQ(book.SelectSheet(3), kWorkbookOk);
    EXPECT_EQ(book.SheetName(), "Values by Date");
    EXPECT_EQ(TextAt(book, 2, 4), "Notes");
    EXPECT_EQ(book.LastRow(), 4);
}

TEST(Templates, ContentTypesComeFirstInTheArchive) {
    for (const char* name : {"export_tmp_struct.xlsx", "export_tmp_values.xlsx"}) {
        std::vector<std::string> order;
        test::ReadZip(kTemplateDir + "/" + name, &order);
        ASSERT_FALSE(order.empty());
        EXPECT_EQ(order.front(), "[Content_Types].xml") << name;
    }
}

// The values sheet filled the way the export fills it, saved and reopened.
TEST(Templates, AValuesBlockFilledBelowTheTemplateMovesUpWithItsFormulas) {
    test::ScratchDir dir;
    const std::string path = dir.File("values.xlsx");
    std::filesystem::copy_file(kTemplateDir + "/export_tmp_values.xlsx", path);
    Workbook book;
    std::string diag;
    ASSERT_EQ(book.Open(path, false, &diag), kWorkbookOk) << diag;
    ASSERT_NO_FATAL_FAILURE(test::FillValuesByItems(book));
    EXPECT_EQ(book.GetCell(2, 2).value, "Food");
    EXPECT_EQ(book.GetCell(5, 6).formula, "F$4*$E5");
    const CellContent when = book.GetCell(5, 2);
    EXPECT_EQ(when.kind, CellKind::Number);
    EXPECT_EQ(when.value.substr(0, 9), "39687.295");  // 7:05:03 is 0.2951... of a day
    ASSERT_EQ(book.Close(true, &diag), kWorkbookOk) << diag;

    ASSERT_EQ(book.Open(path, true, &diag), kWorkbookOk) << diag;
    EXPECT_EQ(book.LastRow(), 8);
    EXPECT_EQ(book.GetCell(7, 7).formula, "G$4*$E7");
    EXPECT_EQ(book.GetCell(4, 6).value, "0.25");
}

}  // namespace
}  // namespace orv
