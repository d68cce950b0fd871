#include "support/WidgetDriver.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace orv::test {

namespace {

QString WithoutMnemonic(QString text) {
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

}  // namespace

QAbstractButton* FindButton(QWidget* root, const QString& text) {
    if (!root) {
        ADD_FAILURE() << "findButton on a null widget";
        return nullptr;
    }
    QList<QAbstractButton*> candidates = root->findChildren<QAbstractButton*>();
    if (auto* self = qobject_cast<QAbstractButton*>(root)) candidates.prepend(self);
    for (QAbstractButton* button : candidates) {
        if (WithoutMnemonic(button->text()) == text) return button;
    }
    ADD_FAILURE() << "No button \"" << text.toStdString() << "\"";
    return nullptr;
}

bool ClickButton(QWidget* root, const QString& text) {
    QAbstractButton* button = FindButton(root, text);
    if (!button || !button->isEnabled()) return false;
    button->click();
    return true;
}

bool ChooseComboText(QComboBox* combo, const QString& text) {
    const int index = combo ? combo->findText(text, Qt::MatchExactly) : -1;
    if (index < 0) return false;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    return true;
}

void TypeText(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
    Q_EMIT edit->editingFinished();
}

void PressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget, key, modifiers);
}

}  // namespace orv::test
