#pragma once
// The look the module's pages share: the captions of their message boxes,
// the page font, the grids' row shades, and the conversion of record text (UTF-8) for display.

#include <QFont>
#include <QString>

#include <string>

namespace orv {

// Message box captions: the Units page asks under the plug-in's name, the
// other pages under the diabetes module's, and the record dialogs under the
// desktop's.
inline const QString kPluginCaption = QStringLiteral("ORV Plugin");
inline const QString kDiabetesCaption = QStringLiteral("ORV Diabetes");
inline const QString kDesktopCaption = QStringLiteral("ORV Desktop");

// The font of every page and its controls.
inline QFont PageFont() { return QFont(QStringLiteral("MS Sans Serif"), 8); }

// The two shades of a grid's alternating rows.
inline constexpr int kEvenRowColor = 0xF0F0F0;
inline constexpr int kOddRowColor = 0xE6E6E6;

// Record text as shown in a control.
inline QString PageText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace orv
