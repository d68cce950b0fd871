#pragma once
// A push or check button drawn from a bitmap "face": a strip of equally
// sized states side by side (normal, hot, pressed, disabled and, optionally,
// checked), stretched to the button with its borders kept unscaled. The text
// is drawn over the face. Without a usable face the style draws the button.

#include <QMargins>
#include <QPixmap>
#include <QPushButton>

#include <vector>

namespace orv {

class BitmapButton : public QPushButton {
    Q_OBJECT

public:
    // Push: face 363 of the module's resources. Check: face 393, with a check
    // box drawn in; the button is checkable.
    enum class Face { Push, Check };
    enum class State { Normal, Hot, Pressed, Disabled, Checked };

    explicit BitmapButton(const QString& text, Face face = Face::Push, QWidget* parent = nullptr);

    // Uses stateCount states of strip (4 or 5; a missing checked state shows
    // the pressed one). border is left unscaled; the text keeps textMargins
    // clear of the face's edges and is placed with textAlignment.
    void setFace(const QPixmap& strip, int stateCount, const QMargins& border, const QMargins& textMargins,
                 Qt::Alignment textAlignment = Qt::AlignCenter);
    bool hasFace() const { return !states_.empty(); }
    // The state the button draws now.
    State state() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QPixmap> states_;
    QMargins border_;
    QMargins textMargins_;
    Qt::Alignment textAlignment_ = Qt::AlignCenter;
};

}  // namespace orv
