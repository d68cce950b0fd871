// The choice of labelled slots under a chart's time axis: a function of the
// label widths and the space, no display.

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/AxisLabels.h"

namespace orv {
namespace {

TEST(AxisLabels, LabelsThatWouldOverlapOrBeCutAreSkipped) {
    struct Row {
        const char* name;
        int slotCount;
        double width;  // every label
        int interval;
        double slotWidth;
        double right;  // area from 0 to right; slot 0's tick at 60
        std::vector<int> chosen;
    };
    const Row rows[] = {
        // Room for every interval's label.
        {"wide slots", 7, 60.0, 1, 80.0, 700.0, {0, 1, 2, 3, 4, 5, 6}},
        // 120 days in 525 pixels: every interval would run together, so the
        // step grows in whole intervals (7 -> 14 -> 21).
        {"120 days", 120, 62.0, 7, 4.375, 600.0, {0, 21, 42, 63, 84, 105}},
        // The last label would end past the area: left out, not cut.
        {"cut at the end", 4, 60.0, 1, 150.0, 530.0, {0, 1, 2}},
        // No step keeps two labels apart: only the first remains.
        {"one label", 3, 100.0, 1, 50.0, 1000.0, {0}},
        {"no labels", 0, 60.0, 1, 50.0, 600.0, {}},
    };
    for (const Row& row : rows) {
        const std::vector<double> widths(static_cast<std::size_t>(row.slotCount), row.width);
        AxisLabelSpace space;
        space.firstTick = 60.0;
        space.slotWidth = row.slotWidth;
        space.right = row.right;
        EXPECT_EQ(ChooseAxisLabels(widths, row.interval, space), row.chosen) << row.name;
    }
}

TEST(AxisLabels, EmptyLabelsNeitherShowNorBlockOthers) {
    AxisLabelSpace space;
    space.firstTick = 40.0;
    space.slotWidth = 40.0;
    space.right = 400.0;
    // Slot 1 is empty, so 0 and 2 only need to keep clear of each other.
    EXPECT_EQ(ChooseAxisLabels({60.0, 0.0, 60.0}, 1, space), (std::vector<int>{0, 2}));
}

}  // namespace
}  // namespace orv
