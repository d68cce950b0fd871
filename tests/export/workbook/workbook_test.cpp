// The workbook engine on whole files: round trips, cell writing, copying and
// deleting rows, and refusing damaged input.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <locale>
#include <tuple>

#include "WorkbookFiles.h"
#include "export/workbook/Workbook.h"

namespace orv {
namespace {

using test::BookSpec;
using test::BuildWorkbook;
using test::CellXml;
using test::ExpectCells;
using test::ParseXml;
using test::Query;
using test::ReadZip;
using test::SheetXml;
using test::WriteZip;
using Strings = std::vector<std::string>;

constexpr const char* kSheet1 = "xl/worksheets/sheet1.xml";
constexpr const char* kSheet2 = "xl/worksheets/sheet2.xml";

class WorkbookTest : public ::testing::Test {
protected:
    // Writes a workbook to the scratch folder and opens it.
    void OpenBook(const BookSpec& layout, bool readOnly = false) {
        source_ = dir_.File("in.xlsx");
        WriteZip(source_, BuildWorkbook(layout));
        ASSERT_EQ(book_.Open(source_, readOnly, &diag_), kWorkbookOk) << diag_;
    }

    // Opens a workbook with one sheet, "S", holding the given sheetData.
    void OpenSheet(const std::string& sheetData, const std::string& after = "", bool readOnly = false) {
        OpenBook({.sheets = {{"S", SheetXml(sheetData, after)}}}, readOnly);
    }

    // Saves as out.xlsx and returns the saved parts, and their order.
    std::map<std::string, std::string> SaveAndRead(std::vector<std::string>* order = nullptr) {
        EXPECT_EQ(book_.SaveAs(dir_.File("out.xlsx"), &diag_), kWorkbookOk) << diag_;
        return ReadZip(dir_.File("out.xlsx"), order);
    }

