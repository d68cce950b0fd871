#include "ui/PeriodPage.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

#include "data/RecordCache.h"
#include "settings/ViewSettings.h"
#include "ui/PageStyle.h"
#include "ui/controls/DateTimeControl.h"

namespace orv {
namespace {

constexpr int kComboItemHeight = 20;
constexpr int kTargetDropHeight = 400;
constexpr int kPeriodDropHeight = 130;

QComboBox* PageCombo(QWidget* parent, int dropHeight) {
    auto* combo = new QComboBox(parent);
    combo->setStyleSheet(
        QStringLiteral("QComboBox QAbstractItemView::item { min-height: %1px; }").arg(kComboItemHeight));
    combo->setMaxVisibleItems(std::max(1, dropHeight / kComboItemHeight));
    return combo;
}

}  // namespace

PeriodPage::PeriodPage(const PageContext& context, PageSelection ViewSettings::*stored, QWidget* parent)
    : PluginPage(context, parent), stored_(stored), period_(&context.db) {}

void PeriodPage::CreatePeriodRow() {
    setFont(PageFont());

    periodBox_ = PageCombo(this, kPeriodDropHeight);
    for (const PeriodChoiceInfo& info : kPeriodChoices) periodBox_->addItem(QString::fromLatin1(info.itemText));
    periodBox_->setCurrentIndex(0);

    caption_ = new QLabel(this);
    caption_->setAlignment(Qt::AlignCenter);

    dateControl_ = new DateTimeControl(DateTimeControl::Kind::Date, this);
    dateControl_->setFormat(QStringLiteral("yyyy-MM-dd"));

    targetBox_ = PageCombo(this, kTargetDropHeight);
    FillTargetBox();

    connect(targetBox_, &QComboBox::activated, this, [this] { Apply(true); });
    connect(periodBox_, &QComboBox::activated, this, [this] { Apply(true); });
    connect(dateControl_, &DateTimeControl::changed, this, [this] { Apply(true); });
}

void PeriodPage::FillTargetBox() {
    if (!targetBox_) return;
    Controls().FillTargets(cache_.TargetNames());
}

int32_t PeriodPage::SelectedTargetId() const { return Controls().SelectedTargetId(); }

void PeriodPage::Apply(bool notify) {
    if (!HasContent()) return;
    const HostDateTime picked = Controls().PickedDate();
    period_.SetEnd(picked);
    const PeriodChoice choice = periodBox_->currentIndex();
    period_.SetChoice(choice);
    if (notify) emit periodSelected(Controls().Block(choice, picked));
    ShowPeriod(choice);
}

void PeriodPage::Activate() {
    LoadCacheParts();
    FillTargetBox();
    Apply(false);
}

void PeriodPage::ReceivePeriod(const PeriodSyncBlock& block) {
    if (!HasContent()) return;
    Controls().Receive(block);
    Apply(false);
}

void PeriodPage::RestoreState() {
    if (!HasContent()) return;
    Controls().Restore(settings_.*stored_, cache_.TargetNames());
    Apply(false);
}

void PeriodPage::StoreState() {
    if (!HasContent()) return;
    Controls().Store(settings_.*stored_, db_);
    settings_.Save(&db_);
}

void PeriodPage::resizeEvent(QResizeEvent* event) {
    PluginPage::resizeEvent(event);
    LayoutControls();
}

void PeriodPage::LayoutControls() {
    if (!HasContent()) return;
    const QRect client = rect();
    const int l = client.left();
    const int t = client.top();
    const int r = client.left() + client.width();
    periodBox_->setGeometry(l + 10, t + 10, 100, kControlHeight);
    caption_->setGeometry(l + 120, t + 10, std::max(0, r - l - 460), kControlHeight);
    dateControl_->setGeometry(r - 330, t + 10, 110, kControlHeight);
    targetBox_->setGeometry(r - 210, t + 10, 200, kControlHeight);
    LayoutContent(client);
    update();
}

}  // namespace orv
