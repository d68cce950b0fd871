#pragma once
// A Prompter for tests: records every message and answers Yes/No questions
// from a script, without showing anything.

#include "platform/Prompter.h"

#include <deque>
#include <vector>

namespace orv::test {

struct RecordedMessage {
    Message message;
    MessageAnswer answer = MessageAnswer::Ok;

    const QString& text() const { return message.text; }
    MessageIcon icon() const { return message.icon; }
};

class ScriptedPrompter final : public Prompter {
public:
    MessageAnswer Show(QWidget* parent, const Message& message) override;
    void Beep() override { ++beeps_; }

    // Queues the answers to the next Yes/No questions, in order. Messages with
    // only OK are answered Ok and take nothing from the queue.
    void AnswerYes() { answers_.push_back(MessageAnswer::Yes); }
    void AnswerNo() { answers_.push_back(MessageAnswer::No); }
    // A question once the queue is empty fails the running test and is
    // answered No, so that an unexpected question never confirms a removal.

    const std::vector<RecordedMessage>& Messages() const { return messages_; }
    std::size_t count() const { return messages_.size(); }
    // The newest message; fails the running test when there is none.
    const RecordedMessage& last() const;
    int Beeps() const { return beeps_; }
    std::size_t UnusedAnswers() const { return answers_.size(); }
    // Forgets the recorded messages, the beeps and the queued answers.
    void clear();

private:
    std::vector<RecordedMessage> messages_;
    std::deque<MessageAnswer> answers_;
    int beeps_ = 0;
};

}  // namespace orv::test
