#pragma once
// The File menu's CSV entries: export every value to a CSV file, and import
// values from one after a preview that says what would be added, skipped and
// refused.

#include <QDialog>
#include <QObject>

#include <functional>

#include "exchange/ValueImport.h"

class QAction;
class QMenu;
class QPushButton;
class QWidget;

namespace orv::hostdb {
class SqliteHostDatabase;
}

namespace orv::host {

// Shows an import plan with Import and Cancel; Import is offered only when
// there is something new.
class CsvPreviewDialog : public QDialog {
    Q_OBJECT
public:
    CsvPreviewDialog(const QString& fileName, const exchange::ImportPlan& plan, QWidget* parent);
    QPushButton* ImportButton() const { return import_; }
    QString PreviewText() const;

private:
    QPushButton* import_;
    QString text_;
};

class CsvMenu : public QObject {
    Q_OBJECT
public:
    // `database` gives the open database (or null); `reloadModule` runs after
    // an import changed it, so the module reads the new values.
    CsvMenu(QWidget* window, std::function<hostdb::SqliteHostDatabase*()> database, std::function<void()> reloadModule);

    void AddTo(QMenu* menu);
    QAction* ExportAction() const { return export_; }
    QAction* ImportAction() const { return import_; }

    // Asks for the file to import; the open-file dialog unless replaced.
    std::function<QString(QWidget*)> chooseImportFile;

private:
    void Guarded(const QString& caption, void (CsvMenu::*action)());
    void ExportValues();
    void ImportValues();

    QWidget* window_;
    std::function<hostdb::SqliteHostDatabase*()> database_;
    std::function<void()> reloadModule_;
    QAction* export_;
    QAction* import_;
};

}  // namespace orv::host
