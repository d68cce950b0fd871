#include "ui/controls/NameFit.h"

#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>

#include <algorithm>

namespace orv {

void KeepNameBoxNarrow(QComboBox* box) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kNameBoxCharacters);
    QObject::connect(box, &QComboBox::currentTextChanged, box, &QWidget::setToolTip);
}

void SetElidedText(QLabel* label, const QString& text, int maxWidth) {
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, maxWidth);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

void PlaceDialog(QDialog* dialog, const QWidget* owner) {
    const QScreen* screen = owner ? owner->screen() : dialog->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    if (available.isValid()) dialog->setMaximumWidth(available.width());
    dialog->adjustSize();
    if (!owner) return;
    QRect frame(QPoint(), dialog->size());
    frame.moveCenter(owner->window()->frameGeometry().center());
    if (available.isValid()) {
        frame.moveLeft(
            std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() - frame.width())));
        frame.moveTop(
            std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - frame.height())));
    }
    dialog->move(frame.topLeft());
}

}  // namespace orv
