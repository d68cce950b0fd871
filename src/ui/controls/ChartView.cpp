#include "ui/controls/ChartView.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "ui/controls/AxisLabels.h"
#include "util/NumberFormat.h"

namespace orv {
namespace {

constexpr int kLeftMargin = 60;
constexpr int kRightMargin = 15;
constexpr int kTopMargin = 15;
constexpr int kBottomMargin = 45;
constexpr int kMarkerRadius = 3;
constexpr int kHitDistance = 8;
constexpr int kMaxAxisTicks = 200;

}  // namespace

// The drawing area inside the scroll area; all drawing and mouse handling is
// the view's.
class ChartCanvas : public QWidget {
public:
    explicit ChartCanvas(ChartView* view) : QWidget(view), view_(view) {
        setMouseTracking(true);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        view_->Paint(painter);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (const std::optional<ChartView::PointRef> hit = view_->HitTest(event->position().toPoint())) {
            emit view_->pointDoubleClicked(hit->first, hit->second);
        }
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            const QString text = view_->ToolTipAt(help->pos());
            if (text.isEmpty()) {
                QToolTip::hideText();
                event->ignore();
            } else {
                QToolTip::showText(help->globalPos(), text, this);
            }
            return true;
        }
        return QWidget::event(event);
    }

private:
    ChartView* view_;
};

ChartView::ChartView(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setWidget(new ChartCanvas(this));
    Relayout();
}

ChartView::Axis ChartView::ScaleAxis(Kind kind, const std::vector<Point>& points) {
    double largest = -0.2;
    double smallest = 0.2;
    bool first = true;
    for (const Point& p : points) {
        if (p.count <= 0 || !std::isfinite(p.value)) continue;
        largest = first ? p.value : std::max(largest, p.value);
        smallest = first ? p.value : std::min(smallest, p.value);
        first = false;
    }
    Axis axis;
    axis.top = largest * 1.05;
    if (kind == Kind::Bars) {
        axis.bottom = smallest > 0 ? 0.0 : smallest - 1.0;
    } else {
        axis.bottom = smallest > 0 ? smallest * 0.95 : smallest * 1.05;
    }
    if (std::fabs(axis.top - axis.bottom) < 0.00001) axis.top = axis.bottom + 0.00002;
    axis.step = NiceStep((axis.top - axis.bottom) / 10.0);
    return axis;
}

void ChartView::setKind(Kind kind) {
    kind_ = kind;
    Relayout();
}
void ChartView::setLabels(const QStringList& labels) {
    labels_ = labels;
    Relayout();
}
void ChartView::setLabelInterval(int interval) {
    labelInterval_ = std::max(1, interval);
    Relayout();
}
void ChartView::setSeries(const std::vector<Series>& series) {
    series_ = series;
    Relayout();
}
void ChartView::setAverage(const std::vector<double>& average) {
    average_ = average;
    Relayout();
}
void ChartView::setValueStep(double step) {
    valueStep_ = step;
    Relayout();
}
void ChartView::setMinimumChartWidth(int width) {
    minimumWidth_ = std::max(0, width);
    Relayout();
}
void ChartView::setGridVisible(bool on) {
    gridVisible_ = on;
    Relayout();
}
void ChartView::setGridStep(double step) {
    gridStep_ = step;
    Relayout();
}
void ChartView::setAverageLineVisible(bool on) {
    averageLine_ = on;
    Relayout();
}
void ChartView::setPresetRange(double bottom, double top) {
    presetBottom_ = bottom;
    presetTop_ = top;
    Relayout();
}
void ChartView::setAutoScale(bool on) {
    autoScale_ = on;
    Relayout();
}
void ChartView::setToolTipProvider(std::function<QString(int, int)> provider) { toolTip_ = std::move(provider); }

void ChartView::Relayout() {
    if (QWidget* area = widget()) {
        area->setMinimumSize(minimumWidth_, kMinimumHeight);
        area->update();
    }
}

ChartView::Axis ChartView::axisOf(int series) const {
    if (!autoScale_ || series < 0 || series >= static_cast<int>(series_.size())) {
        Axis axis{presetBottom_, presetTop_, valueStep_};
        if (!(axis.step > 0)) axis.step = 1.0;
        return axis;
    }
    return ScaleAxis(kind_, series_[static_cast<std::size_t>(series)].points);
}

