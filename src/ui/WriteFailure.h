#pragma once
// Telling the user that a change was not saved, and keeping what they typed.

#include <QString>

#include <cstdint>
#include <functional>

#include "data/Records.h"

class QDialog;
class QWidget;

namespace orv {

// Shows why the change was refused (error icon, `caption`) and returns true
// when `result` is not kChangeOk; returns false and shows nothing otherwise.
bool ShowWriteFailure(QWidget* parent, const QString& caption, int32_t result, RecordKind kind);

// When the database is read-only, says so and returns true: callers stop
// before any dialog collects input.
bool RefuseWhenReadOnly(QWidget* parent, const QString& caption);

// Runs `dialog` and, when it is accepted, `write`. A refused write is shown
// and the dialog opens again with everything the user entered, to try again
// or cancel; a record another program removed or a read-only database ends
// the loop, as retrying cannot help. True when the write succeeded.
bool RunUntilWritten(QDialog& dialog, QWidget* parent, const QString& caption, RecordKind kind,
                     const std::function<int32_t()>& write);

}  // namespace orv
