#include "ui/charts/ChartsPage.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

#include "data/RecordCache.h"
#include "settings/ViewSettings.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/DateTimeControl.h"

namespace orv {
namespace {

constexpr int kControlHeight = 26;
constexpr int kComboItemHeight = 20;
constexpr int kTargetDropHeight = 400;
constexpr int kPeriodDropHeight = 130;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QComboBox* PageCombo(QWidget* parent, int dropHeight) {
    auto* combo = new QComboBox(parent);
    combo->setStyleSheet(
        QStringLiteral("QComboBox QAbstractItemView::item { min-height: %1px; }").arg(kComboItemHeight));
    combo->setMaxVisibleItems(std::max(1, dropHeight / kComboItemHeight));
    return combo;
}

}  // namespace

ChartsPage::ChartsPage(QWidget* parent) : PluginPage(parent) { setObjectName(QStringLiteral("ChartsPage")); }

void ChartsPage::LoadCacheParts() { ReloadCache(); }

void ChartsPage::ReloadCache() {
    if (!cache_) return;
    cache_->LoadTargets(db_);
    cache_->LoadTargetNames(db_);
    cache_->LoadGroups(db_);
    cache_->LoadGroupNames(db_);
    cache_->LoadItems(db_);
    cache_->LoadItemNames(db_);
    cache_->LoadValues(db_);
}

void ChartsPage::CreateContent() {
    if (chart_) return;
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    period_.SetDatabase(db_);

    periodBox_ = PageCombo(this, kPeriodDropHeight);
    for (const PeriodChoiceInfo& info : kPeriodChoices) periodBox_->addItem(QString::fromLatin1(info.itemText));
    periodBox_->setCurrentIndex(0);

    filter_ = new QLabel(this);
    filter_->setObjectName(QStringLiteral("FilterText"));
    filter_->setAlignment(Qt::AlignCenter);

    dateControl_ = new DateTimeControl(DateTimeControl::Kind::Date, this);
    dateControl_->setFormat(QStringLiteral("yyyy-MM-dd"));

    targetBox_ = PageCombo(this, kTargetDropHeight);
    FillTargetBox();

    chart_ = new ChartView(this);
    chart_->setWindowTitle(QString::fromLatin1(kChartTitle));
    chart_->setToolTipProvider([this](int series, int point) { return PointToolTip(series, point); });

    message_ = new QLabel(QString::fromLatin1(kStartMessage), this);
    message_->setObjectName(QStringLiteral("GraphMessage"));

    connect(targetBox_, &QComboBox::activated, this, [this] { Apply(true); });
    connect(periodBox_, &QComboBox::activated, this, [this] { Apply(true); });
    connect(dateControl_, &DateTimeControl::changed, this, [this] { Apply(true); });
    connect(chart_, &ChartView::pointDoubleClicked, this, &ChartsPage::ShowPoint);

    Redraw();
    Apply(false);
    LayoutControls();
}

void ChartsPage::FillTargetBox() {
    if (!targetBox_ || !cache_) return;
    controls().FillTargets(cache_->TargetNames());
}

int32_t ChartsPage::SelectedTargetId() const { return controls().SelectedTargetId(); }

void ChartsPage::Apply(bool notify) {
    if (!chart_) return;
    const HostDateTime picked = controls().PickedDate();
    period_.SetEnd(picked);
    const PeriodChoice choice = periodBox_->currentIndex();
    period_.SetChoice(choice);
    data_.SetTarget(SelectedTargetId());
    // No period selected: the chart keeps what it shows.
    if (data_.SetPeriodChoice(choice) && cache_) {
        data_.Rebuild(*cache_, db_, period_.GetStart());
        ShowData();
    }
    // The values for the next rebuild.
    if (cache_) cache_->LoadValues(db_);
    filter_->setText(Text(period_.GetPeriodText()));

    if (notify) emit periodSelected(controls().Block(choice, picked));
}

void ChartsPage::ShowData() {
    QStringList labels;
    for (const std::string& label : data_.labels()) labels << Text(label);
    std::vector<ChartView::Series> series;
    for (const ChartSeries& s : data_.series()) {
        ChartView::Series shown{Text(s.name), s.visible, {}};
        shown.points.reserve(s.points.size());
        for (const ChartPoint& p : s.points) shown.points.push_back({p.value, p.count});
        series.push_back(std::move(shown));
    }
    chart_->setKind(data_.kind() == ChartKind::Bars ? ChartView::Kind::Bars : ChartView::Kind::Line);
    chart_->setLabelInterval(data_.labelInterval());
    chart_->setValueStep(data_.valueStep());
    chart_->setMinimumChartWidth(data_.minimumWidth());
    chart_->setLabels(labels);
    chart_->setSeries(series);
    chart_->setAverage(data_.average());
}

void ChartsPage::Redraw() {
    if (!chart_) return;
    if (settings_) {
        const ChartDisplaySettings& display = settings_->display;
        chart_->setGridVisible(display.showGrid != 0);
        chart_->setGridStep(static_cast<double>(display.gridStep));
        chart_->setAverageLineVisible(display.averageLine != 0);
    }
    chart_->setPresetRange(0.0, 300.0);
    chart_->setAutoScale(true);
    chart_->Relayout();
}

void ChartsPage::ShowPoint(int series, int point) {
    if (!message_) return;
    message_->setText(Text(data_.PointText(db_, series, point, true)));
}

QString ChartsPage::PointToolTip(int series, int point) const {
    return Text(data_.PointText(db_, series, point, false)).trimmed().left(kToolTipLength);
}

void ChartsPage::Activate() {
    ReloadCache();
    FillTargetBox();
    Apply(false);
    if (chart_) chart_->Relayout();
}

void ChartsPage::ReceivePeriod(const PeriodSyncBlock& block) {
    if (!chart_) return;
    controls().Receive(block);
    Apply(false);
}

void ChartsPage::RestoreState() {
    if (!settings_ || !chart_) return;
    controls().Restore(settings_->charts, cache_ ? &cache_->TargetNames() : nullptr);
    Apply(false);
}

void ChartsPage::StoreState() {
    if (!settings_ || !chart_) return;
    controls().Store(settings_->charts, db_);
    settings_->Save(db_);
}

void ChartsPage::resizeEvent(QResizeEvent* event) {
    PluginPage::resizeEvent(event);
    LayoutControls();
}

void ChartsPage::LayoutControls() {
    if (!chart_) return;
    const QRect client = rect();
    const int l = client.left();
    const int t = client.top();
    const int r = client.left() + client.width();
    const int b = client.top() + client.height();
    periodBox_->setGeometry(l + 10, t + 10, 100, kControlHeight);
    filter_->setGeometry(l + 120, t + 10, std::max(0, r - l - 460), kControlHeight);
    dateControl_->setGeometry(r - 330, t + 10, 110, kControlHeight);
    targetBox_->setGeometry(r - l - 210, t + 10, 200, kControlHeight);
    chart_->setGeometry(l + 10, t + 46, std::max(0, r - l - 20), std::max(0, b - t - 82));
    message_->setGeometry(l + 10, b - 36, std::max(0, r - 20), kControlHeight);
    update();
}

}  // namespace orv
