#include "ui/charts/ChartsPage.h"

#include <QLabel>

#include <algorithm>

#include "data/RecordCache.h"
#include "settings/ViewSettings.h"
#include "ui/PageStyle.h"
#include "ui/controls/ChartView.h"

namespace orv {

ChartsPage::ChartsPage(const PageContext& context, QWidget* parent)
    : PeriodPage(context, &ViewSettings::charts, parent) {
    setObjectName(QStringLiteral("ChartsPage"));
}

void ChartsPage::LoadCacheParts() {
    cache_.LoadTargets(&db_);
    cache_.LoadTargetNames(&db_);
    cache_.LoadGroups(&db_);
    cache_.LoadGroupNames(&db_);
    cache_.LoadItems(&db_);
    cache_.LoadItemNames(&db_);
    cache_.LoadValues(&db_);
}

void ChartsPage::CreateContent() {
    if (HasContent()) return;
    CreatePeriodRow();
    Caption()->setObjectName(QStringLiteral("FilterText"));

    chart_ = new ChartView(this);
    chart_->setWindowTitle(QString::fromLatin1(kChartTitle));
    chart_->setToolTipProvider([this](int series, int point) { return PointToolTip(series, point); });

    message_ = new QLabel(QString::fromLatin1(kStartMessage), this);
    message_->setObjectName(QStringLiteral("GraphMessage"));

    connect(chart_, &ChartView::pointDoubleClicked, this, &ChartsPage::ShowPoint);

    Redraw();
    Apply(false);
    LayoutControls();
}

void ChartsPage::ShowPeriod(PeriodChoice choice) {
    data_.SetTarget(SelectedTargetId());
    // No period selected: the chart keeps what it shows.
    if (data_.SetPeriodChoice(choice)) {
        data_.Rebuild(cache_, &db_, Period().GetStart());
        ShowData();
    }
    // The values for the next rebuild.
    cache_.LoadValues(&db_);
    Caption()->setText(PageText(Period().GetPeriodText()));
}

void ChartsPage::ShowData() {
    QStringList labels;
    for (const std::string& label : data_.Labels()) labels << PageText(label);
    std::vector<ChartView::Series> series;
    for (const ChartSeries& s : data_.Series()) {
        ChartView::Series shown{PageText(s.name), s.visible, {}};
        shown.points.reserve(s.points.size());
        for (const ChartPoint& p : s.points) shown.points.push_back({p.value, p.count});
        series.push_back(std::move(shown));
    }
    chart_->setKind(data_.Kind() == ChartKind::Bars ? ChartView::Kind::Bars : ChartView::Kind::Line);
    chart_->setLabelInterval(data_.LabelInterval());
    chart_->setValueStep(data_.ValueStep());
    chart_->setMinimumChartWidth(data_.MinimumWidth());
    chart_->setLabels(labels);
    chart_->setSeries(series);
    chart_->setAverage(data_.Average());
}

void ChartsPage::Redraw() {
    if (!chart_) return;
    const ChartDisplaySettings& display = settings_.display;
    chart_->setGridVisible(display.showGrid != 0);
    chart_->setGridStep(static_cast<double>(display.gridStep));
    chart_->setAverageLineVisible(display.averageLine != 0);
    chart_->setPresetRange(0.0, 300.0);
    chart_->setAutoScale(true);
    chart_->Relayout();
}

void ChartsPage::ShowPoint(int series, int point) {
    if (!message_) return;
    message_->setText(PageText(data_.PointText(&db_, series, point, true)));
}

QString ChartsPage::PointToolTip(int series, int point) const {
    return PageText(data_.PointText(&db_, series, point, false)).trimmed().left(kToolTipLength);
}

void ChartsPage::Activate() {
    PeriodPage::Activate();
    if (chart_) chart_->Relayout();
}

void ChartsPage::LayoutContent(const QRect& client) {
    const int l = client.left();
    const int t = client.top();
    const int r = client.left() + client.width();
    const int b = client.top() + client.height();
    chart_->setGeometry(l + 10, t + 46, std::max(0, r - l - 20), std::max(0, b - t - 82));
    message_->setGeometry(l + 10, b - 36, std::max(0, r - 20), kControlHeight);
}

}  // namespace orv
