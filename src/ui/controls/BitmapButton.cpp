#include "ui/controls/BitmapButton.h"

#include "resources/Resources.h"
#include "ui/controls/TextFit.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace orv {

BitmapButton::BitmapButton(const QString& text, Face face, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
    if (face == Face::Check) {
        setCheckable(true);
        setFace(LoadBitmap(bitmap::CheckButtonFace), kCheckButtonFaceStates, QMargins(kCheckButtonTextIndent, 4, 4, 4),
                QMargins(kCheckButtonTextIndent, 2, 4, 2), Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        setFace(LoadBitmap(bitmap::ButtonFace), kButtonFaceStates, QMargins(4, 4, 4, 4), QMargins(4, 2, 4, 2));
    }
}

void BitmapButton::setFace(const QPixmap& strip, int stateCount, const QMargins& border, const QMargins& textMargins,
                           Qt::Alignment textAlignment) {
    states_.clear();
    border_ = border;
    textMargins_ = textMargins;
    textAlignment_ = textAlignment;
    if (strip.isNull() || stateCount < 4 || stateCount > 5 || strip.width() < stateCount) {
        update();
        return;
    }
    const int width = strip.width() / stateCount;
    for (int i = 0; i < stateCount; ++i) states_.push_back(strip.copy(i * width, 0, width, strip.height()));
    update();
}

BitmapButton::State BitmapButton::state() const {
    if (!isEnabled()) return State::Disabled;
    if (isDown()) return State::Pressed;
    if (isChecked()) return State::Checked;
    if (underMouse()) return State::Hot;
    return State::Normal;
}

void BitmapButton::paintEvent(QPaintEvent* event) {
    if (states_.empty()) {
        QPushButton::paintEvent(event);
        return;
    }
    const State current = state();
    auto index = static_cast<std::size_t>(current);
    if (index >= states_.size()) index = static_cast<std::size_t>(State::Pressed);  // a face without a checked state

    QPainter painter(this);
    qDrawBorderPixmap(&painter, rect(), border_, states_[index]);

    QRect textArea = rect().marginsRemoved(textMargins_);
    if (current == State::Pressed) textArea.translate(1, 1);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    QString label = text();
    label.remove(QRegularExpression(QStringLiteral("&(?!&)")));  // measured without mnemonic marks
    painter.setFont(fittedFont(font(), label, textArea.width()));
    painter.drawText(textArea, static_cast<int>(textAlignment_) | Qt::TextShowMnemonic | Qt::TextSingleLine, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace orv
