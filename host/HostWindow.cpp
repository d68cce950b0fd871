#include "host/HostWindow.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "host/CsvMenu.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv::host {

HostWindow::HostWindow(const PluginLibrary& plugin, std::unique_ptr<hostdb::SqliteHostDatabase> db, QString dbPath)
    : plugin_(plugin), db_(std::move(db)), dbPath_(std::move(dbPath)), container_(new QWidget(this)) {
    container_->setObjectName(QStringLiteral("ModuleContainer"));
    setCentralWidget(container_);
    colors_.SetScheme(StoredColorScheme());
    UpdateTitle();
    resize(1100, 720);
    BuildMenus();
}

HostWindow::~HostWindow() { StopModule(); }

void HostWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open database..."), QKeySequence::Open, this, &HostWindow::OpenDatabase);
    file->addAction(tr("&Save"), QKeySequence::Save, this, &HostWindow::SaveModule);
    file->addAction(tr("&Back up database..."), this, &HostWindow::BackUpDatabase);
    file->addSeparator();
    auto* csv = new CsvMenu(
        this, [this] { return db_.get(); },
        [this] {
            if (running_) {
                StopModule();
                StartModule();
            }
        });
    csv->AddTo(file);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    // The module's menu, owned by the menu bar once it is added.
    if (QMenu* menu = plugin_.Api().GetPlugMenu()) {
        menu->setParent(this, menu->windowFlags());
        menuBar()->addMenu(menu);
        connect(menu, &QMenu::triggered, this,
                [this](QAction* action) { plugin_.Api().GetOnCommandID(0, action->data().toInt()); });
        moduleMenu_ = menu;
    }

    QMenu* view = menuBar()->addMenu(tr("&View"));
    auto* schemes = new QActionGroup(this);
    schemeActions_ = schemes;
    for (std::size_t i = 0; i < ColorSchemes().size(); ++i) {
        QAction* action = view->addAction(ColorSchemes()[i].name);
        action->setCheckable(true);
        action->setChecked(i == colors_.Scheme());
        schemes->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { SetScheme(i); });
    }

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About"), this, [this] { plugin_.Api().AboutDialog(); });
}

void HostWindow::StartModule() {
    const PluginEntryPoints& api = plugin_.Api();
    HandHostExtensions(api, db_->Extensions());
    api.Init(db_.get(), &colors_, container_, 0, 0);
    api.Run();
    running_ = true;
    // The module's texts are loaded by Init.
    UpdateTitle();
}

void HostWindow::UpdateTitle() {
    char title[1024] = {};
    if (running_) plugin_.Api().GetTitle(title);
    // A database that may not be written says so before the first change is refused.
    const QString mode = db_ && db_->IsReadOnly() ? tr(" (read-only)") : QString();
    setWindowTitle(QStringLiteral("ORV Desktop - %1 - %2%3").arg(QString::fromUtf8(title), dbPath_, mode));
}

void HostWindow::StopModule() {
    if (!running_) return;
    const PluginEntryPoints& api = plugin_.Api();
    if (api.IsModified()) api.Save();
    api.Close();
    HandHostExtensions(api, nullptr);
    running_ = false;
}

void HostWindow::SaveModule() {
    if (running_) plugin_.Api().Save();
}

void HostWindow::SetScheme(std::size_t index) {
    colors_.SetScheme(index);
    if (schemeActions_ && colors_.Scheme() < static_cast<std::size_t>(schemeActions_->actions().size()))
        schemeActions_->actions()[static_cast<qsizetype>(colors_.Scheme())]->setChecked(true);
    if (running_) plugin_.Api().ChangeColorScheme();
    if (remembersScheme_ && !StoreColorScheme(colors_.Scheme()))
        statusBar()->showMessage(tr("The colour scheme could not be remembered."));
}

void HostWindow::OpenDatabase() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open database"), dbPath_,
                                                      tr("ORV databases (*.sqlite *.db);;All files (*)"));
    if (path.isEmpty()) return;
    QString error;
    if (!OpenDatabaseFile(path, &error)) QMessageBox::critical(this, tr("ORV Desktop"), error);
}

bool HostWindow::OpenDatabaseFile(const QString& path, QString* error) {
    std::string reason;
    auto db = hostdb::SqliteHostDatabase::Open(path.toStdString(), &reason);
    if (!db) {
        if (error) *error = QString::fromStdString(reason);
        return false;
    }
    StopModule();
    db_ = std::move(db);
    dbPath_ = QFileInfo(path).absoluteFilePath();
    StartModule();
    return true;
}

void HostWindow::BackUpDatabase() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Back up database"), dbPath_ + QStringLiteral(".backup"),
                                                      tr("ORV databases (*.sqlite *.db);;All files (*)"));
    if (path.isEmpty()) return;
    std::string error;
    if (!db_->BackupTo(path.toStdString(), &error)) {
        QMessageBox::critical(this, tr("ORV Desktop"), QString::fromStdString(error));
        return;
    }
    QMessageBox::information(this, tr("ORV Desktop"), tr("The database was backed up to %1.").arg(path));
}

void HostWindow::closeEvent(QCloseEvent* event) {
    StopModule();
    event->accept();
}

}  // namespace orv::host
