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
    colors_.setScheme(StoredColorScheme());
    updateTitle();
    resize(1100, 720);
    buildMenus();
}

HostWindow::~HostWindow() { stopModule(); }

void HostWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open database..."), QKeySequence::Open, this, &HostWindow::openDatabase);
    file->addAction(tr("&Save"), QKeySequence::Save, this, &HostWindow::saveModule);
    file->addAction(tr("&Back up database..."), this, &HostWindow::backUpDatabase);
    file->addSeparator();
    auto* csv = new CsvMenu(
        this, [this] { return db_.get(); },
        [this] {
            if (running_) {
                stopModule();
                startModule();
            }
        });
    csv->addTo(file);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    // The module's menu, owned by the menu bar once it is added.
    if (QMenu* menu = plugin_.api().GetPlugMenu()) {
        menu->setParent(this, menu->windowFlags());
        menuBar()->addMenu(menu);
        connect(menu, &QMenu::triggered, this,
                [this](QAction* action) { plugin_.api().GetOnCommandID(0, action->data().toInt()); });
        moduleMenu_ = menu;
    }

    QMenu* view = menuBar()->addMenu(tr("&View"));
    auto* schemes = new QActionGroup(this);
    schemeActions_ = schemes;
    for (std::size_t i = 0; i < ColorSchemes().size(); ++i) {
        QAction* action = view->addAction(ColorSchemes()[i].name);
        action->setCheckable(true);
        action->setChecked(i == colors_.scheme());
        schemes->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { setScheme(i); });
    }

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About"), this, [this] { plugin_.api().AboutDialog(); });
}

void HostWindow::startModule() {
    const PluginEntryPoints& api = plugin_.api();
    HandHostExtensions(api, db_->extensions());
    api.Init(db_.get(), &colors_, container_, 0, 0);
    api.Run();
    running_ = true;
    // The module's texts are loaded by Init.
    updateTitle();
}

void HostWindow::updateTitle() {
    char title[1024] = {};
    if (running_) plugin_.api().GetTitle(title);
    setWindowTitle(QStringLiteral("ORV Desktop - %1 - %2").arg(QString::fromUtf8(title), dbPath_));
}

void HostWindow::stopModule() {
    if (!running_) return;
    const PluginEntryPoints& api = plugin_.api();
    if (api.IsModified()) api.Save();
    api.Close();
    HandHostExtensions(api, nullptr);
    running_ = false;
}

void HostWindow::saveModule() {
    if (running_) plugin_.api().Save();
}

void HostWindow::setScheme(std::size_t index) {
    colors_.setScheme(index);
    if (schemeActions_ && colors_.scheme() < static_cast<std::size_t>(schemeActions_->actions().size()))
        schemeActions_->actions()[static_cast<qsizetype>(colors_.scheme())]->setChecked(true);
    if (running_) plugin_.api().ChangeColorScheme();
    if (remembersScheme_ && !StoreColorScheme(colors_.scheme()))
        statusBar()->showMessage(tr("The colour scheme could not be remembered."));
}

void HostWindow::openDatabase() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open database"), dbPath_,
                                                      tr("ORV databases (*.sqlite *.db);;All files (*)"));
    if (path.isEmpty()) return;
    QString error;
    if (!openDatabaseFile(path, &error)) QMessageBox::critical(this, tr("ORV Desktop"), error);
}

bool HostWindow::openDatabaseFile(const QString& path, QString* error) {
    std::string reason;
    auto db = hostdb::SqliteHostDatabase::Open(path.toStdString(), &reason);
    if (!db) {
        if (error) *error = QString::fromStdString(reason);
        return false;
    }
    stopModule();
    db_ = std::move(db);
    dbPath_ = QFileInfo(path).absoluteFilePath();
    startModule();
    return true;
}

void HostWindow::backUpDatabase() {
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
    stopModule();
    event->accept();
}

}  // namespace orv::host
