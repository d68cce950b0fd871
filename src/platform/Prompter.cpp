#include "platform/Prompter.h"

namespace orv {

void Prompter::information(QWidget* parent, const QString& caption, const QString& text) {
    show(parent, {caption, text, MessageIcon::Information, MessageButtons::Ok});
}

void Prompter::error(QWidget* parent, const QString& caption, const QString& text) {
    show(parent, {caption, text, MessageIcon::Error, MessageButtons::Ok});
}

bool Prompter::askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return show(parent, {caption, text, MessageIcon::Question, MessageButtons::YesNo}) == MessageAnswer::Yes;
}

}  // namespace orv