QRect ChartView::PlotRect() const {
    const QWidget* area = widget();
    const QRect all = area ? area->rect() : QRect();
    return all.adjusted(kLeftMargin, kTopMargin, -kRightMargin, -kBottomMargin);
}

double ChartView::SlotWidth() const {
    const auto slotCount = static_cast<int>(labels_.size());
    return slotCount > 0 ? static_cast<double>(PlotRect().width()) / slotCount : 0.0;
}

int ChartView::ValueToY(const Axis& axis, double value) const {
    const QRect plot = PlotRect();
    const double range = axis.top - axis.bottom;
    if (!(std::fabs(range) > 0) || !std::isfinite(value)) return plot.bottom();
    const double y = plot.bottom() - (value - axis.bottom) / range * plot.height();
    return static_cast<int>(std::lround(std::clamp(y, -1.0e6, 1.0e6)));
}

QPoint ChartView::PointPosition(int series, int point) const {
    const QRect plot = PlotRect();
    const double x = plot.left() + (point + 0.5) * SlotWidth();
    const bool known = series >= 0 && series < static_cast<int>(series_.size()) && point >= 0 &&
                       point < static_cast<int>(series_[static_cast<std::size_t>(series)].points.size());
    const double value =
        known ? series_[static_cast<std::size_t>(series)].points[static_cast<std::size_t>(point)].value : 0.0;
    return {static_cast<int>(std::lround(x)), ValueToY(axisOf(series), value)};
}

std::optional<ChartView::PointRef> ChartView::HitTest(const QPoint& position) const {
    const QRect plot = PlotRect();
    const double width = SlotWidth();
    if (width <= 0 || position.x() < plot.left() || position.x() > plot.right()) return std::nullopt;
    const int point = static_cast<int>((position.x() - plot.left()) / width);
    for (int s = 0; s < static_cast<int>(series_.size()); ++s) {
        const Series& series = series_[static_cast<std::size_t>(s)];
        if (!series.visible || point >= static_cast<int>(series.points.size())) continue;
        if (series.points[static_cast<std::size_t>(point)].count <= 0) continue;
        const QPoint centre = PointPosition(s, point);
        if (kind_ == Kind::Line) {
            if (std::abs(position.y() - centre.y()) <= kHitDistance) return PointRef{s, point};
        } else {
            const int base = ValueToY(axisOf(s), std::max(0.0, axisOf(s).bottom));
            const int low = std::min(base, centre.y()) - kHitDistance;
            const int high = std::max(base, centre.y()) + kHitDistance;
            if (position.y() >= low && position.y() <= high) return PointRef{s, point};
        }
    }
    return std::nullopt;
}

QString ChartView::ToolTipAt(const QPoint& position) const {
    const std::optional<PointRef> hit = HitTest(position);
    if (!hit || !toolTip_) return {};
    return toolTip_(hit->first, hit->second);
}

std::vector<std::pair<int, QRect>> ChartView::LabelRects() const {
    const QRect plot = PlotRect();
    const QWidget* area = widget();
    if (!area || plot.width() <= 0) return {};
    const QFontMetrics metrics(area->font());
    std::vector<double> widths;
    widths.reserve(static_cast<std::size_t>(labels_.size()));
    for (const QString& label : labels_) widths.push_back(label.isEmpty() ? 0.0 : metrics.horizontalAdvance(label) + 2);
    AxisLabelSpace space;
    space.firstTick = plot.left();
    space.slotWidth = SlotWidth();
    space.left = 0;
    space.right = area->width();
    std::vector<std::pair<int, QRect>> rects;
    for (const int slot : ChooseAxisLabels(widths, labelInterval_, space)) {
        const int width = static_cast<int>(std::ceil(widths[static_cast<std::size_t>(slot)]));
        const int x = static_cast<int>(std::lround(plot.left() + slot * space.slotWidth));
        rects.emplace_back(slot, QRect(x - width / 2, plot.bottom() + 6, width, metrics.height()));
    }
    return rects;
}

