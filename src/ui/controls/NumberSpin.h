#pragma once
// The up-down arrows beside a number field. The arrows and the field's Up and
// Down keys step the number by one unit; the wheel over the field moves it by
// whole notches. What a step means is the owner's: it gets the count.

#include <QWidget>

#include <functional>

class QLineEdit;
class QToolButton;

namespace orv {

class NumberSpin : public QWidget {
public:
    struct Options {
        // Object names of the two arrow buttons.
        const char* upName = "stepUp";
        const char* downName = "stepDown";
        // Up and Down in the field step as the arrows do.
        bool arrowKeys = true;
        // The wheel turns the number only while the field has the focus;
        // otherwise any wheel over the field turns it.
        bool wheelNeedsFocus = true;
    };

    // `step` gets +1 or -1 for an arrow or key, `wheel` the wheel's angle
    // delta (up is positive; see Notches).
    NumberSpin(QLineEdit* field, std::function<void(int)> step, std::function<void(int)> wheel, const Options& options,
               QWidget* parent);

    // Whole notches of a standard wheel in an angle delta, toward zero.
    static int Notches(int angleDelta);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* field_;
    std::function<void(int)> step_;
    std::function<void(int)> wheel_;
    Options options_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace orv
