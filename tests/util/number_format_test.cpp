#include "util/NumberFormat.h"

#include "data/FieldText.h"
#include "util/DecimalText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace orv {
namespace {

TEST(RoundHalfAway, HalvesGoAwayFromZeroAndOutOfRangeSaturates) {
    const std::pair<double, int32_t> cases[] = {{2.5, 3},      {-2.5, -3}, {0.5, 1},   {-0.5, -1},       {2.4999, 2},
                                                {-2.4999, -2}, {-0.4, 0},  {-7.6, -8}, {std::nan(""), 0}};
    for (const auto& [in, want] : cases) EXPECT_EQ(RoundHalfAway(in), want) << in;
    EXPECT_EQ(RoundHalfAway(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfAway(-1e12), std::numeric_limits<int32_t>::min());
}

TEST(RoundToFiveDecimals, RoundsBelowTenThousandOnly) {
    const std::pair<double, double> cases[] = {{1.234567, 1.23457},
                                               {-0.000005, -0.00001},
                                               {9999.123456, 9999.12346},
                                               {12345.678901, 12345.678901},
                                               {-10000.123456, -10000.123456}};
    for (const auto& [in, want] : cases) EXPECT_DOUBLE_EQ(RoundToFiveDecimals(in), want) << in;
}

TEST(TrimZeros, PaddedKeepsWidthRightAlignedCutDropsTrailingZerosAndBarePoint) {
    // Input, padded, cut.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"5.600000", "     5.6", "5.6"},
        {"12.000000", "       12", "12"},
        {".000", "   0", ""},
        {"0.000000", "       0", "0"},
        {"-2.500000", "     -2.5", "-2.5"},
        {"100.", " 100", "100"},
        {"1200", "1200", "1200"},
        {"", "", ""},
    };
    for (const auto& [in, wantPadded, wantCut] : cases) {
        std::string padded = in, cut = in;
        TrimZerosPadded(padded);
        TrimZerosCut(cut);
        EXPECT_EQ(std::pair(padded, cut), std::pair(std::string(wantPadded), std::string(wantCut)))
            << "input [" << in << "]";
    }
}

TEST(NiceStep, GivesSmallestSeriesValueNotBelow) {
    // Every series value above the smallest maps to itself; just above it,
    // to the next larger one.
    for (std::size_t i = 0; i + 1 < NiceStepSeries.size(); ++i) {
        EXPECT_EQ(NiceStep(NiceStepSeries[i]), NiceStepSeries[i]) << "position " << i;
        if (i > 0) {
            EXPECT_EQ(NiceStep(NiceStepSeries[i] * 1.001), NiceStepSeries[i - 1]) << "position " << i;
        }
    }
    EXPECT_EQ(NiceStep(0.000011), 0.00002);
    EXPECT_EQ(NiceStep(7000000), 1000000);
    for (double tiny : {0.00001, 0.0, -5.0, std::nan("")}) EXPECT_EQ(NiceStep(tiny), 1.0) << tiny;
    const std::vector<std::pair<double, double>> whole = {{1.5, 2}, {120, 200}, {2.5, 5}, {7000000, 1000000}, {0.9, 1},
                                                          {1, 1},   {-3, 1},    {2, 2},   {500, 500}};
    for (const auto& [in, want] : whole) EXPECT_EQ(NiceStepWhole(in), want) << in;
}

TEST(ChartValueText, RoundsFormatsAndPadsTheValue) {
    EXPECT_EQ(ChartValueText(5.6, "Glucose"), "   Glucose was      5.6");
    // Rounded to five decimals first, then six decimals shown.
    EXPECT_EQ(ChartValueText(1.234567, "G"), "   G was  1.23457");
    // Not rounded above 10000, but still trimmed.
    EXPECT_EQ(ChartValueText(12345.5, "G"), "   G was      12345.5");
}

TEST(FixedText, MatchesPrintfFixedFormats) {
    EXPECT_EQ(FixedText(5.6, 5), "5.60000");
    EXPECT_EQ(FixedText(-0.125, 2), "-0.12");  // exact tie: rounds to even as printf does
    EXPECT_EQ(FixedText(1e20, 2), "100000000000000000000.00");
    EXPECT_EQ(FixedText(-std::numeric_limits<double>::infinity(), 2), "-inf");
}

TEST(DecimalTextTest, TheLocaleSeparatorReadsAsAPoint) {
    // Text, separator, expected.
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"6,2", ",", "6.2"}, {"6.2", ",", "6.2"}, {"6,2", ".", "6,2"}, {"1,5e-3", ",", "1.5e-3"},
        {"abc", ",", "abc"}, {"6,2", "", "6,2"},  {"6٫2", "٫", "6.2"},
    };
    for (const auto& [text, separator, expected] : rows)
        EXPECT_EQ(WithDecimalPoint(text, separator), expected) << text << " / " << separator;
}

TEST(FloatTextTest, FactorsReadBackAsTheSameFloat) {
    for (const float value : {1e-9f, 0.0000123f, 0.1234567f, 1000.0f, 9999.0f, 1.17549435e-38f}) {
        const std::optional<double> read = ParseRealText(FloatText(value));
        ASSERT_TRUE(read) << FloatText(value);
        EXPECT_EQ(static_cast<float>(*read), value) << FloatText(value);
    }
    // Texts written before, with six decimals, still read.
    EXPECT_EQ(ParseRealText("1000.000000"), 1000.0);
}

}  // namespace
}  // namespace orv
