#include "ui/controls/TextFit.h"

#include <QFontMetrics>

namespace orv {

QFont fittedFont(const QFont& base, const QString& text, int width, qreal minimumPointSize) {
    QFont font = base;
    if (font.pointSizeF() <= 0)  // a pixel-sized font is left as it is
        return font;
    while (QFontMetrics(font).horizontalAdvance(text) > width && font.pointSizeF() - 0.5 >= minimumPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

}  // namespace orv
