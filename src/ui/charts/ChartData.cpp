#include "ui/charts/ChartData.h"

#include <algorithm>

#include "data/RecordCache.h"
#include "data/TargetAmounts.h"
#include "util/DateText.h"
#include "util/NumberFormat.h"

namespace orv {

ChartData::ChartData() {
    series_[0].name = kSeriesName;
    series_[0].visible = true;
}

bool ChartData::SetPeriodChoice(PeriodChoice choice) {
    std::optional<SlotScheme> scheme = SlotScheme::ForCharts(choice);
    if (!scheme) return false;
    scheme_ = scheme;
    return true;
}

void ChartData::Rebuild(const RecordCache& cache, HostDatabase* db, const HostDateTime& start) {
    if (!scheme_) return;
    start_ = start;
    BuildAxis(db);
    average_.clear();
    counted_ = false;
    targetName_.clear();

    const TargetRecord* target = targetId_ != 0 ? cache.FindTarget(targetId_) : nullptr;
    if (!target) return;
    counted_ = true;
    targetName_ = target->name;
    kind_ = target->IsSum() ? ChartKind::Bars : ChartKind::Line;
    if (const std::optional<int32_t> dayStart = DayStartSeconds(db, start)) Fill(cache, *dayStart);
}

void ChartData::BuildAxis(HostDatabase* db) {
    const SlotScheme& scheme = *scheme_;
    const auto slotsPerDay = static_cast<int>(kSecondsPerDay / scheme.width());
    labelInterval_ = slotsPerDay;
    valueStep_ = kValueStep;
    minimumWidth_ = kMinimumWidth;
    labels_.clear();
    for (ChartSeries& s : series_) s.points.clear();

    const std::optional<int32_t> dayStart = DayStartSeconds(db, start_);
    for (int32_t slot = 0; slot < scheme.count(); ++slot) {
        const int day = slot / slotsPerDay;
        const int inDay = slot % slotsPerDay;
        std::string label;
        if (inDay > 0) {
            label = std::to_string(inDay * 24 / slotsPerDay) + ":00";
        } else {
            // Days carry their date every day (hourly slots), every fourth
            // day (half days) or every seventh day (whole days).
            const int dateEvery = slotsPerDay > 2 ? 1 : slotsPerDay == 2 ? 4 : 7;
            HostDateTime date;
            if (dayStart && day % dateEvery == 0 &&
                db->SecondsToDate(scheme.SlotStartSeconds(*dayStart, static_cast<uint32_t>(slot)), &date) >= 0) {
                label = FormatDateText(date);
            }
        }
        labels_.push_back(std::move(label));
        for (ChartSeries& s : series_) s.points.push_back({});
    }
}

void ChartData::Fill(const RecordCache& cache, int32_t dayStart) {
    std::vector<ChartPoint>& points = series_[0].points;
    double sum = 0.0;
    int64_t products = 0;

    for (const TargetAmount& entry : TargetAmounts(cache, targetId_)) {
        const ItemRecord* item = entry.item;
        const double amount = entry.amount;

        const ValuesByItem& perItem = cache.ValuesPerItem();
        for (auto it = perItem.lower_bound({item->id, 0}); it != perItem.end() && it->first.first == item->id; ++it) {
            const ValueRecord* value = it->second;
            if (!value) continue;
            const uint32_t slot = scheme_->SlotIndexOfSeconds(dayStart, value->seconds);
            if (slot >= points.size()) continue;
            const double product = amount * value->value;
            points[slot].value += product;
            points[slot].count += 1;
            sum += product;
            products += 1;
        }
    }
    if (kind_ == ChartKind::Line) {
        for (ChartPoint& p : points) {
            if (p.count > 0) p.value /= p.count;
        }
    }
    if (products > 0) average_.push_back(sum / static_cast<double>(products));
}

std::string ChartData::PointText(HostDatabase* db, int series, int point, bool withSpan) const {
    if (series < 0 || series >= kSeriesCount || point < 0 ||
        point >= static_cast<int>(series_[static_cast<std::size_t>(series)].points.size())) {
        return {};
    }
    std::string text;
    if (withSpan && scheme_) {
        const auto index = static_cast<uint32_t>(point);
        const HostDateTime from = scheme_->SlotStart(db, start_, index);
        const HostDateTime to = scheme_->SlotStart(db, start_, index + 1);
        text = "(" + FormatDateText(from) + "." + FormatTimeText(from) + "-" + FormatDateText(to) + "." +
               FormatTimeText(to) + ")";
    }
    if (counted_) {
        text += ChartValueText(series_[static_cast<std::size_t>(series)].points[static_cast<std::size_t>(point)].value,
                               targetName_);
    }
    return text;
}

}  // namespace orv
