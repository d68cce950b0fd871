#include "support/WidgetDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace orv::test {

namespace {

QString withoutMnemonic(QString text) {
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

}  // namespace

QAbstractButton* findButton(QWidget* root, const QString& text) {
    if (!root) {
        ADD_FAILURE() << "findButton on a null widget";
        return nullptr;
    }
    QList<QAbstractButton*> candidates = root->findChildren<QAbstractButton*>();
    if (auto* self = qobject_cast<QAbstractButton*>(root)) candidates.prepend(self);
    for (QAbstractButton* button : candidates) {
        if (withoutMnemonic(button->text()) == text) return button;
    }
    ADD_FAILURE() << "No button \"" << text.toStdString() << "\"";
    return nullptr;
}

bool clickButton(QWidget* root, const QString& text) {
    QAbstractButton* button = findButton(root, text);
    if (!button || !button->isEnabled()) return false;
    button->click();
    return true;
}

bool chooseComboText(QComboBox* combo, const QString& text) {
    const int index = combo ? combo->findText(text, Qt::MatchExactly) : -1;
    if (index < 0) return false;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    return true;
}

void typeText(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
    Q_EMIT edit->editingFinished();
}

void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget, key, modifiers);
}

}  // namespace orv::test