    test::ScratchDir dir_;
    Workbook book_;
    std::string source_;
    std::string diag_;
};

// --- round trip ------------------------------------------------------------

// Saving keeps every part it did not change byte for byte, drops the
// calculation chain and asks for a full recalculation on load.
TEST_F(WorkbookTest, UntouchedPartsAreSavedByteForByteButTheCalculationChain) {
    OpenBook({.sheets = {{"First", SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>")},
                         {"Second", SheetXml("<row r=\"2\"><c r=\"B2\"><v>7</v></c></row>")}},
              .sharedStrings = "<si><t>kept</t></si>",
              .calcChain = true,
              .extraParts = {{"xl/theme/theme1.xml", "<a:theme xmlns:a=\"urn:x\"  name=\"Office\" >\n</a:theme>"},
                             {"xl/media/image1.png", std::string("\x89PNG\r\n\x1a\n\0\0\xff", 11)},
                             {"docProps/core.xml", "<cp:coreProperties xmlns:cp=\"urn:cp\"/>"}}});
    const auto original = ReadZip(source_);
    ASSERT_EQ(book_.SetNumber(3, 1, 2.5), kWorkbookOk);
    std::vector<std::string> order;
    const auto saved = SaveAndRead(&order);
    for (const char* name : {kSheet2, "xl/styles.xml", "xl/sharedStrings.xml", "xl/theme/theme1.xml",
                             "xl/media/image1.png", "docProps/core.xml", "_rels/.rels"})
        EXPECT_EQ(saved.count(name) ? saved.at(name) : "(missing)", original.at(name)) << name;
    EXPECT_NE(saved.at(kSheet1), original.at(kSheet1));
    EXPECT_EQ(order.front(), "[Content_Types].xml");
    EXPECT_FALSE(saved.count("xl/calcChain.xml"));
    for (const char* part : {"[Content_Types].xml", "xl/_rels/workbook.xml.rels"})
        EXPECT_EQ(saved.at(part).find("calcChain"), std::string::npos) << part;
    EXPECT_EQ(Query(ParseXml(saved.at("xl/workbook.xml")), {"//calcPr/@fullCalcOnLoad", "//calcPr/@calcId"}),
              (Strings{"1", "191029"}));

    Workbook reopened;
    ASSERT_EQ(reopened.Open(dir_.File("out.xlsx"), true, &diag_), kWorkbookOk) << diag_;
    ExpectCells(reopened, {"A1=kept", "A3=2.5"});
    // Saving the saved file again changes nothing.
    ASSERT_EQ(reopened.SaveAs(dir_.File("again.xlsx"), &diag_), kWorkbookOk) << diag_;
    EXPECT_EQ(ReadZip(dir_.File("again.xlsx")), saved);
}

TEST_F(WorkbookTest, RowsAndCellsAreSavedStrictlyAscendingWithoutDuplicates) {
    OpenSheet(
        "<row r=\"3\"><c r=\"C3\"><v>1</v></c><c r=\"A3\"><v>2</v></c></row>"
        "<row r=\"1\"><c r=\"B1\"><v>3</v></c></row>"
        "<row r=\"3\"><c r=\"C3\"><v>4</v></c><c r=\"E3\"><v>5</v></c></row>"
        "<row><c><v>6</v></c></row>");
    ASSERT_EQ(book_.SetNumber(2, 4, 9.0), kWorkbookOk);
    const auto sheet = ParseXml(SaveAndRead().at(kSheet1));
    Strings refs;  // row numbers and the cells of each row
    for (const auto& row : sheet.select_nodes("//row")) {
        refs.push_back(row.node().attribute("r").value());
        for (pugi::xml_node c : row.node().children("c")) refs.push_back(c.attribute("r").value());
    }
    EXPECT_EQ(refs, (Strings{"1", "B1", "2", "D2", "3", "A3", "C3", "E3", "4", "A4"}));
    // The later duplicate wins.
    EXPECT_EQ(Query(sheet, {"//c[@r='C3']/v", "//dimension/@ref"}), (Strings{"4", "A1:E4"}));
}

// --- writing cells ---------------------------------------------------------

TEST_F(WorkbookTest, FormulasAreWrittenBeforeValuesWithAResultOnlyWhenOneIsGiven) {
    // A hand-made file with <v> before <f>: saved in the required order.
    OpenSheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v><f>A1+1</f></c></row>");
    ASSERT_EQ(book_.SetText(2, 1, "=SUM(A1:B1)*2"), kWorkbookOk);
    ASSERT_EQ(book_.SetFormula(2, 2, "A1*0.1", 0.1), kWorkbookOk);
    ASSERT_EQ(book_.SetFormula(2, 3, "A1/0", std::nan("")), kWorkbookOk);
    EXPECT_EQ(CellXml(ParseXml(SaveAndRead().at(kSheet1)), {"B1", "A2", "B2", "C2"}),
              (Strings{"<c r=\"B1\"><f>A1+1</f><v>2</v></c>", "<c r=\"A2\"><f>SUM(A1:B1)*2</f></c>",
                       "<c r=\"B2\"><f>A1*0.1</f><v>0.1</v></c>", "<c r=\"C2\"><f>A1/0</f></c>"}));
}

TEST_F(WorkbookTest, SharedStringsAreReusedAndCountedCorrectly) {
    OpenBook({.sheets = {{"S", SheetXml("")}},
              .sharedStrings = "<si><t>alpha</t></si><si><r><t>rich</t></r><r><rPr><b/></rPr><t>text</t></r></si>"});
    ASSERT_EQ(book_.SetText(1, 1, "alpha"), kWorkbookOk);
    ASSERT_EQ(book_.SetText(1, 2, "beta"), kWorkbookOk);
    ASSERT_EQ(book_.SetText(2, 2, "beta"), kWorkbookOk);
    ASSERT_EQ(book_.SetText(2, 3, "richtext"), kWorkbookOk);  // not merged with the rich item
    const auto saved = SaveAndRead();
    EXPECT_EQ(CellXml(ParseXml(saved.at(kSheet1)), {"A1", "B1", "B2", "C2"}),
              (Strings{"<c r=\"A1\" t=\"s\"><v>0</v></c>", "<c r=\"B1\" t=\"s\"><v>2</v></c>",
                       "<c r=\"B2\" t=\"s\"><v>2</v></c>", "<c r=\"C2\" t=\"s\"><v>3</v></c>"}));
    // No total count (a stale one is worse than none); rich text kept as it was.
    EXPECT_EQ(Query(ParseXml(saved.at("xl/sharedStrings.xml")),
                    {"/sst/@uniqueCount", "count(/sst/@count)", "count(/sst/si)", "count(/sst/si[2]/r[2]/rPr/b)"}),
              (Strings{"4", "0", "4", "1"}));
}

TEST_F(WorkbookTest, AWorkbookWithoutSharedStringsGetsTheTableWhenTextIsWritten) {
    OpenSheet("");
    const std::string awkward = " <tag> & \"q\"\x01 ";
    ASSERT_EQ(book_.SetText(1, 1, awkward), kWorkbookOk);
    ASSERT_EQ(book_.SetLiteralText(2, 1, "=not a formula"), kWorkbookOk);
    ASSERT_EQ(book_.SetLiteralText(3, 1, "007"), kWorkbookOk);
    const auto saved = SaveAndRead();
    EXPECT_NE(saved.at("[Content_Types].xml").find("/xl/sharedStrings.xml"), std::string::npos);
    EXPECT_NE(saved.at("xl/_rels/workbook.xml.rels").find("sharedStrings"), std::string::npos);
    Workbook reopened;
    ASSERT_EQ(reopened.Open(dir_.File("out.xlsx"), true, &diag_), kWorkbookOk) << diag_;
    EXPECT_EQ(std::pair(reopened.GetCell(1, 1).kind, reopened.GetCell(1, 1).value), std::pair(CellKind::Text, awkward));
    ExpectCells(reopened, {"A2==not a formula", "A3=007"});
}

// A locale whose decimal separator is a comma, as on many desktops.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST_F(WorkbookTest, NumbersAreWrittenWithAPointWhateverTheLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const std::string previousC = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // when installed
    OpenSheet("");
    ASSERT_EQ(book_.SetNumber(1, 1, 1.5), kWorkbookOk);
    ASSERT_EQ(book_.SetNumber(1, 2, 0.1f), kWorkbookOk);
    ASSERT_EQ(book_.SetText(1, 3, "2.250000"), kWorkbookOk);
    book_.SetCurrentRow(4);
    ASSERT_EQ(book_.SetWholeNumber(2, -17), kWorkbookOk);
    const auto sheet = ParseXml(SaveAndRead().at(kSheet1));
    std::locale::global(previous);
    std::setlocale(LC_NUMERIC, previousC.c_str());
    EXPECT_EQ(CellXml(sheet, {"A1", "B1", "C1", "B4"}),
              (Strings{"<c r=\"A1\"><v>1.5</v></c>", "<c r=\"B1\"><v>0.1</v></c>", "<c r=\"C1\"><v>2.25</v></c>",
                       "<c r=\"B4\"><v>-17</v></c>"}));
}

TEST_F(WorkbookTest, ADateTypedIntoAGeneralCellGetsADateFormat) {
    OpenSheet("<row r=\"1\"><c r=\"B1\" s=\"2\"/></row>");
    ASSERT_EQ(book_.SetText(1, 1, "8/27/2008 12:0:0"), kWorkbookOk);
    ASSERT_EQ(book_.SetText(2, 1, "8/28/2008 6:0:0"), kWorkbookOk);
    ASSERT_EQ(book_.SetText(1, 2, "8/27/2008"), kWorkbookOk);
    const auto saved = SaveAndRead();
    // The added format is reused; a cell already formatted keeps its format.
    EXPECT_EQ(CellXml(ParseXml(saved.at(kSheet1)), {"A1", "B1", "A2"}),
              (Strings{"<c r=\"A1\" s=\"3\"><v>39687.5</v></c>", "<c r=\"B1\" s=\"2\"><v>39687</v></c>",
                       "<c r=\"A2\" s=\"3\"><v>39688.25</v></c>"}));
    EXPECT_EQ(Query(ParseXml(saved.at("xl/styles.xml")), {"//cellXfs/@count", "//cellXfs/xf[4]/@numFmtId"}),
              (Strings{"4", "22"}));
}

// A cell written into an empty place of a row takes the row's style only
// when the row's style attribute is a valid style number.
TEST_F(WorkbookTest, ANewCellTakesTheRowStyleOnlyWhenItIsValid) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"1", 1}, {"bogus", 0}, {"-1", 0}, {"", 0}, {"99999999999", 0}};
    for (const auto& [style, expected] : rows) {
        OpenSheet(std::string("<row r=\"1\" s=\"") + style + "\" customFormat=\"1\"><c r=\"A1\"/></row>");
        ASSERT_EQ(book_.SetNumber(1, 3, 2.0), kWorkbookOk) << "s=\"" << style << '"';
        EXPECT_EQ(book_.GetCell(1, 3).style, expected) << "s=\"" << style << '"';
        ASSERT_EQ(book_.Close(false), kWorkbookOk);
    }
}

