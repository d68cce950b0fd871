#include "ui/controls/ColoredLabel.h"

#include "data/HostInterfaces.h"

#include "ui/controls/ColorRef.h"

#include <QLinearGradient>
#include <QPainter>

namespace orv {

ColoredLabel::ColoredLabel(QWidget* parent) : ColoredLabel(QString(), parent) {}

ColoredLabel::ColoredLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setIndent(6);
    setAutoFillBackground(false);
}

void ColoredLabel::setColors(int firstRef, int secondRef) {
    firstRef_ = firstRef;
    secondRef_ = secondRef;
    update();
}

void ColoredLabel::applyHostColors(HostColorProvider* colors) {
    if (!colors) return;
    setColors(colors->GetColor(7), colors->GetColor(8));
    repaint();
}

QColor ColoredLabel::firstColor() const { return resolveColorRef(firstRef_, palette().color(QPalette::Button)); }

QColor ColoredLabel::secondColor() const { return resolveColorRef(secondRef_, palette().color(QPalette::Button)); }

void ColoredLabel::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        QLinearGradient gradient(rect().topLeft(), rect().topRight());
        gradient.setColorAt(0, firstColor());
        gradient.setColorAt(1, secondColor());
        painter.fillRect(rect(), gradient);
    }
    QLabel::paintEvent(event);
}

}  // namespace orv
