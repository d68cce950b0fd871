#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/FieldText.h"
#include "data/RecordBuffer.h"

namespace orv {
namespace {

TEST(RecordBufferCodec, RoundTripInAscendingNameOrder) {
    const FieldMap map{{"NAME", "ORVORV"}, {"ID", "1330794322"}, {"ORVVIEWCURPAGE", "3"}};
    RecordBuffer buffer(100);
    int32_t count = buffer.capacity();
    ASSERT_EQ(buffer.Encode(map, &count), 0);
    EXPECT_EQ(count, 3);
    // Entries are laid out by ascending name: ID, NAME, ORVVIEWCURPAGE.
    EXPECT_STREQ(buffer.data(), "ID");
    EXPECT_STREQ(buffer.data() + 512, "1330794322");
    EXPECT_STREQ(buffer.data() + 1024, "NAME");
    EXPECT_STREQ(buffer.data() + 2048 + 512, "3");

    FieldMap back{{"stale", "x"}};
    ASSERT_EQ(buffer.Decode(back, count), 0);
    EXPECT_EQ(back, map);
}

TEST(RecordBufferCodec, Limits) {
    FieldMap map;
    for (int i = 0; i < 5; ++i) map["K" + std::to_string(i)] = "v";
    RecordBuffer small(4);
    int32_t count = small.capacity();
    EXPECT_EQ(small.Encode(map, &count), -2) << "more entries than offered";
    EXPECT_EQ(count, 4) << "count untouched on failure";
    EXPECT_EQ(RecordBuffer::Encode(nullptr, small.data(), &count), -1);
    int32_t room = 8;
    EXPECT_EQ(RecordBuffer::Encode(&map, nullptr, &room), -2) << "no buffer";
    EXPECT_EQ(RecordBuffer::Encode(&map, small.data(), nullptr), -2) << "no count";
    EXPECT_EQ(RecordBuffer::Decode(nullptr, small.data(), 1), -1);

    // Exactly as many entries as offered fits.
    RecordBuffer exact(5);
    count = 5;
    EXPECT_EQ(exact.Encode(map, &count), 0);
    EXPECT_EQ(count, 5);
}

TEST(RecordBufferCodec, LongTextsAreCutInsideTheirEntry) {
    const std::string longName(700, 'n');
    // 510 ASCII bytes then a two-byte character that would straddle the cut.
    const std::string longValue = std::string(510, 'v') + "\xC3\xA9" + std::string(100, 'w');
    const FieldMap map{{longName, longValue}, {"zz", "next"}};
    RecordBuffer buffer(2);
    int32_t count = 2;
    ASSERT_EQ(buffer.Encode(map, &count), 0);
    EXPECT_EQ(std::strlen(buffer.data()), 511u);
    EXPECT_EQ(std::string(buffer.data() + 512), std::string(510, 'v')) << "cut on a character boundary";
    // The neighbouring entry is intact.
    EXPECT_STREQ(buffer.data() + 1024, "zz");
    EXPECT_STREQ(buffer.data() + 1024 + 512, "next");
}

TEST(RecordBufferCodec, DecodeKeepsFirstOfEqualNamesAndNeverOverreads) {
    RecordBuffer buffer(3);
    std::strcpy(buffer.data(), "A");
    std::strcpy(buffer.data() + 512, "first");
    std::strcpy(buffer.data() + 1024, "A");
    std::strcpy(buffer.data() + 1024 + 512, "second");
    // Third entry without any terminator in its name half.
    std::memset(buffer.data() + 2048, 'x', 512);
    FieldMap map;
    ASSERT_EQ(buffer.Decode(map, 3), 0);
    EXPECT_EQ(map, (FieldMap{{"A", "first"}, {std::string(511, 'x'), ""}}));
}

// The texts the host stores and reads back, so a fault here is a wrong
// record even where a host would accept it.
TEST(FieldTexts, FormatsAsPrintfWouldWithoutLocale) {
    EXPECT_EQ(IntText(-42), "-42");
    EXPECT_EQ(RealText(5.6), "5.600000");
    EXPECT_EQ(RealText(-0.0000004), "-0.000000");
    EXPECT_EQ(IntListText({}), "");
    EXPECT_EQ(IntListText({1, 2, 3}), "1;2;3");
    EXPECT_EQ(RealListText({0.5f, 2.0f}), "0.500000;2.000000");
}

TEST(FieldTexts, StrictParsing) {
    EXPECT_EQ(ParseIntText(" 17 "), 17);
    EXPECT_EQ(ParseIntListText("")->size(), 0u);
    EXPECT_EQ(*ParseIntListText("4;5;6"), (std::vector<int32_t>{4, 5, 6}));
    EXPECT_DOUBLE_EQ(*ParseRealText("2.500000"), 2.5);
    for (const char* refused : {"17x", "", "99999999999"}) EXPECT_FALSE(ParseIntText(refused)) << refused;
    EXPECT_FALSE(ParseRealText("2,5"));
    for (const char* refused : {";4;5", "4;5;"}) EXPECT_FALSE(ParseIntListText(refused)) << refused;
    EXPECT_FALSE(ParseRealListText("1.0;abc"));
}

TEST(FieldTexts, LeadingIntReadsLikeAtoi) {
    EXPECT_EQ(LeadingInt("12abc"), 12);
    EXPECT_EQ(LeadingInt("  -7"), -7);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt("99999999999999"), 2147483647);
}

}  // namespace
}  // namespace orv
