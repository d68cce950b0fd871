// Cell addresses, typed input and the stored form of cell text.

#include <gtest/gtest.h>

#include "export/workbook/CellAddress.h"
#include "export/workbook/TypedInput.h"
#include "export/workbook/XmlText.h"

namespace orv {
namespace {

TEST(ColumnLetters, LettersForEveryWidthAndBack) {
    const std::pair<int, const char*> columns[] = {{1, "A"},   {25, "Y"},   {26, "Z"},    {27, "AA"},    {52, "AZ"},
                                                   {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [column, letters] : columns) {
        EXPECT_EQ(ColumnLetters(column), letters);
        EXPECT_EQ(ColumnFromLetters(letters), column) << letters;
    }
    for (int outside : {0, -3, 16385}) EXPECT_EQ(ColumnLetters(outside), "") << outside;
    EXPECT_EQ(ColumnFromLetters("az"), 52);
    for (const char* bad : {"XFE", "A1", ""}) EXPECT_EQ(ColumnFromLetters(bad), 0) << bad;
}

TEST(CellAddressText, MarkersSitBeforeLettersAndDigitsAndParsingRefusesOthers) {
    EXPECT_EQ(CellAddress(9, 6, true, false), "F$9");
    EXPECT_EQ(CellAddress(7, 27, true, true), "$AA$7");
    const auto a = ParseCellAddress("$AB$12");
    ASSERT_TRUE(a);
    EXPECT_EQ(std::pair(a->row, a->column), std::pair(12, 28));
    for (const char* bad : {"A0", "A01", "A1048577", "12", "A1B"}) EXPECT_FALSE(ParseCellAddress(bad)) << bad;
    for (const auto& [text, normal] : {std::pair{"C5:A1", "A1:C5"}, {"A3:A1", "A1:A3"}, {"B2:B2", "B2"}}) {
        const auto area = ParseCellArea(text);
        EXPECT_EQ(area ? FormatCellArea(*area) : "(refused)", normal) << text;
    }
}

// Typed text read as a spreadsheet reads it: formulas, numbers with a point
// and never a comma, dates and times as serial days with a date format,
// logical values; everything else stays text.
TEST(TypedInputReading, KindValueAndFormatPerInput) {
    using K = TypedInput::Kind;
    // Text, kind, value, number format.
    const std::tuple<const char*, K, const char*, int> rows[] = {
        {"=F$9*$E10", K::Formula, "F$9*$E10", 0},
        {"=", K::Text, "=", 0},
        {"'=A1", K::Text, "=A1", 0},
        {"12.500000", K::Number, "12.5", 0},
        {" -3 ", K::Number, "-3", 0},
        {"1e3", K::Number, "1000", 0},
        {".5", K::Number, "0.5", 0},
        {"8/27/2008", K::Number, "39687", 14},
        {"8/27/2008 18:0:0", K::Number, "39687.75", 22},  // hours, minutes, seconds without zeros
        {"6:30", K::Number, "0.2708333333333333", 21},
        {"true", K::Boolean, "1", 0},
        {"FALSE", K::Boolean, "0", 0},
    };
    for (const auto& [text, kind, value, numberFormat] : rows) {
        const TypedInput input = InterpretTypedInput(text);
        EXPECT_EQ(std::tuple(input.kind, input.value, input.numberFormat),
                  std::tuple(kind, std::string(value), numberFormat))
            << text;
    }
    for (const char* text : {"12,5", "1e400", "nan", "inf", "0x10", "-", "2/30/2008", "13/1/2008", "1/2/2008 24:00:00",
                             "1/2/208", "TRUEISH"})
        EXPECT_EQ(InterpretTypedInput(text).kind, K::Text) << text;
}

TEST(TypedInputReading, TheSpreadsheetCalendarCountsThePhantomLeapDay) {
    for (const auto& [year, month, day, serial] :
         {std::tuple{1900, 1, 1, 1}, {1900, 2, 28, 59}, {1900, 2, 29, 60}, {1900, 3, 1, 61}, {2000, 2, 29, 36585}})
        EXPECT_EQ(DateSerial(year, month, day), serial) << year << "-" << month << "-" << day;
    EXPECT_FALSE(DateSerial(2001, 2, 29));
    EXPECT_FALSE(DateSerial(1899, 12, 31));
}

TEST(NumberText, ShortestFormWithoutNegativeZero) {
    EXPECT_EQ(FormatNumber(0.1f), "0.1");
    EXPECT_EQ(FormatNumber(-0.0), "0");
    EXPECT_EQ(FormatNumber(1e21), "1e+21");
    EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(FormatNumber(std::numeric_limits<float>::quiet_NaN()));
}

TEST(StoredCellText, CharactersXmlCannotHoldAreEscapedAndComeBack) {
    const std::string text =
        "a\x01"
        "b\rc\td\n";
    const std::string stored = xml::EncodeCellText(text);
    EXPECT_EQ(stored, "a_x0001_b_x000D_c\td\n");
    EXPECT_EQ(xml::DecodeCellText(stored), text);
    const std::string withNul("x\0y", 3);
    EXPECT_EQ(xml::DecodeCellText(xml::EncodeCellText(withNul)), withNul);
    // A literal escape sequence survives.
    EXPECT_EQ(xml::EncodeCellText("_x0041_"), "_x005F_x0041_");
    EXPECT_EQ(xml::DecodeCellText("_x005F_x0041_"), "_x0041_");
}

TEST(StoredCellText, BytesThatAreNotUtf8AreKeptAsLatin1) {
    EXPECT_EQ(xml::EncodeCellText("caf\xE9"), "caf\xC3\xA9");                    // lone 0xE9 is é
    EXPECT_EQ(xml::EncodeCellText("caf\xC3\xA9"), "caf\xC3\xA9");                // valid UTF-8 untouched
    EXPECT_EQ(xml::EncodeCellText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");  // a surrogate is not UTF-8
    EXPECT_EQ(xml::Utf16Length("\xF0\x9F\x98\x80"), 2u);                         // one emoji, two UTF-16 units
}

}  // namespace
}  // namespace orv
