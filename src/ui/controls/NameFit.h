#pragma once
// Record names of any length in dialogs. A name never widens its dialog: combo
// boxes keep a fixed width and show the whole current name as their tooltip,
// labels elide the name and show it whole as their tooltip, and a dialog is
// never wider than the available width of its screen.

#include <QString>

class QComboBox;
class QDialog;
class QLabel;
class QWidget;

namespace orv {

// The width a name combo box starts from, in characters.
inline constexpr int kNameBoxCharacters = 24;

// Keeps the box's width independent of its entries' lengths; its tooltip
// follows the current entry's whole text.
void KeepNameBoxNarrow(QComboBox* box);

// Shows text in the label, elided at the right to maxWidth pixels; the
// tooltip holds the whole text when it had to be shortened.
void SetElidedText(QLabel* label, const QString& text, int maxWidth);

// Sizes the dialog to its contents, no wider than the available width of the
// screen it is on, and centres it on owner's window, kept on that screen.
void PlaceDialog(QDialog* dialog, const QWidget* owner);

}  // namespace orv
