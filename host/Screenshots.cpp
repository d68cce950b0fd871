#include "host/Screenshots.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTabBar>
#include <QTimer>

#include "host/HostWindow.h"

namespace orv::host {
namespace {

QString FileNameFor(QString text) {
    text = text.toLower();
    for (QChar& c : text) {
        if (!c.isLetterOrNumber()) c = QLatin1Char('-');
    }
    return text;
}

void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool Save(const QPixmap& picture, const QDir& dir, const QString& name, QString* error) {
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (picture.save(path)) return true;
    if (error) *error = QStringLiteral("Cannot write %1").arg(path);
    return false;
}

// Runs `open`, which shows a modal dialog of the module; the dialog is
// pictured and cancelled from inside its own event loop.
bool PictureModal(const std::function<void()>& open, const QDir& dir, const QString& name, QString* error) {
    bool saved = false;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seen = true;
        Settle();
        saved = Save(dialog->grab(), dir, name, error);
        dialog->reject();
    });
    open();
    if (!seen && error) *error = QStringLiteral("No dialog opened for %1").arg(name);
    return saved;
}

}  // namespace

int WriteScreenshots(HostWindow& window, const QString& dirPath, QString* error) {
    QDir dir(dirPath);
    if (!dir.mkpath(QStringLiteral("."))) {
        if (error) *error = QStringLiteral("Cannot create %1").arg(dirPath);
        return 0;
    }
    window.show();
    Settle();
    int written = 0;

    // One picture per page: the module's tab row is a QTabBar inside its
    // window. Each page's dialogs are opened from its own buttons, pictured
    // and cancelled, so nothing is changed.
    if (auto* tabs = window.moduleParent()->findChild<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            Settle();
            const QString page = FileNameFor(tabs->tabText(i));
            if (Save(window.grab(), dir, QStringLiteral("page-") + page, error)) ++written;
            for (QAbstractButton* button : window.moduleParent()->findChildren<QAbstractButton*>()) {
                if (!button->isVisible() || !button->isEnabled()) continue;
                const QString text = button->text().remove(QLatin1Char('&'));
                if (text != QLatin1String("New") && text != QLatin1String("Edit categories")) continue;
                const QString name = QStringLiteral("dialog-%1-%2").arg(page, FileNameFor(text));
                if (PictureModal([button] { button->click(); }, dir, name, error)) ++written;
            }
        }
    } else if (error) {
        *error = QStringLiteral("The module shows no tabs");
    }

    const PluginEntryPoints& api = window.plugin().api();
    const struct {
        const char* name;
        std::function<void()> open;
    } dialogs[] = {
        {"dialog-about", [&] { api.AboutDialog(); }},
        {"dialog-chart-preferences", [&] { api.GetOnCommandID(0, 82); }},
    };
    for (const auto& d : dialogs) {
        if (PictureModal(d.open, dir, QString::fromLatin1(d.name), error)) ++written;
    }
    return written;
}

}  // namespace orv::host
