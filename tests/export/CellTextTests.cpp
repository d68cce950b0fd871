// Cell addresses, typed input and the stored form of cell text.

#include <gtest/gtest.h>

#include "export/workbook/CellAddress.h"
#include "export/workbook/TypedInput.h"
#include "export/workbook/XmlText.h"

namespace orv {
namespace {

TEST(ColumnLetters, SingleLettersThenTwoLettersThenThree) {
  EXPECT_EQ(ColumnLetters(1), "A");
  EXPECT_EQ(ColumnLetters(26), "Z");
  EXPECT_EQ(ColumnLetters(27), "AA");
  EXPECT_EQ(ColumnLetters(52), "AZ");
  EXPECT_EQ(ColumnLetters(53), "BA");
  EXPECT_EQ(ColumnLetters(702), "ZZ");
  EXPECT_EQ(ColumnLetters(703), "AAA");
  EXPECT_EQ(ColumnLetters(16384), "XFD");
}

TEST(ColumnLetters, OutsideTheSheetGivesNothing) {
  EXPECT_EQ(ColumnLetters(0), "");
  EXPECT_EQ(ColumnLetters(-3), "");
  EXPECT_EQ(ColumnLetters(16385), "");
}

TEST(ColumnLetters, ReadBackGivesTheColumn) {
  for (int column : {1, 25, 26, 27, 52, 53, 701, 702, 703, 16384}) {
    EXPECT_EQ(ColumnFromLetters(ColumnLetters(column)), column) << column;
  }
  EXPECT_EQ(ColumnFromLetters("ba"), 53);
  EXPECT_EQ(ColumnFromLetters("XFE"), 0);
  EXPECT_EQ(ColumnFromLetters("A1"), 0);
  EXPECT_EQ(ColumnFromLetters(""), 0);
}

TEST(CellAddressText, AbsoluteMarkersSitBeforeLettersAndBeforeDigits) {
  EXPECT_EQ(CellAddress(9, 6, true, false), "F$9");
  EXPECT_EQ(CellAddress(10, 5, false, true), "$E10");
  EXPECT_EQ(CellAddress(7, 27, true, true), "$AA$7");
  EXPECT_EQ(CellAddress(1, 53), "BA1");
}

TEST(CellAddressText, ParsingAcceptsMarkersAndRefusesOthers) {
  const auto a = ParseCellAddress("$AB$12");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->row, 12);
  EXPECT_EQ(a->column, 28);
  EXPECT_FALSE(ParseCellAddress("A0"));
  EXPECT_FALSE(ParseCellAddress("A01"));
  EXPECT_FALSE(ParseCellAddress("A1048577"));
  EXPECT_FALSE(ParseCellAddress("12"));
  EXPECT_FALSE(ParseCellAddress("A1B"));
  const auto area = ParseCellArea("C5:A1");
  ASSERT_TRUE(area);
  EXPECT_EQ(FormatCellArea(*area), "A1:C5");
}

TEST(RowSpanAfterDeletion, ShrinksMovesOrVanishes) {
  int first = 2, last = 10;
  ASSERT_TRUE(MapRowSpanAfterDeletion(first, last, 4, 3));  // rows 4-6 go
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 7);
  first = 5, last = 9;  // starts inside the deleted rows
  ASSERT_TRUE(MapRowSpanAfterDeletion(first, last, 4, 3));
  EXPECT_EQ(first, 4);
  EXPECT_EQ(last, 6);
  first = 1, last = 5;  // ends inside
  ASSERT_TRUE(MapRowSpanAfterDeletion(first, last, 4, 3));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 3);
  first = 4, last = 6;
  EXPECT_FALSE(MapRowSpanAfterDeletion(first, last, 4, 3));
}

TEST(TypedInputReading, FormulasNeedMoreThanTheEqualsSign) {
  auto input = InterpretTypedInput("=F$9*$E10");
  EXPECT_EQ(input.kind, TypedInput::Kind::Formula);
  EXPECT_EQ(input.value, "F$9*$E10");
  EXPECT_EQ(InterpretTypedInput("=").kind, TypedInput::Kind::Text);
  input = InterpretTypedInput("'=A1");
  EXPECT_EQ(input.kind, TypedInput::Kind::Text);
  EXPECT_EQ(input.value, "=A1");
}