// --- copying rows ----------------------------------------------------------

class CopyRowsTest : public WorkbookTest {
protected:
    void SetUp() override {
        OpenSheet(
            "<row r=\"1\" ht=\"20\" customHeight=\"1\"><c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t>Head</t></is></c>"
            "<c r=\"B1\" s=\"1\"/></row>"
            "<row r=\"2\"><c r=\"A2\" s=\"2\"/><c r=\"B2\"><f>A2*2</f><v>0</v></c>"
            "<c r=\"C2\"><f>$A$1&amp;A1</f></c></row>"
            "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>end</t></is></c></row>"
            "<row r=\"10\"><c r=\"D10\"><v>99</v></c></row>",
            "<mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/></mergeCells>");
    }
};

TEST_F(CopyRowsTest, TheRepeatRuleCopiesTheNextRowThatOftenThenTheClosingRow) {
    // Arguments outside the sheet are refused and change nothing.
    for (const auto& [first, count, destination, repeat] :
         {std::tuple{0, 1, 5, 0}, {1, -1, 5, 0}, {1, 1, 1048576, 1}, {1, 1, 5, 2000000000}})
        EXPECT_EQ(book_.CopyRows(first, count, destination, repeat), kWorkbookBadArgument) << first << " " << count;
    EXPECT_EQ(book_.GetCell(10, 4).value, "99");

    EXPECT_EQ(book_.CopyRows(1, 1, 10, 3, &diag_), 15) << diag_;
    ExpectCells(book_, {"A10=Head", "D10=", "A14=end"});  // the destination row is replaced
    for (int row = 11; row <= 13; ++row) EXPECT_EQ(book_.GetCell(row, 2).formula, "A" + std::to_string(row) + "*2");
    EXPECT_EQ(book_.CopyRows(1, 3, 20, 0), 23);
    EXPECT_EQ(book_.GetCell(22, 1).value, "end");
    EXPECT_EQ(book_.CopyRows(1, 0, 30, 0), 30);  // nothing to copy
}

