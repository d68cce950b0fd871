#pragma once
// Reporting periods: a period ends on a picked day and reaches back a fixed
// number of calendar days. The Charts and Tables pages each own one.
//
// Dates are turned into host seconds and back only through the database's
// DateToSeconds and SecondsToDate; in between everything is whole-second
// arithmetic with 86400 seconds a day, so no calendar is computed here.

#include <array>
#include <cstdint>
#include <string>

#include "data/HostInterfaces.h"

namespace orv {

inline constexpr int32_t kSecondsPerDay = 86400;

// The selected index of a period combo box; -1 when nothing is selected.
using PeriodChoice = int32_t;
inline constexpr PeriodChoice kNoPeriodChoice = -1;
// The choices in the order the combo box lists them.
enum : PeriodChoice { kPeriod7Days, kPeriod15Days, kPeriod30Days, kPeriod60Days, kPeriod120Days };

struct PeriodChoiceInfo {
    const char* itemText;           // the combo box item
    int32_t days;                   // N, calendar days including the end day
    int32_t windowSeconds;          // N * 86400 - 1: from the start to 23:59:59 of the end day
    const char* descriptionPrefix;  // followed by the end date
};

// The five items of both period combo boxes, in combo box order.
inline constexpr std::array<PeriodChoiceInfo, 5> kPeriodChoices = {{
    {"7 days", 7, 7 * kSecondsPerDay - 1, "7 days to "},
    {"15 days", 15, 15 * kSecondsPerDay - 1, "15 days to "},
    {"30 days", 30, 30 * kSecondsPerDay - 1, "30 days to "},
    {"60 days", 60, 60 * kSecondsPerDay - 1, "60 days to "},
    {"120 days", 120, 120 * kSecondsPerDay - 1, "120 days to "},
}};

// The entry of a choice, or null for a choice outside 0 to 4.
const PeriodChoiceInfo* FindPeriodChoice(PeriodChoice choice);

// A date with every field 0, as a period holds before it is set.
inline constexpr HostDateTime kZeroDateTime{0, 0, 0, 0, 0, 0, 0};

class ReportPeriod {
public:
    // `db` converts dates; without one the go-back operations leave the
    // range unchanged.
    explicit ReportPeriod(HostDatabase* db = nullptr);

    // Virtual operations, in slot order.
    virtual ~ReportPeriod();
    // "<N> days to MM/DD/YYYY" for choices 0 to 4, otherwise "All".
    virtual std::string GetPeriodText() const;
    virtual PeriodChoice GetChoice() const;
    // SetStart(start), then SetEnd(end).
    virtual void SetRange(const HostDateTime& start, const HostDateTime& end);
    // Stores the choice; for 0 to 4 goes back that many days from the
    // current end. Any other choice leaves start and end unchanged.
    virtual void SetChoice(PeriodChoice choice);
    // Copies the date at 00:00:00.
    virtual void SetStart(const HostDateTime& date);
    // Copies the date at 23:59:59.
    virtual void SetEnd(const HostDateTime& date);
    virtual HostDateTime GetStart() const;
    virtual HostDateTime GetEnd() const;
    // Each sets the range to the N calendar days ending on the day of `end`.
    virtual void GoBack7Days(const HostDateTime& end);
    virtual void GoBack15Days(const HostDateTime& end);
    virtual void GoBack30Days(const HostDateTime& end);
    virtual void GoBack60Days(const HostDateTime& end);
    virtual void GoBack120Days(const HostDateTime& end);

    bool HasStart() const { return hasStart_; }
    bool HasEnd() const { return hasEnd_; }

private:
    void GoBack(const PeriodChoiceInfo& info, const HostDateTime& end);

    HostDatabase* db_;
    HostDateTime start_ = kZeroDateTime;
    bool hasStart_ = false;
    HostDateTime end_ = kZeroDateTime;
    bool hasEnd_ = false;
    PeriodChoice choice_ = 0;
};

}  // namespace orv
