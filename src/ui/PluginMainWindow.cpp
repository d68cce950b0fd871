#include "ui/PluginMainWindow.h"

#include <QEvent>
#include <QFrame>
#include <QVBoxLayout>

#include "data/RecordCache.h"

namespace orv {
namespace {

// Keeps the module's window the size of the host window it lives in.
class FillParent : public QObject {
public:
    FillParent(QWidget* child, QWidget* parent) : QObject(child), child_(child) {
        parent->installEventFilter(this);
        child->setGeometry(parent->rect());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) child_->setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

private:
    QWidget* child_;
};

}  // namespace

PluginMainWindow::PluginMainWindow(HostDatabase* db, RecordCache* cache, HostColorProvider* colors)
    : db_(db), cache_(cache), colors_(colors) {}

PluginMainWindow::~PluginMainWindow() { Destroy(); }

QWidget* PluginMainWindow::Create(QWidget* parent) {
    if (window_) return window_;
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("PluginMainWindow"));
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    if (parent) {
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        new FillParent(frame, parent);
    }
    window_ = frame;
    if (cache_) cache_->LoadAll(db_);
    ApplyColors();
    frame->show();
    return frame;
}

int32_t PluginMainWindow::Save() { return 0; }

void PluginMainWindow::ApplyColors() {
    if (!window_) return;
    const int32_t background = colors_ ? colors_->GetColor(5) : -1;
    QPalette palette = window_->parentWidget() ? window_->parentWidget()->palette() : window_->palette();
    if (background != -1) {
        palette.setColor(QPalette::Window, QColor(background & 0xFF, (background >> 8) & 0xFF, (background >> 16) & 0xFF));
    }
    window_->setAutoFillBackground(true);
    window_->setPalette(palette);
    window_->update();
}

void PluginMainWindow::Destroy() {
    if (!window_) return;
    Save();
    delete window_.data();
}

}  // namespace orv
