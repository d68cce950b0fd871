#include "ui/WriteFailure.h"

#include <QDialog>

#include "data/ChangeMessages.h"
#include "data/HostExtensions.h"
#include "data/RecordChanges.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

namespace orv {

bool ShowWriteFailure(QWidget* parent, const QString& caption, int32_t result, RecordKind kind) {
    if (result == kChangeOk) return false;
    Services::Prompter().Error(parent, caption, QString::fromStdString(WriteFailureText(result, kind)));
    return true;
}

bool RefuseWhenReadOnly(QWidget* parent, const QString& caption) {
    return ShowWriteFailure(parent, caption, ReadOnlyRefusal(), RecordKind::Value);
}

bool RunUntilWritten(QDialog& dialog, QWidget* parent, const QString& caption, RecordKind kind,
                     const std::function<int32_t()>& write) {
    while (Services::Dialogs().Run(dialog) == QDialog::Accepted) {
        const int32_t result = write();
        if (!ShowWriteFailure(parent, caption, result, kind)) return true;
        // Trying again cannot bring back a removed record or make the file
        // writable.
        if (result == hostresult::kGone || result == hostresult::kReadOnly) return false;
    }
    return false;
}

}  // namespace orv
