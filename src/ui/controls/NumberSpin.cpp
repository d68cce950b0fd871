#include "ui/controls/NumberSpin.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <utility>

namespace orv {
namespace {

// One notch of a standard mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

QToolButton* ArrowButton(Qt::ArrowType arrow, const char* name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    return button;
}

}  // namespace

NumberSpin::NumberSpin(QLineEdit* field, std::function<void(int)> step, std::function<void(int)> wheel,
                       const Options& options, QWidget* parent)
    : QWidget(parent),
      field_(field),
      step_(std::move(step)),
      wheel_(std::move(wheel)),
      options_(options),
      up_(ArrowButton(Qt::UpArrow, options.upName, this)),
      down_(ArrowButton(Qt::DownArrow, options.downName, this)) {
    auto* arrows = new QVBoxLayout(this);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { step_(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step_(-1); });
    field_->installEventFilter(this);
}

int NumberSpin::Notches(int angleDelta) { return angleDelta / kWheelNotch; }

bool NumberSpin::eventFilter(QObject* watched, QEvent* event) {
    if (watched != field_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (options_.arrowKeys && (key == Qt::Key_Up || key == Qt::Key_Down)) {
            step_(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
        break;
    }
    case QEvent::Wheel:
        if (!options_.wheelNeedsFocus || field_->hasFocus()) {
            wheel_(static_cast<QWheelEvent*>(event)->angleDelta().y());
            return true;
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace orv
