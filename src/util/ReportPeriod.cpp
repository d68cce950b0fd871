#include "util/ReportPeriod.h"

#include "util/DateText.h"

namespace orv {
namespace {

HostDateTime AtTimeOfDay(HostDateTime date, uint16_t hour, uint16_t minute, uint16_t second) {
    date.hour = hour;
    date.minute = minute;
    date.second = second;
    return date;
}

}  // namespace

const PeriodChoiceInfo* FindPeriodChoice(PeriodChoice choice) {
    if (choice < 0 || choice >= static_cast<PeriodChoice>(kPeriodChoices.size())) return nullptr;
    return &kPeriodChoices[static_cast<std::size_t>(choice)];
}

ReportPeriod::ReportPeriod(HostDatabase* db) : db_(db) {}

ReportPeriod::~ReportPeriod() = default;

std::string ReportPeriod::GetPeriodText() const {
    const PeriodChoiceInfo* info = FindPeriodChoice(choice_);
    if (!info) return "All";
    return info->descriptionPrefix + FormatDateText(end_);
}

PeriodChoice ReportPeriod::GetChoice() const { return choice_; }

void ReportPeriod::SetRange(const HostDateTime& start, const HostDateTime& end) {
    SetStart(start);
    SetEnd(end);
}

void ReportPeriod::SetChoice(PeriodChoice choice) {
    choice_ = choice;
    const HostDateTime end = GetEnd();
    switch (choice) {
    case kPeriod7Days: GoBack7Days(end); break;
    case kPeriod15Days: GoBack15Days(end); break;
    case kPeriod30Days: GoBack30Days(end); break;
    case kPeriod60Days: GoBack60Days(end); break;
    case kPeriod120Days: GoBack120Days(end); break;
    default: break;  // no selection: the range stays as it was
    }
}

void ReportPeriod::SetStart(const HostDateTime& date) {
    start_ = AtTimeOfDay(date, 0, 0, 0);
    hasStart_ = true;
}

void ReportPeriod::SetEnd(const HostDateTime& date) {
    end_ = AtTimeOfDay(date, 23, 59, 59);
    hasEnd_ = true;
}

HostDateTime ReportPeriod::GetStart() const { return start_; }
HostDateTime ReportPeriod::GetEnd() const { return end_; }

void ReportPeriod::GoBack7Days(const HostDateTime& end) { GoBack(kPeriodChoices[0], end); }
void ReportPeriod::GoBack15Days(const HostDateTime& end) { GoBack(kPeriodChoices[1], end); }
void ReportPeriod::GoBack30Days(const HostDateTime& end) { GoBack(kPeriodChoices[2], end); }
void ReportPeriod::GoBack60Days(const HostDateTime& end) { GoBack(kPeriodChoices[3], end); }
void ReportPeriod::GoBack120Days(const HostDateTime& end) { GoBack(kPeriodChoices[4], end); }

void ReportPeriod::GoBack(const PeriodChoiceInfo& info, const HostDateTime& end) {
    HostDateTime last = end;
    last.hour = 23;
    last.minute = 59;
    last.second = 59;
    // A date the host cannot convert leaves the range as it was rather than
    // setting a start made of garbage.
    if (!db_) return;
    int32_t seconds = 0;
    if (db_->DateToSeconds(&seconds, &last) < 0) return;
    // Host seconds compare unsigned; subtract in unsigned arithmetic.
    const uint32_t startSeconds = static_cast<uint32_t>(seconds) - static_cast<uint32_t>(info.windowSeconds);
    HostDateTime start = kZeroDateTime;
    if (db_->SecondsToDate(static_cast<int32_t>(startSeconds), &start) < 0) return;
    SetRange(start, end);
}

}  // namespace orv
