#include "support/ScriptedDialogRunner.h"

#include <gtest/gtest.h>

namespace orv::test {

QDialog::DialogCode ScriptedDialogRunner::Run(QDialog& dialog) {
    ++opened_;
    if (handlers_.empty()) {
        ADD_FAILURE() << "Unscripted dialog \"" << dialog.windowTitle().toStdString() << "\" ("
                      << dialog.metaObject()->className() << "); rejected";
        dialog.reject();
        return QDialog::Rejected;
    }
    DialogHandler handler = std::move(handlers_.front());
    handlers_.pop_front();

    // Shown as a plain window so that show events, polish and layouts run as
    // they would under exec(), but nothing waits for it to close.
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    handler(dialog);
    if (dialog.isVisible()) {
        ADD_FAILURE() << "Dialog \"" << dialog.windowTitle().toStdString()
                      << "\" was left open by its handler; rejected";
        dialog.reject();
    }
    return dialog.result() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
}

std::optional<QString> ScriptedDialogRunner::SaveFileName(const SaveFileRequest& request) {
    std::optional<QString> answer;
    if (saveAnswers_.empty()) {
        ADD_FAILURE() << "Unscripted save-file dialog \"" << request.caption.toStdString() << "\"; cancelled";
    } else {
        answer = std::move(saveAnswers_.front());
        saveAnswers_.pop_front();
    }
    saveRequests_.push_back({request, answer});
    return answer;
}

}  // namespace orv::test