TEST_F(CopyRowsTest, StylesHeightsMergesAndFormulasGoWithTheRow) {
    ASSERT_EQ(book_.CopyRows(1, 2, 7, 0), 9);
    EXPECT_EQ(book_.RowHeight(7), 20);
    EXPECT_EQ(book_.MergedRanges(), (Strings{"A1:B1", "A7:B7"}));
    const auto sheet = ParseXml(SaveAndRead().at(kSheet1));
    // The copy's old result is dropped.
    EXPECT_EQ(CellXml(sheet, {"B7", "B8", "C8"}),
              (Strings{"<c r=\"B7\" s=\"1\"/>", "<c r=\"B8\"><f>A8*2</f></c>", "<c r=\"C8\"><f>$A$1&amp;A7</f></c>"}));
    EXPECT_EQ(Query(sheet, {"//row[@r='7']/@customHeight", "count(//mergeCell)", "//mergeCells/@count"}),
              (Strings{"1", "2", "2"}));
}

TEST_F(CopyRowsTest, ADestinationOverlappingTheSourceGetsTheRowsAsTheyWere) {
    ASSERT_EQ(book_.CopyRows(1, 3, 2, 0), 5);
    ExpectCells(book_, {"A2=Head", "A4=end"});
    EXPECT_EQ(book_.MergedRanges(), (Strings{"A1:B1", "A2:B2"}));
}

