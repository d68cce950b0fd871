#pragma once
// What the Charts page draws for one target over one period: one point per
// time slot holding the target's sum (or average) of the products of the
// values in that slot, the axis labels of the slots, and the average of all
// products. Plain data, no widgets.
//
// A value counts towards a target through its item: the item's amount of
// that target (its entry at the target's position in the group's target
// list) times the value, exactly as the Tables page counts it; only the
// slots are finer (see SlotScheme::ForCharts).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/HostInterfaces.h"
#include "util/ReportPeriod.h"
#include "util/SlotScheme.h"

namespace orv {

class RecordCache;

struct ChartPoint {
    double value = 0.0;
    int32_t count = 0;  // products counted into the point
};

struct ChartSeries {
    std::string name;
    bool visible = false;
    std::vector<ChartPoint> points;  // one per slot
};

enum class ChartKind { Bars, Line };

class ChartData {
public:
    static constexpr int kSeriesCount = 3;
    // The only series that is shown and receives values.
    static constexpr const char* kSeriesName = "Glucose";
    static constexpr double kValueStep = 20.0;
    static constexpr int kMinimumWidth = 600;

    ChartData();

    // Installs the slot scheme and axis of a period choice. A choice outside
    // 0 to 4 changes nothing and returns false.
    bool SetPeriodChoice(PeriodChoice choice);
    // 0 for no target.
    void SetTarget(int32_t targetId) { targetId_ = targetId; }
    int32_t TargetId() const { return targetId_; }

    // Rebuilds labels, points and the average from the cache for a period
    // starting on the day of `start`. Without an installed scheme nothing
    // changes. A start the host cannot convert gives empty labels and points.
    void Rebuild(const RecordCache& cache, HostDatabase* db, const HostDateTime& start);

    // "(<date>.<time>-<date>.<time>)" of the point's slot when `withSpan`,
    // then "   <target> was <value>" when a target was counted. Empty for
    // a point that does not exist.
    std::string PointText(HostDatabase* db, int series, int point, bool withSpan) const;

    const std::optional<SlotScheme>& Scheme() const { return scheme_; }
    const std::vector<std::string>& Labels() const { return labels_; }
    const std::array<ChartSeries, kSeriesCount>& Series() const { return series_; }
    // Empty, or the average of all products.
    const std::vector<double>& Average() const { return average_; }
    ChartKind Kind() const { return kind_; }
    int LabelInterval() const { return labelInterval_; }
    double ValueStep() const { return valueStep_; }
    int MinimumWidth() const { return minimumWidth_; }

private:
    void BuildAxis(HostDatabase* db);
    void Fill(const RecordCache& cache, int32_t dayStart);

    std::optional<SlotScheme> scheme_;
    int32_t targetId_ = 0;
    std::string targetName_;  // of the target counted in the last rebuild
    bool counted_ = false;
    HostDateTime start_ = kZeroDateTime;

    std::vector<std::string> labels_;
    std::array<ChartSeries, kSeriesCount> series_;
    std::vector<double> average_;
    ChartKind kind_ = ChartKind::Bars;
    int labelInterval_ = 1;
    double valueStep_ = kValueStep;
    int minimumWidth_ = kMinimumWidth;
};

}  // namespace orv
