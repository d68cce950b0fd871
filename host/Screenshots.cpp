#include "host/Screenshots.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTabBar>
#include <QTimer>

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <sqlite3.h>

#include "host/HostWindow.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/QtKeyValueStore.h"

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
// pictured, `inside` may open further dialogs from it, and it is cancelled
// from inside its own event loop. Without an `error` to fill, a dialog that
// does not open is no failure.
bool PictureModal(const std::function<void()>& open, const QDir& dir, const QString& name, QString* error,
                  const std::function<void(QDialog&)>& inside = {}) {
    bool saved = false;
    bool seen = false;
    QWidget* const outer = QApplication::activeModalWidget();
    // Local, so it never fires after `open` returned without a dialog.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == outer) return;
        seen = true;
        Settle();
        saved = Save(dialog->grab(), dir, name, error);
        if (inside) inside(*dialog);
        dialog->reject();
    });
    timer.start(0);
    open();
    if (!seen && error) *error = QStringLiteral("No dialog opened for %1").arg(name);
    return saved;
}

// The page buttons whose dialogs are pictured, by page.
bool IsPicturedButton(const QString& page, const QString& text) {
    static const QStringList everywhere{QStringLiteral("New"), QStringLiteral("New Group"), QStringLiteral("New Item"),
                                        QStringLiteral("Edit categories")};
    return everywhere.contains(text) || (page == QLatin1String("targets") && text == QLatin1String("Edit"));
}

// Copies the database at `from` to `to` through SQLite's backup, so that a
// write-ahead log's pages are included.
bool CopyDatabase(const QString& from, const QString& to, QString* error) {
    sqlite3* source = nullptr;
    sqlite3* target = nullptr;
    bool copied = false;
    if (sqlite3_open_v2(from.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_open_v2(to.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) ==
            SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
        if (backup) {
            copied = sqlite3_backup_step(backup, -1) == SQLITE_DONE;
            copied = sqlite3_backup_finish(backup) == SQLITE_OK && copied;
        }
    }
    if (!copied && error) *error = QStringLiteral("Cannot copy %1 for the pictures").arg(from);
    sqlite3_close(source);
    sqlite3_close(target);
    return copied;
}

// QSettings keeps no getter for its paths: the user scope folder is the one
// that holds the user file of an INI store named organisation/application.
QString UserSettingsFolder() {
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("o"), QStringLiteral("a")).fileName();
    return QFileInfo(QFileInfo(file).path()).path();
}

}  // namespace

std::unique_ptr<ScreenshotSandbox> ScreenshotSandbox::Create(const hostdb::SqliteHostDatabase& db, QString* error) {
    std::unique_ptr<ScreenshotSandbox> sandbox(new ScreenshotSandbox);
    if (!sandbox->dir_.isValid()) {
        if (error) *error = QStringLiteral("Cannot create a scratch folder for the pictures");
        return nullptr;
    }
    sandbox->databaseCopy_ = sandbox->dir_.filePath(QStringLiteral("orv.sqlite"));
    if (!CopyDatabase(QString::fromStdString(db.Path()), sandbox->databaseCopy_, error)) return nullptr;

    // The module's registry store: read as the user has it, written to the
    // copy only.
    const QString userStore = QtKeyValueStore::DefaultUserFile();
    sandbox->previousStorePath_ = UserSettingsFolder();
    const QString scratchSettings = sandbox->dir_.filePath(QStringLiteral("config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratchSettings);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratchSettings);
    const QString scratchStore = QtKeyValueStore::DefaultUserFile();
    QDir().mkpath(QFileInfo(scratchStore).path());
    if (QFile::exists(userStore) && !QFile::copy(userStore, scratchStore)) {
        if (error) *error = QStringLiteral("Cannot copy %1 for the pictures").arg(userStore);
        return nullptr;
    }
    return sandbox;
}

ScreenshotSandbox::~ScreenshotSandbox() {
    if (previousStorePath_.isEmpty()) return;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, previousStorePath_);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, previousStorePath_);
}

std::unique_ptr<hostdb::SqliteHostDatabase> ScreenshotSandbox::OpenCopy(QString* error) const {
    std::string reason;
    auto db = hostdb::SqliteHostDatabase::Open(databaseCopy_.toStdString(), &reason);
    if (!db && error) *error = QString::fromStdString(reason);
    return db;
}

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
    if (auto* tabs = window.ModuleParent()->findChild<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            Settle();
            const QString page = FileNameFor(tabs->tabText(i));
            if (Save(window.grab(), dir, QStringLiteral("page-") + page, error)) ++written;
            for (QAbstractButton* button : window.ModuleParent()->findChildren<QAbstractButton*>()) {
                if (!button->isVisible() || !button->isEnabled()) continue;
                const QString text = button->text().remove(QLatin1Char('&'));
                if (!IsPicturedButton(page, text)) continue;
                const QString name = QStringLiteral("dialog-%1-%2").arg(page, FileNameFor(text));
                // The group dialog's "Add Target" opens the target choice.
                const auto inside = [&](QDialog& dialog) {
                    for (QAbstractButton* add : dialog.findChildren<QAbstractButton*>()) {
                        if (add->text().remove(QLatin1Char('&')) != QLatin1String("Add Target")) continue;
                        if (PictureModal([add] { add->click(); }, dir, QStringLiteral("dialog-select-target"), nullptr))
                            ++written;
                    }
                };
                if (PictureModal([button] { button->click(); }, dir, name, error, inside)) ++written;
            }
        }
    } else if (error) {
        *error = QStringLiteral("The module shows no tabs");
    }

    const PluginEntryPoints& api = window.Plugin().Api();
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
