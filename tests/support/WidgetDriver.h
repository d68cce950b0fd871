#pragma once
// Small helpers for driving widgets from tests the way a user would: find a
// control by its text, click it, type into it, pick a combo entry, press keys.
// Lookups that find nothing fail the running test and return null.

#include <QString>
#include <Qt>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

namespace orv::test {

// The first button below root (root included) whose text is text; "&" marks
// of mnemonics are ignored.
QAbstractButton* FindButton(QWidget* root, const QString& text);
// Clicks the button found by text; false when there is none or it is disabled.
bool ClickButton(QWidget* root, const QString& text);
// Selects the entry with that text and reports it as a user's choice
// (activated), as picking it from the drop-down does; false when not listed.
bool ChooseComboText(QComboBox* combo, const QString& text);
// Replaces the text of an edit as if typed, then finishes editing.
void TypeText(QLineEdit* edit, const QString& text);
// Sends a key press and release to widget.
void PressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace orv::test
