#include "ui/controls/ColorRef.h"

namespace orv {

std::optional<QColor> colorFromRef(int ref) {
    if (ref < 0) return std::nullopt;
    return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

QColor resolveColorRef(int ref, const QColor& fallback) { return colorFromRef(ref).value_or(fallback); }

int colorRefFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

}  // namespace orv
