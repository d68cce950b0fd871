#include "platform/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace orv {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer QtPrompter::Show(QWidget* parent, const Message& message) {
    QWidget* owner = parent ? parent : QApplication::activeWindow();
    QMessageBox box(ToQtIcon(message.icon), message.caption, message.text, QMessageBox::NoButton, owner);
    // Texts come from the module and from user data; "<<" or "&" must show as typed.
    box.setTextFormat(Qt::PlainText);
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void QtPrompter::Beep() { QApplication::beep(); }

}  // namespace orv
