#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace orv::test {

MessageAnswer ScriptedPrompter::Show(QWidget*, const Message& message) {
    MessageAnswer reply = MessageAnswer::Ok;
    if (message.buttons == MessageButtons::YesNo) {
        if (!answers_.empty()) {
            reply = answers_.front();
            answers_.pop_front();
        } else {
            ADD_FAILURE() << "Unscripted question \"" << message.text.toStdString() << "\" (caption \""
                          << message.caption.toStdString() << "\"); answered No";
            reply = MessageAnswer::No;
        }
    }
    messages_.push_back({message, reply});
    return reply;
}

const RecordedMessage& ScriptedPrompter::last() const {
    static const RecordedMessage none;
    if (messages_.empty()) {
        ADD_FAILURE() << "No message was shown";
        return none;
    }
    return messages_.back();
}

void ScriptedPrompter::clear() {
    messages_.clear();
    answers_.clear();
    beeps_ = 0;
}

}  // namespace orv::test
