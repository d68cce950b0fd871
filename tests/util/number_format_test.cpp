#include "util/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

TEST(RoundHalfAway, HalvesGoAwayFromZeroOnBothSides) {
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(0.5), 1);
    EXPECT_EQ(RoundHalfAway(-0.5), -1);
    EXPECT_EQ(RoundHalfAway(2.4999), 2);
    EXPECT_EQ(RoundHalfAway(-2.4999), -2);
    EXPECT_EQ(RoundHalfAway(-0.4), 0);
    EXPECT_EQ(RoundHalfAway(-7.6), -8);
}

TEST(RoundHalfAway, OutOfRangeSaturatesAndNanIsZero) {
    EXPECT_EQ(RoundHalfAway(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfAway(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundHalfAway(std::nan("")), 0);
}

TEST(RoundToFiveDecimals, RoundsBelowTenThousandOnly) {
    EXPECT_DOUBLE_EQ(RoundToFiveDecimals(1.234567), 1.23457);
    EXPECT_DOUBLE_EQ(RoundToFiveDecimals(-1.234567), -1.23457);
    EXPECT_DOUBLE_EQ(RoundToFiveDecimals(-0.000005), -0.00001);
    EXPECT_DOUBLE_EQ(RoundToFiveDecimals(9999.123456), 9999.12346);
    EXPECT_EQ(RoundToFiveDecimals(12345.678901), 12345.678901);
    EXPECT_EQ(RoundToFiveDecimals(-10000.123456), -10000.123456);
}

TEST(TrimZerosPadded, KeepsWidthAndRightAligns) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"5.600000", "     5.6"},  {"12.000000", "       12"}, {".000", "   0"},
        {"0.000000", "       0"},  {"-2.500000", "     -2.5"}, {"100.", " 100"},
        {"100", "100"},            {"1200", "1200"},            {"2.5", "2.5"},
        {"", ""},
    };
    for (const auto& [in, want] : cases) {
        std::string text = in;
        TrimZerosPadded(text);
        EXPECT_EQ(text, want) << "input [" << in << "]";
    }
}

TEST(TrimZerosCut, CutsTrailingZerosAndBarePoint) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"5.600000", "5.6"}, {"12.000000", "12"}, {"0.000000", "0"}, {"100.50", "100.5"},
        {"1200", "1200"},    {"2.5", "2.5"},      {".000", ""},      {"", ""},
    };
    for (const auto& [in, want] : cases) {
        std::string text = in;
        TrimZerosCut(text);
        EXPECT_EQ(text, want) << "input [" << in << "]";
    }
}

TEST(NiceStep, GivesSmallestSeriesValueNotBelow) {
    EXPECT_EQ(NiceStep(3), 5);
    EXPECT_EQ(NiceStep(2), 2);
    EXPECT_EQ(NiceStep(2.0001), 5);
    EXPECT_EQ(NiceStep(0.07), 0.1);
    EXPECT_EQ(NiceStep(0.000011), 0.00002);
    EXPECT_EQ(NiceStep(7000000), 1000000);
    EXPECT_EQ(NiceStep(1000000), 1000000);
}

TEST(NiceStep, AtAndJustAboveEverySeriesValue) {
    // Every series value above the smallest maps to itself; just above it,
    // to the next larger one.
    for (std::size_t i = 0; i + 1 < NiceStepSeries.size(); ++i) {
        EXPECT_EQ(NiceStep(NiceStepSeries[i]), NiceStepSeries[i]) << "position " << i;
        if (i > 0) {
            EXPECT_EQ(NiceStep(NiceStepSeries[i] * 1.001), NiceStepSeries[i - 1]) << "position " << i;
        }
    }
}

TEST(NiceStep, SmallZeroNegativeAndNanGiveOne) {
    EXPECT_EQ(NiceStep(0.00001), 1.0);
    EXPECT_EQ(NiceStep(0.000001), 1.0);
    EXPECT_EQ(NiceStep(0), 1.0);
    EXPECT_EQ(NiceStep(-5), 1.0);
    EXPECT_EQ(NiceStep(std::nan("")), 1.0);
}

TEST(NiceStepWhole, OnlyWholeSeriesValues) {
    EXPECT_EQ(NiceStepWhole(1.5), 2);
    EXPECT_EQ(NiceStepWhole(120), 200);
    EXPECT_EQ(NiceStepWhole(2), 2);
    EXPECT_EQ(NiceStepWhole(2.5), 5);
    EXPECT_EQ(NiceStepWhole(7000000), 1000000);
    EXPECT_EQ(NiceStepWhole(1), 1.0);
    EXPECT_EQ(NiceStepWhole(0.9), 1.0);
    EXPECT_EQ(NiceStepWhole(0.3), 1.0);
    EXPECT_EQ(NiceStepWhole(0), 1.0);
    EXPECT_EQ(NiceStepWhole(-3), 1.0);
}

TEST(ChartValueText, RoundsFormatsAndPadsTheValue) {
    EXPECT_EQ(ChartValueText(5.6, "Glucose"), "   Glucose was      5.6");
    EXPECT_EQ(ChartValueText(5.5, "G"), "   G was      5.5");
    // Rounded to five decimals first, then six decimals shown.
    EXPECT_EQ(ChartValueText(1.234567, "G"), "   G was  1.23457");
    EXPECT_EQ(ChartValueText(-2.5, "G"), "   G was      -2.5");
    EXPECT_EQ(ChartValueText(0.0, "G"), "   G was        0");
    // Not rounded above 10000, but still trimmed.
    EXPECT_EQ(ChartValueText(12345.5, "G"), "   G was      12345.5");
}

TEST(FixedText, MatchesPrintfFixedFormats) {
    EXPECT_EQ(FixedText(5.6, 5), "5.60000");
    EXPECT_EQ(FixedText(-0.125, 2), "-0.12");  // exact tie: rounds to even as printf does
    EXPECT_EQ(FixedText(3.0, 0), "3");
    EXPECT_EQ(FixedText(1e20, 2), "100000000000000000000.00");
    EXPECT_EQ(FixedText(-std::numeric_limits<double>::infinity(), 2), "-inf");
}

}  // namespace
}  // namespace orv
