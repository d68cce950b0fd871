#include "platform/Prompter.h"

namespace orv {

void Prompter::Information(QWidget* parent, const QString& caption, const QString& text) {
    Show(parent, {caption, text, MessageIcon::Information, MessageButtons::Ok});
}

void Prompter::Error(QWidget* parent, const QString& caption, const QString& text) {
    Show(parent, {caption, text, MessageIcon::Error, MessageButtons::Ok});
}

bool Prompter::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return Show(parent, {caption, text, MessageIcon::Question, MessageButtons::YesNo}) == MessageAnswer::Yes;
}

}  // namespace orv
