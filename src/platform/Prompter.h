#pragma once
// Message boxes as a service. Pages never open QMessageBox themselves: they ask
// the current Prompter (Services::Prompter()), so tests can record every
// message and answer questions without a modal loop.

#include <QString>

class QWidget;

namespace orv {

enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// One message as the caller asked for it: caption and text are shown exactly
// as given (plain text, line breaks kept, no markup interpretation).
struct Message {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows the message modally over parent (or the active window when parent
    // is null) and returns the button the user chose. A box with only OK
    // answers Ok; a Yes/No box closed any other way answers No.
    virtual MessageAnswer Show(QWidget* parent, const Message& message) = 0;
    // The system's alert sound, used when typed input is refused.
    virtual void Beep() = 0;

    // The usual shapes of a message.
    void Information(QWidget* parent, const QString& caption, const QString& text);
    void Error(QWidget* parent, const QString& caption, const QString& text);
    // A question with Yes and No and the question icon; true for Yes.
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text);
};

}  // namespace orv
