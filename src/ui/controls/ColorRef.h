#pragma once
// Colours as they cross between host and module: Win32 values 0x00BBGGRR,
// with -1 meaning "the system colour" (whatever the widget's palette says).

#include <QColor>

#include <optional>

namespace orv {

inline constexpr int kSystemColor = -1;

// The colour of a Win32 value; nothing for -1 (or any other negative value).
// Bits above the blue byte are ignored.
std::optional<QColor> colorFromRef(int ref);
// The colour of ref, or fallback when ref asks for the system colour.
QColor resolveColorRef(int ref, const QColor& fallback);
// The Win32 value of an (opaque) colour.
int colorRefFromColor(const QColor& color);

}  // namespace orv
