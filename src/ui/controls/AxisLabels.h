#pragma once
// Which time slots of a chart get their label under the axis: labels are
// centred on their tick, may not overlap one another nor reach past the
// drawing area, and are spaced evenly by a whole multiple of the page's
// label interval (the finest step). Plain C++: a function of widths.

#include <vector>

namespace orv {

struct AxisLabelSpace {
    double firstTick = 0.0;  // x of slot 0's tick
    double slotWidth = 0.0;  // distance between neighbouring slots' ticks
    double left = 0.0;       // labels must lie within [left, right]
    double right = 0.0;
    double gap = 6.0;  // least free space between two labels
};

// The slots to label, ascending. `widths` holds each slot's label width (0:
// no label); `interval` is the finest step between labelled slots. A label
// that would be cut at either end is left out; the step grows by whole
// intervals until the remaining labels keep clear of each other.
std::vector<int> ChooseAxisLabels(const std::vector<double>& widths, int interval, const AxisLabelSpace& space);

}  // namespace orv