void ChartView::Paint(QPainter& painter) const {
    const QRect plot = PlotRect();
    if (plot.width() <= 0 || plot.height() <= 0) return;
    const QPalette& pal = palette();
    painter.fillRect(plot, pal.color(QPalette::Base));
    const QColor gridColor = pal.color(QPalette::Mid);
    const double width = SlotWidth();

    // The first visible series sets the value axis.
    int axisSeries = -1;
    for (int s = 0; s < static_cast<int>(series_.size()); ++s) {
        if (series_[static_cast<std::size_t>(s)].visible) {
            axisSeries = s;
            break;
        }
    }
    const Axis axis = axisOf(axisSeries);
    painter.setPen(pal.color(QPalette::Text));
    if (axis.top > axis.bottom && axis.step > 0) {
        const double first = std::ceil(axis.bottom / axis.step) * axis.step;
        for (int tick = 0; tick < kMaxAxisTicks; ++tick) {
            const double value = first + tick * axis.step;
            if (value > axis.top) break;
            const int y = ValueToY(axis, value);
            const QString text = QString::number(std::fabs(value) < axis.step * 1e-6 ? 0.0 : value, 'g', 8);
            painter.drawLine(plot.left() - 4, y, plot.left(), y);
            painter.drawText(QRect(0, y - 8, kLeftMargin - 8, 16), Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }

    // Vertical grid and slot labels.
    if (gridVisible_ && gridStep_ >= 1 && width > 0) {
        painter.setPen(QPen(gridColor, 1, Qt::DotLine));
        for (double slot = gridStep_; slot < labels_.size(); slot += gridStep_) {
            const int x = static_cast<int>(std::lround(plot.left() + slot * width));
            painter.drawLine(x, plot.top(), x, plot.bottom());
        }
    }
    painter.setPen(pal.color(QPalette::Text));
    for (int slot = 0; slot < labels_.size(); slot += labelInterval_) {
        const int x = static_cast<int>(std::lround(plot.left() + slot * width));
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
    }
    for (const auto& [slot, rect] : LabelRects()) painter.drawText(rect, Qt::AlignCenter, labels_[slot]);

    painter.setClipRect(plot);
    const QColor colour = pal.color(QPalette::Highlight);
    for (int s = 0; s < static_cast<int>(series_.size()); ++s) {
        const Series& series = series_[static_cast<std::size_t>(s)];
        if (!series.visible) continue;
        const Axis own = axisOf(s);
        if (kind_ == Kind::Bars) {
            const int base = ValueToY(own, std::max(0.0, own.bottom));
            for (int p = 0; p < static_cast<int>(series.points.size()); ++p) {
                if (series.points[static_cast<std::size_t>(p)].count <= 0) continue;
                const QPoint centre = PointPosition(s, p);
                const int half = std::max(1, static_cast<int>(width * 0.35));
                painter.fillRect(QRect(QPoint(centre.x() - half, std::min(base, centre.y())),
                                       QPoint(centre.x() + half, std::max(base, centre.y()))),
                                 colour);
            }
        } else {
            QPainterPath path;
            bool started = false;
            painter.setPen(QPen(colour, 2));
            for (int p = 0; p < static_cast<int>(series.points.size()); ++p) {
                if (series.points[static_cast<std::size_t>(p)].count <= 0) continue;
                const QPoint centre = PointPosition(s, p);
                if (started) {
                    path.lineTo(centre);
                } else {
                    path.moveTo(centre);
                    started = true;
                }
            }
            painter.drawPath(path);
            painter.setBrush(colour);
            for (int p = 0; p < static_cast<int>(series.points.size()); ++p) {
                if (series.points[static_cast<std::size_t>(p)].count > 0)
                    painter.drawEllipse(PointPosition(s, p), kMarkerRadius, kMarkerRadius);
            }
            painter.setBrush(Qt::NoBrush);
        }
    }
    if (averageLine_ && !average_.empty()) {
        painter.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DashLine));
        const int y = ValueToY(axis, average_.front());
        painter.drawLine(plot.left(), y, plot.right(), y);
    }
    painter.setClipping(false);
    painter.setPen(pal.color(QPalette::Text));
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
}

}  // namespace orv
