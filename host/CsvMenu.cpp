#include "host/CsvMenu.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

#include "host/cli/CsvCommands.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

namespace orv::host {
namespace {

const QString kImportCaption = QStringLiteral("Import values from CSV");
const QString kExportCaption = QStringLiteral("Export values as CSV");

}  // namespace

CsvPreviewDialog::CsvPreviewDialog(const QString& fileName, const exchange::ImportPlan& plan, QWidget* parent)
    : QDialog(parent), text_(QString::fromStdString(exchange::PreviewText(plan))) {
    setObjectName(QStringLiteral("CsvPreviewDialog"));
    setWindowTitle(kImportCaption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Importing %1 would change the database as follows:").arg(fileName), this));
    auto* preview = new QPlainTextEdit(text_, this);
    preview->setReadOnly(true);
    preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(preview);
    auto* buttons = new QDialogButtonBox(this);
    import_ = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    import_->setEnabled(!plan.newValues.empty());
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 360);
}

QString CsvPreviewDialog::PreviewText() const { return text_; }

CsvMenu::CsvMenu(QWidget* window, std::function<hostdb::SqliteHostDatabase*()> database,
                 std::function<void()> reloadModule)
    : QObject(window),
      chooseImportFile([](QWidget* parent) {
          return QFileDialog::getOpenFileName(parent, kImportCaption, QString(),
                                              tr("CSV files (*.csv);;All files (*)"));
      }),
      window_(window),
      database_(std::move(database)),
      reloadModule_(std::move(reloadModule)),
      export_(new QAction(QStringLiteral("Export values as CSV\u2026"), this)),
      import_(new QAction(QStringLiteral("Import values from CSV\u2026"), this)) {
    connect(export_, &QAction::triggered, this, [this] { Guarded(kExportCaption, &CsvMenu::ExportValues); });
    connect(import_, &QAction::triggered, this, [this] { Guarded(kImportCaption, &CsvMenu::ImportValues); });
}

void CsvMenu::Guarded(const QString& caption, void (CsvMenu::*action)()) {
    // Nothing may unwind into Qt's event loop; a failure (out of memory on a
    // huge file) is shown instead.
    try {
        (this->*action)();
    } catch (const std::exception& e) {
        Services::Prompter().Error(window_, caption, QString::fromLocal8Bit(e.what()));
    }
}

void CsvMenu::AddTo(QMenu* menu) {
    menu->addAction(export_);
    menu->addAction(import_);
}

void CsvMenu::ExportValues() {
    hostdb::SqliteHostDatabase* db = database_();
    if (!db) return;
    SaveFileRequest request;
    request.parent = window_;
    request.caption = kExportCaption;
    request.fileName = QStringLiteral("values.csv");
    request.filters = {tr("CSV files (*.csv)"), tr("All files (*)")};
    request.defaultSuffix = QStringLiteral("csv");
    const std::optional<QString> path = Services::Dialogs().SaveFileName(request);
    if (!path || path->isEmpty()) return;
    int count = 0;
    std::string error;
    if (!ExportCsvFile(*db, path->toStdString(), &count, &error)) {
        Services::Prompter().Error(window_, kExportCaption, QString::fromStdString(error));
        return;
    }
    Services::Prompter().Information(
        window_, kExportCaption,
        tr("%1 written to %2.")
            .arg(QString::fromStdString(CountText(static_cast<std::size_t>(count), "value")), *path));
}

void CsvMenu::ImportValues() {
    hostdb::SqliteHostDatabase* db = database_();
    if (!db) return;
    const QString path = chooseImportFile(window_);
    if (path.isEmpty()) return;
    exchange::ImportPlan plan;
    std::string error;
    if (!PlanCsvFile(*db, path.toStdString(), &plan, &error)) {
        Services::Prompter().Error(window_, kImportCaption, QString::fromStdString(error));
        return;
    }
    CsvPreviewDialog dialog(QFileInfo(path).fileName(), plan, window_);
    if (Services::Dialogs().Run(dialog) != QDialog::Accepted || plan.newValues.empty()) return;
    const bool written = WriteCsvPlan(*db, plan, &error);
    if (written && reloadModule_) reloadModule_();
    if (!written) {
        Services::Prompter().Error(window_, kImportCaption, QString::fromStdString(error));
        return;
    }
    Services::Prompter().Information(
        window_, kImportCaption,
        tr("%1 imported from %2.").arg(QString::fromStdString(CountText(plan.newValues.size(), "value")), path));
}

}  // namespace orv::host
