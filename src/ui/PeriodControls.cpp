#include "ui/PeriodControls.h"

#include <QComboBox>

#include "data/NameList.h"
#include "settings/ViewSettings.h"
#include "ui/controls/DateTimeControl.h"

namespace orv {

void PeriodControls::FillTargets(const NameList& names) const {
    if (!targetBox) return;
    const int32_t keep = SelectedTargetId();
    targetBox->clear();
    for (const int32_t id : names.Ids()) targetBox->addItem(QString::fromStdString(names.NameOf(id)), id);
    const int position = keep != 0 ? names.PositionOf(keep) : -1;
    targetBox->setCurrentIndex(position >= 0 ? position : (targetBox->count() > 0 ? 0 : -1));
}

int32_t PeriodControls::SelectedTargetId() const {
    if (!targetBox || targetBox->currentIndex() < 0) return 0;
    return targetBox->currentData().toInt();
}

HostDateTime PeriodControls::PickedDate() const {
    const QDate date = dateControl ? dateControl->date() : QDate();
    const QTime time = dateControl ? dateControl->time() : QTime();
    SystemTime picked;
    picked.wYear = static_cast<uint16_t>(date.year());
    picked.wMonth = static_cast<uint16_t>(date.month());
    picked.wDayOfWeek = static_cast<uint16_t>(date.dayOfWeek() % 7);
    picked.wDay = static_cast<uint16_t>(date.day());
    picked.wHour = static_cast<uint16_t>(time.hour());
    picked.wMinute = static_cast<uint16_t>(time.minute());
    picked.wSecond = static_cast<uint16_t>(time.second());
    return ToHostDateTime(picked);
}

PeriodSyncBlock PeriodControls::Block(PeriodChoice choice, const HostDateTime& picked) const {
    PeriodSyncBlock block;
    block.periodIndex = choice;
    block.date = ToSystemTime(picked);
    block.targetIndex = targetBox->currentIndex();
    return block;
}

void PeriodControls::Receive(const PeriodSyncBlock& block) const {
    const bool knownTarget = block.targetIndex >= 0 && block.targetIndex < targetBox->count();
    targetBox->setCurrentIndex(knownTarget ? block.targetIndex : -1);
    const bool knownPeriod = block.periodIndex >= 0 && block.periodIndex < periodBox->count();
    periodBox->setCurrentIndex(knownPeriod ? block.periodIndex : -1);
    const QDate date(block.date.wYear, block.date.wMonth, block.date.wDay);
    const QTime time(block.date.wHour, block.date.wMinute, block.date.wSecond);
    if (date.isValid()) dateControl->setValue(date, time.isValid() ? time : QTime(0, 0));
}

void PeriodControls::Restore(const PageSelection& stored, const NameList& targets) const {
    if (stored.period >= 0 && stored.period < periodBox->count()) periodBox->setCurrentIndex(stored.period);
    const int position = targets.PositionOf(stored.targetId);
    if (position >= 0 && position < targetBox->count()) targetBox->setCurrentIndex(position);
}

void PeriodControls::Store(PageSelection& stored, HostDatabase& db) const {
    stored.period = periodBox->currentIndex();
    int32_t seconds = 0;
    const HostDateTime picked = PickedDate();
    if (db.DateToSeconds(&seconds, &picked) >= 0) stored.seconds = seconds;
    stored.targetId = SelectedTargetId();
}

}  // namespace orv