TEST(TypedInputReading, NumbersAreReadWithAPointAndNeverAComma) {
  EXPECT_EQ(InterpretTypedInput("12.500000").value, "12.5");
  EXPECT_EQ(InterpretTypedInput(" -3 ").value, "-3");
  EXPECT_EQ(InterpretTypedInput("1e3").value, "1000");
  EXPECT_EQ(InterpretTypedInput(".5").value, "0.5");
  EXPECT_EQ(InterpretTypedInput("12,5").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("1e400").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("nan").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("inf").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("0x10").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("-").kind, TypedInput::Kind::Text);
}

TEST(TypedInputReading, DatesBecomeSerialDaysWithADateFormat) {
  auto input = InterpretTypedInput("8/27/2008");
  EXPECT_EQ(input.kind, TypedInput::Kind::Number);
  EXPECT_EQ(input.value, "39687");
  EXPECT_EQ(input.numberFormat, 14);
  input = InterpretTypedInput("8/27/2008 18:0:0");  // hours, minutes, seconds without zeros
  EXPECT_EQ(input.value, "39687.75");
  EXPECT_EQ(input.numberFormat, 22);
  input = InterpretTypedInput("6:30");
  EXPECT_EQ(input.value, "0.2708333333333333");
  EXPECT_EQ(input.numberFormat, 21);
  EXPECT_EQ(InterpretTypedInput("2/30/2008").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("13/1/2008").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("1/2/2008 24:00:00").kind, TypedInput::Kind::Text);
  EXPECT_EQ(InterpretTypedInput("1/2/208").kind, TypedInput::Kind::Text);
}

TEST(TypedInputReading, TheSpreadsheetCalendarCountsThePhantomLeapDay) {
  EXPECT_EQ(DateSerial(1900, 1, 1), 1);
  EXPECT_EQ(DateSerial(1900, 2, 28), 59);
  EXPECT_EQ(DateSerial(1900, 2, 29), 60);
  EXPECT_EQ(DateSerial(1900, 3, 1), 61);
  EXPECT_EQ(DateSerial(2000, 2, 29), 36585);
  EXPECT_FALSE(DateSerial(2001, 2, 29));
  EXPECT_FALSE(DateSerial(1899, 12, 31));
}

TEST(TypedInputReading, LogicalValues) {
  EXPECT_EQ(InterpretTypedInput("true").kind, TypedInput::Kind::Boolean);
  EXPECT_EQ(InterpretTypedInput("FALSE").value, "0");
  EXPECT_EQ(InterpretTypedInput("TRUEISH").kind, TypedInput::Kind::Text);
}

TEST(NumberText, ShortestFormWithoutNegativeZero) {
  EXPECT_EQ(FormatNumber(0.1), "0.1");
  EXPECT_EQ(FormatNumber(0.1f), "0.1");
  EXPECT_EQ(FormatNumber(-0.0), "0");
  EXPECT_EQ(FormatNumber(1e21), "1e+21");
  EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(FormatNumber(std::numeric_limits<float>::quiet_NaN()));
}

TEST(StoredCellText, CharactersXmlCannotHoldAreEscapedAndComeBack) {
  const std::string text = std::string("a\x01" "b\rc\td\n", 8);
  const std::string stored = xml::EncodeCellText(text);
  EXPECT_EQ(stored, "a_x0001_b_x000D_c\td\n");
  EXPECT_EQ(xml::DecodeCellText(stored), text);
  const std::string withNul("x\0y", 3);
  EXPECT_EQ(xml::DecodeCellText(xml::EncodeCellText(withNul)), withNul);
}

TEST(StoredCellText, ALiteralEscapeSequenceSurvives) {
  const std::string stored = xml::EncodeCellText("_x0041_");
  EXPECT_EQ(stored, "_x005F_x0041_");
  EXPECT_EQ(xml::DecodeCellText(stored), "_x0041_");
}

TEST(StoredCellText, BytesThatAreNotUtf8AreKeptAsLatin1) {
  EXPECT_EQ(xml::EncodeCellText("caf\xE9"), "caf\xC3\xA9");           // lone 0xE9 is é
  EXPECT_EQ(xml::EncodeCellText("caf\xC3\xA9"), "caf\xC3\xA9");       // valid UTF-8 untouched
  EXPECT_EQ(xml::EncodeCellText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");  // a surrogate is not UTF-8
  EXPECT_EQ(xml::Utf16Length("\xF0\x9F\x98\x80"), 2u);                 // one emoji, two UTF-16 units
}

}  // namespace
}  // namespace orv