TEST_F(WorkbookTest, SharedFormulasAreExpandedBeforeTheirCellsAreCopied) {
    OpenSheet(
        "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><f t=\"shared\" ref=\"B1:B3\" "
        "si=\"0\">A1*2+$A$1</f><v>3</v></c></row>"
        "<row r=\"2\"><c r=\"A2\"><v>2</v></c><c r=\"B2\"><f t=\"shared\" si=\"0\"/><v>5</v></c></row>"
        "<row r=\"3\"><c r=\"A3\"><v>3</v></c><c r=\"B3\"><f t=\"shared\" si=\"0\"/><v>7</v></c></row>"
        "<row r=\"4\"><c r=\"B4\"><f t=\"shared\" si=\"9\"/><v>11</v></c></row>");
    ASSERT_EQ(book_.CopyRows(2, 1, 10, 0), 11);
    const std::string saved = SaveAndRead().at(kSheet1);
    EXPECT_EQ(saved.find("shared"), std::string::npos);
    // Expanded cells keep their results; a shared formula whose first cell is
    // missing keeps the value it showed.
    EXPECT_EQ(CellXml(ParseXml(saved), {"B3", "B10", "B4"}),
              (Strings{"<c r=\"B3\"><f>A3*2+$A$1</f><v>7</v></c>", "<c r=\"B10\"><f>A10*2+$A$1</f></c>",
                       "<c r=\"B4\"><v>11</v></c>"}));
}

// --- deleting rows -----------------------------------------------------------

