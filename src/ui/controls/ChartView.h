#pragma once
// The chart window: bars or a line with point markers over labelled time
// slots, an optional vertical grid, an optional average line, tooltips and a
// hit test that reports a double-clicked point.
//
// The chart is drawn on an area of at least minimumWidth() by 300 pixels;
// when the window is smaller it scrolls. With automatic scaling on, each
// value axis is fitted to the counted points of its series before drawing.

#include <QScrollArea>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace orv {

class ChartView : public QScrollArea {
    Q_OBJECT
public:
    enum class Kind { Bars, Line };

    struct Point {
        double value = 0.0;
        int count = 0;  // a point with no count is not drawn
    };
    struct Series {
        QString name;
        bool visible = true;
        std::vector<Point> points;
    };
    struct Axis {
        double bottom = 0.0;
        double top = 0.0;
        double step = 1.0;
    };
    // (series index, point index)
    using PointRef = std::pair<int, int>;

    static constexpr int kMinimumHeight = 300;

    explicit ChartView(QWidget* parent = nullptr);

    // The fitted value axis of a series' counted points.
    static Axis ScaleAxis(Kind kind, const std::vector<Point>& points);

    void setKind(Kind kind);
    Kind kind() const { return kind_; }
    void setLabels(const QStringList& labels);
    const QStringList& labels() const { return labels_; }
    // Slots between labelled ticks.
    void setLabelInterval(int interval);
    int labelInterval() const { return labelInterval_; }
    void setSeries(const std::vector<Series>& series);
    const std::vector<Series>& series() const { return series_; }
    void setAverage(const std::vector<double>& average);
    const std::vector<double>& average() const { return average_; }
    void setValueStep(double step);
    double valueStep() const { return valueStep_; }
    void setMinimumChartWidth(int width);
    int minimumChartWidth() const { return minimumWidth_; }

    void setGridVisible(bool on);
    bool isGridVisible() const { return gridVisible_; }
    // Slots between vertical grid lines.
    void setGridStep(double step);
    double gridStep() const { return gridStep_; }
    void setAverageLineVisible(bool on);
    bool isAverageLineVisible() const { return averageLine_; }
    // The value range used while automatic scaling is off.
    void setPresetRange(double bottom, double top);
    void setAutoScale(bool on);
    bool isAutoScale() const { return autoScale_; }

    // The axis the chart is drawn with for a series.
    Axis axisOf(int series) const;
    // The counted point under a position of the drawing area, if any.
    std::optional<PointRef> HitTest(const QPoint& position) const;
    // The centre of a point in the drawing area's coordinates.
    QPoint PointPosition(int series, int point) const;
    // Asked for the tooltip of the point under the mouse.
    void setToolTipProvider(std::function<QString(int series, int point)> provider);
    // Lays the drawing area out again and repaints.
    void Relayout();

    QWidget* canvas() const { return widget(); }
    // The slot labels drawn under the axis, each with its rectangle in the
    // drawing area: those that fit without overlap or cut (see AxisLabels).
    std::vector<std::pair<int, QRect>> LabelRects() const;

signals:
    void pointDoubleClicked(int series, int point);

private:
    friend class ChartCanvas;
    QRect PlotRect() const;
    double SlotWidth() const;
    int ValueToY(const Axis& axis, double value) const;
    void Paint(QPainter& painter) const;
    QString ToolTipAt(const QPoint& position) const;

    Kind kind_ = Kind::Bars;
    QStringList labels_;
    int labelInterval_ = 1;
    std::vector<Series> series_;
    std::vector<double> average_;
    double valueStep_ = 20.0;
    int minimumWidth_ = 600;
    bool gridVisible_ = true;
    double gridStep_ = 10.0;
    bool averageLine_ = true;
    double presetBottom_ = 0.0;
    double presetTop_ = 300.0;
    bool autoScale_ = true;
    std::function<QString(int, int)> toolTip_;
};

}  // namespace orv
