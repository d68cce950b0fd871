#pragma once
// A one-line label on a horizontal gradient between two colours (the pages'
// title and category labels). Colours are Win32 values; -1 takes the palette's
// Button colour. Text is plain, drawn in the palette's WindowText colour.

#include <QColor>
#include <QLabel>

namespace orv {

class HostColorProvider;

class ColoredLabel : public QLabel {
    Q_OBJECT

public:
    explicit ColoredLabel(QWidget* parent = nullptr);
    explicit ColoredLabel(const QString& text, QWidget* parent = nullptr);

    // Left and right colours of the gradient; repaints.
    void setColors(int firstRef, int secondRef);
    // Takes the host's two label colours (numbers 7 and 8) and repaints at
    // once; without a colour provider the label keeps its colours.
    void applyHostColors(HostColorProvider* colors);
    QColor firstColor() const;
    QColor secondColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The colours a label has until the host's are read.
    int firstRef_ = 0xC8C8C8;
    int secondRef_ = 0xFFFFFF;
};

}  // namespace orv
