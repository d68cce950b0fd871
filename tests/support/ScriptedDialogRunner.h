#pragma once
// A DialogRunner for tests: dialogs are shown without a modal loop and handed
// to handlers the test queued, which fill their widgets and accept or reject
// them; save-file requests are answered from a queue of file names.

#include "platform/DialogRunner.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace orv::test {

// Receives the dialog, already shown (offscreen), and ends it with accept(),
// reject(), done() or by clicking its buttons. A handler that leaves the
// dialog open fails the running test; the dialog is then rejected.
using DialogHandler = std::function<void(QDialog&)>;

struct RecordedSaveFile {
    SaveFileRequest request;  // parent kept as given; do not dereference later
    std::optional<QString> answer;
};

class ScriptedDialogRunner final : public DialogRunner {
public:
    QDialog::DialogCode Run(QDialog& dialog) override;
    std::optional<QString> SaveFileName(const SaveFileRequest& request) override;

    // Queues a handler for the next dialog to open. Dialogs opened from inside
    // a handler (a dialog's own sub-dialog) take the next queued handlers.
    void ExpectDialog(DialogHandler handler) { handlers_.push_back(std::move(handler)); }
    // The same for a dialog of a known class: the handler gets it as that
    // class; a dialog of another class fails the running test and is rejected.
    template <class Dialog, class Handler>
    void Expect(Handler handler) {
        ExpectDialog([handler = std::move(handler)](QDialog& dialog) mutable {
            auto* typed = dynamic_cast<Dialog*>(&dialog);
            if (!typed) {
                ADD_FAILURE() << "Expected a " << Dialog::staticMetaObject.className() << ", got a "
                              << dialog.metaObject()->className();
                dialog.reject();
                return;
            }
            handler(*typed);
        });
    }
    // Queues the answer to the next save-file request; nothing means Cancel.
    void AnswerSaveFile(std::optional<QString> fileName) { saveAnswers_.push_back(std::move(fileName)); }

    // How many dialogs were opened.
    std::size_t Opened() const { return opened_; }
    const std::vector<RecordedSaveFile>& SaveRequests() const { return saveRequests_; }
    std::size_t UnusedHandlers() const { return handlers_.size(); }
    std::size_t UnusedSaveAnswers() const { return saveAnswers_.size(); }

private:
    std::deque<DialogHandler> handlers_;
    std::deque<std::optional<QString>> saveAnswers_;
    std::size_t opened_ = 0;
    std::vector<RecordedSaveFile> saveRequests_;
};

}  // namespace orv::test
