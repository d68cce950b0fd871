#pragma once
// The target box, period box and date control that the Charts and Tables
// pages both show, and what the two pages do with them alike: fill the target
// box, read the choice, pass it to the other page, take the other page's
// choice, and keep it in the view settings.

#include <cstdint>

#include "data/HostInterfaces.h"
#include "ui/PeriodSyncBlock.h"
#include "util/ReportPeriod.h"

class QComboBox;

namespace orv {

class DateTimeControl;
class NameList;
struct PageSelection;

// A view of a page's three choice controls; the page owns them.
struct PeriodControls {
    QComboBox* targetBox = nullptr;
    QComboBox* periodBox = nullptr;
    DateTimeControl* dateControl = nullptr;

    // Refills the target box from `names`, keeping the chosen target.
    void FillTargets(const NameList& names) const;
    // The target chosen in the target box; 0 when none is.
    int32_t SelectedTargetId() const;
    // The date and time the date control shows.
    HostDateTime PickedDate() const;
    // The block that tells the other page about this choice.
    PeriodSyncBlock Block(PeriodChoice choice, const HostDateTime& picked) const;
    // Takes the other page's choice; a date the control cannot show leaves
    // it on its own date.
    void Receive(const PeriodSyncBlock& block) const;
    // Chooses the stored period and target; the date control keeps the date
    // it shows.
    void Restore(const PageSelection& stored, const NameList& targets) const;
    // Keeps period, date and target in `stored`.
    void Store(PageSelection& stored, HostDatabase& db) const;
};

}  // namespace orv
