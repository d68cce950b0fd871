#include "ui/controls/AxisLabels.h"

#include <algorithm>
#include <limits>

namespace orv {
namespace {

// The labels of every `step`-th slot that fit the area; empty with `clear`
// false when two of them would touch.
std::vector<int> LabelsAtStep(const std::vector<double>& widths, int step, const AxisLabelSpace& space, bool& clear) {
    std::vector<int> chosen;
    double previousRight = -std::numeric_limits<double>::infinity();
    clear = true;
    for (std::size_t slot = 0; slot < widths.size(); slot += static_cast<std::size_t>(step)) {
        const double width = widths[slot];
        if (!(width > 0.0)) continue;
        const double centre = space.firstTick + static_cast<double>(slot) * space.slotWidth;
        const double left = centre - width / 2.0;
        const double right = centre + width / 2.0;
        if (left < space.left || right > space.right) continue;  // would be cut
        if (left < previousRight + space.gap) {
            clear = false;
            return {};
        }
        chosen.push_back(static_cast<int>(slot));
        previousRight = right;
    }
    return chosen;
}

}  // namespace

std::vector<int> ChooseAxisLabels(const std::vector<double>& widths, int interval, const AxisLabelSpace& space) {
    const int finest = std::max(1, interval);
    const int count = static_cast<int>(widths.size());
    for (int step = finest;; step += finest) {
        bool clear = true;
        std::vector<int> chosen = LabelsAtStep(widths, step, space, clear);
        // From a step of the whole axis on, at most one label is left.
        if (clear || step >= count) return chosen;
    }
}

}  // namespace orv
