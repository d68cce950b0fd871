#pragma once
// Fitting a label into the fixed sizes the pages give their tabs and buttons:
// the text's font shrinks, in half points down to a floor, until it fits.

#include <QFont>
#include <QString>

namespace orv {

// base, or base made smaller so that text fits in width pixels; never below
// minimumPointSize (the caller elides whatever still does not fit).
QFont fittedFont(const QFont& base, const QString& text, int width, qreal minimumPointSize = 7.0);

}  // namespace orv
