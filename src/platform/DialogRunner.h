#pragma once
// Modal dialogs as a service. Module code builds a dialog and hands it to the
// current DialogRunner (Services::Dialogs()) instead of calling exec(), so
// tests can fill and accept or cancel it without entering a modal loop.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace orv {

// What the save-file dialog is asked for.
struct SaveFileRequest {
    QWidget* parent = nullptr;
    QString caption;
    // Folder to open in and the name proposed; either may be empty.
    QString directory;
    QString fileName;
    // Qt name filters, e.g. {"Excel workbooks (*.xlsx)", "All files (*)"}.
    QStringList filters;
    // Appended when the user types a name without an extension ("xlsx", no dot).
    QString defaultSuffix;
    // When false an existing file is chosen without asking to replace it.
    bool confirmOverwrite = true;
};

class DialogRunner {
public:
    virtual ~DialogRunner() = default;

    // Runs the dialog modally and returns how it ended.
    virtual QDialog::DialogCode Run(QDialog& dialog) = 0;
    // Asks for a file name to save to; nothing when the user cancels.
    virtual std::optional<QString> SaveFileName(const SaveFileRequest& request) = 0;
};

}  // namespace orv