// Rows 4-6 of "Data" are deleted: cells, formulas on every sheet, merged
// ranges and defined names follow; a sheet without formulas stays as it was.
TEST_F(WorkbookTest, DeletedRowsTakeCellsFormulasMergesAndNamesAlong) {
    std::string data;
    for (int r = 1; r <= 10; ++r) {
        data += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\" s=\"" +
                std::to_string(r % 3) + "\"><v>" + std::to_string(r * 10) + "</v></c>";
        if (r == 10) data += "<c r=\"B10\"><f>SUM(A1:A9)&amp;\"A9\"</f><v>450</v></c>";
        data += "</row>";
    }
    const std::string notes = SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    OpenBook(
        {.sheets = {{"Data",
                     SheetXml(
                         data,
                         "<mergeCells count=\"2\"><mergeCell ref=\"A8:B9\"/><mergeCell ref=\"A5:C5\"/></mergeCells>")},
                    {"Summary", SheetXml("<row r=\"1\"><c r=\"A1\"><f>Data!A10*2</f><v>200</v></c>"
                                         "<c r=\"B1\"><f>'Data'!A5</f><v>50</v></c>"
                                         "<c r=\"C1\" t=\"str\"><f>\"Data!A10\"</f><v>Data!A10</v></c>"
                                         "<c r=\"D1\"><f>A10+SUM(Data!A2:A6)</f><v>0</v></c></row>")},
                    {"Notes", notes}},
         .definedNames = "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">Data!$A$1:$B$10</definedName>"});
    ASSERT_EQ(book_.DeleteRows(4, 3, &diag_), kWorkbookOk) << diag_;

    // Rows below move up with their styles.
    ExpectCells(book_, {"A3=30", "A4=70", "A7=100"});
    EXPECT_EQ(book_.GetCell(4, 1).style, 1u);
    EXPECT_EQ(book_.LastRow(), 7);
    EXPECT_EQ(book_.GetCell(7, 2).formula, "SUM(A1:A6)&\"A9\"");
    EXPECT_EQ(book_.MergedRanges(), (Strings{"A5:B6"}));

    const auto saved = SaveAndRead();
    EXPECT_EQ(Query(ParseXml(saved.at("xl/workbook.xml")), {"//definedName"}), Strings{"Data!$A$1:$B$7"});
    EXPECT_EQ(Query(ParseXml(saved.at(kSheet1)), {"//dimension/@ref", "count(//mergeCell)"}), (Strings{"A1:B7", "1"}));
    EXPECT_EQ(saved.at("xl/worksheets/sheet3.xml"), notes);
    // Formulas on other sheets follow the rows or become reference errors; a
    // string literal is not a reference and A10 is Summary's own. A cell that
    // moved keeps its result, one that lost cells loses it.
    EXPECT_EQ(CellXml(ParseXml(saved.at(kSheet2)), {"A1", "B1", "C1", "D1"}),
              (Strings{"<c r=\"A1\"><f>Data!A7*2</f><v>200</v></c>", "<c r=\"B1\"><f>'Data'!#REF!</f></c>",
                       "<c r=\"C1\" t=\"str\"><f>\"Data!A10\"</f><v>Data!A10</v></c>",
                       "<c r=\"D1\"><f>A10+SUM(Data!A2:A3)</f></c>"}));

    // Deleting everything from a row on leaves the rows above.
    ASSERT_EQ(book_.DeleteRows(2, 1048575, &diag_), kWorkbookOk) << diag_;
    EXPECT_EQ(book_.LastRow(), 1);
    EXPECT_TRUE(book_.MergedRanges().empty());
    EXPECT_EQ(book_.DeleteRows(1, 0), kWorkbookBadArgument);
    EXPECT_EQ(book_.DeleteRows(2, 1048576), kWorkbookBadArgument);
}

// --- refusing bad input ------------------------------------------------------

// Parts nested far deeper than any spreadsheet writes them, with an
// unbalanced "/>" in every attribute, at a realistic depth with comments and
// character data that look like elements.
std::string Nested(int depth) {
    std::string text = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>in</t>";
    for (int i = 0; i < depth; ++i) text += "<x a=\"/>\">";
    for (int i = 0; i < depth; ++i) text += "</x>";
    return text + "<!-- <a><b><c> --><![CDATA[<d><e>]]></is></c></row>";
}

// Files that are no workbook and broken sheet parts are refused with a
// reason, and nothing stays open; parts nested too deep are refused before
// they are parsed.
TEST_F(WorkbookTest, FilesThatAreNotSoundWorkbooksAreRefused) {
    const std::string path = dir_.File("in.xlsx");
    const auto sheet = [&](const std::string& part) { WriteZip(path, BuildWorkbook({.sheets = {{"S", part}}})); };
    const test::Parts readme = {{"readme.txt", "hello"}};
    // Case, how the file is made, result, a word of the diagnostic.
    const std::tuple<const char*, std::function<void()>, int, const char*> cases[] = {
        {"plain text", [&] { std::ofstream(path) << "just some text, not a workbook\n"; }, kWorkbookDamaged, "open"},
        {"missing file", [&] { std::filesystem::remove(path); }, kWorkbookFileError, ""},
        {"a zip without a workbook", [&] { WriteZip(path, readme); }, kWorkbookDamaged, ""},
        {"sheet not XML",
         [&] { sheet("<worksheet><sheetData><row r=\"1\"><c r=\"A1\"></row></sheetData></worksheet>"); },
         kWorkbookDamaged, "worksheet"},
        {"bad cell reference", [&] { sheet(SheetXml("<row r=\"1\"><c r=\"1A\"><v>1</v></c></row>")); },
         kWorkbookDamaged, "worksheet"},
        {"row zero", [&] { sheet(SheetXml("<row r=\"0\"/>")); }, kWorkbookDamaged, "worksheet"},
        {"nested too deep", [&] { sheet(SheetXml(Nested(200000))); }, kWorkbookDamaged, "nested"},
    };
    for (const auto& [name, make, result, says] : cases) {
        SCOPED_TRACE(name);
        make();
        diag_.clear();
        EXPECT_EQ(book_.Open(path, false, &diag_), result);
        EXPECT_FALSE(diag_.empty());
        EXPECT_NE(diag_.find(says), std::string::npos) << diag_;
        EXPECT_EQ(std::pair(book_.Diagnostic(), book_.IsOpen()), std::pair(diag_, false));
    }
}

// Damage inside the XML rather than the archive: bytes of the sheet and the
// shared strings overwritten at pseudo-random places. Every outcome is a
// result code; whatever opens can still be edited and saved.
TEST_F(WorkbookTest, DamagedPartsGiveResultsNeverCrashes) {
    const std::string sheet = SheetXml(
        "<row r=\"1\" ht=\"20\" customHeight=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\"><f t=\"shared\" "
        "ref=\"B1:B2\" si=\"0\">A1&amp;'S 2'!A1</f></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>x</t></is></c><c r=\"B2\"><f t=\"shared\" si=\"0\"/></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"e\"><v>#N/A</v></c><c r=\"C3\"><f t=\"array\" ref=\"C3:C4\">A1:A2</f></c></row>",
        "<mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/></mergeCells>");
    const std::string strings = "<si><t>one</t></si><si><r><t>two</t></r></si>";
    const std::string path = dir_.File("fuzz.xlsx");
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const char kBytes[] = "<>/\"'=&!:$#0123456789ABCrsvtf \x01\xff";
    int opened = 0;
    for (int round = 0; round < 300; ++round) {
        std::string damagedSheet = sheet, damagedStrings = strings;
        std::string& target = (round % 4 == 3) ? damagedStrings : damagedSheet;
        for (int k = 0; k < 1 + round % 3; ++k) target[next() % target.size()] = kBytes[next() % (sizeof kBytes - 1)];
        WriteZip(path,
                 BuildWorkbook({.sheets = {{"S", damagedSheet}, {"S 2", sheet}}, .sharedStrings = damagedStrings}));
        Workbook book;
        const int result = book.Open(path, false, &diag_);
        ASSERT_TRUE(result == kWorkbookOk || result == kWorkbookDamaged) << result << " " << diag_;
        if (result != kWorkbookOk) {
            EXPECT_FALSE(diag_.empty());
            continue;
        }
        ++opened;
        book.GetCell(1, 1);
        EXPECT_GT(book.CopyRows(1, 2, 6, 2), 0);
        EXPECT_EQ(book.SetText(9, 1, "=A1+B2"), kWorkbookOk);
        EXPECT_EQ(book.SelectSheet(2), kWorkbookOk);
        EXPECT_EQ(book.DeleteRows(1, 1), kWorkbookOk);
        EXPECT_EQ(book.SaveAs(dir_.File("fuzz-out.xlsx"), &diag_), kWorkbookOk) << diag_;
        Workbook reopened;
        EXPECT_EQ(reopened.Open(dir_.File("fuzz-out.xlsx"), true, &diag_), kWorkbookOk) << diag_;
    }
    EXPECT_GT(opened, 0);  // some damage is harmless (inside texts); those must save
}

TEST_F(WorkbookTest, ElementsNestedAsDeepAsSpreadsheetsWriteThemAreKept) {
    OpenSheet(Nested(900));
    ASSERT_EQ(book_.SetNumber(2, 1, 1.0), kWorkbookOk);
    EXPECT_NE(SaveAndRead().at(kSheet1).find("<x a=\"/>\">"), std::string::npos);
    EXPECT_EQ(book_.GetCell(1, 1).value, "in");
}

TEST_F(WorkbookTest, ADamagedSecondSheetFailsOnlyWhenSelected) {
    OpenBook({.sheets = {{"Good", SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>")},
                         {"Bad", "<worksheet><sheetData><row></sheetData>"}}});
    EXPECT_EQ(book_.SelectSheet(2, &diag_), kWorkbookDamaged);
    EXPECT_NE(diag_.find("Bad"), std::string::npos);
    EXPECT_EQ(book_.SelectedSheet(), 1);
    EXPECT_EQ(book_.SetNumber(2, 1, 2.0), kWorkbookOk);
    EXPECT_EQ(book_.SelectSheet(3), kWorkbookBadArgument);
}

// Writing needs an open workbook and a cell on the sheet; malformed formulas,
// oversized texts and numbers that are none are refused and leave the cell.
TEST_F(WorkbookTest, WritesNeedAnOpenWorkbookAValidCellAndAValidValue) {
    EXPECT_EQ(book_.SetText(1, 1, "x", &diag_), kWorkbookNotOpen);
    EXPECT_EQ(book_.Save(), kWorkbookNotOpen);
    EXPECT_EQ(book_.CopyRows(1, 1, 2, 0), kWorkbookNotOpen);
    EXPECT_EQ(book_.SheetName(), "");
    OpenSheet("<row r=\"1\"><c r=\"A1\"><v>5</v></c></row>");
    EXPECT_EQ(book_.Open(source_, false), kWorkbookBusy);
    for (const auto& [row, column] : {std::pair{0, 1}, {1, 16385}, {1048577, 1}})
        EXPECT_EQ(book_.SetText(row, column, "x"), kWorkbookBadArgument) << row << ", " << column;
    EXPECT_EQ(book_.SetText(1048576, 16384, "x"), kWorkbookOk);
    EXPECT_EQ(book_.SetText(1, 1, "=SUM(A2", &diag_), kWorkbookBadArgument);
    EXPECT_NE(diag_.find("write text"), std::string::npos);
    EXPECT_EQ(book_.SetText(1, 1, std::string(32768, 'x')), kWorkbookBadArgument);
    EXPECT_EQ(book_.SetNumber(1, 1, std::nan("")), kWorkbookBadArgument);
    EXPECT_EQ(book_.GetCell(1, 1).value, "5");
    EXPECT_EQ(book_.SetText(1, 1, std::string(32767, 'x')), kWorkbookOk);
}

TEST_F(WorkbookTest, AFailedSaveKeepsTheChangesAndClosingSavesOrDiscards) {
    OpenSheet("", "", /*readOnly=*/true);
    ASSERT_EQ(book_.SetText(1, 1, "keep me"), kWorkbookOk);
    EXPECT_EQ(book_.Save(&diag_), kWorkbookReadOnly);
    EXPECT_EQ(book_.Close(true, &diag_), kWorkbookReadOnly);
    EXPECT_TRUE(book_.IsOpen());
    EXPECT_EQ(book_.SaveAs(dir_.File("no/such/folder/out.xlsx"), &diag_), kWorkbookFileError);
    EXPECT_TRUE(book_.IsModified());
    ASSERT_EQ(book_.SaveAs(dir_.File("out.xlsx"), &diag_), kWorkbookOk) << diag_;
    EXPECT_FALSE(book_.IsModified());
    // Closing without saving discards, closing with saving writes.
    ASSERT_EQ(book_.SetText(1, 1, "dropped"), kWorkbookOk);
    ASSERT_EQ(book_.Close(false), kWorkbookOk);
    ASSERT_EQ(book_.Open(dir_.File("out.xlsx"), false, &diag_), kWorkbookOk) << diag_;
    EXPECT_EQ(book_.GetCell(1, 1).value, "keep me");
    ASSERT_EQ(book_.SetNumber(1, 2, 1.0), kWorkbookOk);
    ASSERT_EQ(book_.Close(true, &diag_), kWorkbookOk) << diag_;
    ASSERT_EQ(book_.Open(dir_.File("out.xlsx"), true, &diag_), kWorkbookOk) << diag_;
    EXPECT_EQ(book_.GetCell(1, 2).value, "1");
}

}  // namespace
}  // namespace orv
