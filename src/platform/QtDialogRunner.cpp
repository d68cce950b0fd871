#include "platform/QtDialogRunner.h"

#include <QApplication>
#include <QFileDialog>

namespace orv {

QDialog::DialogCode QtDialogRunner::Run(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
}

std::optional<QString> QtDialogRunner::SaveFileName(const SaveFileRequest& request) {
    QWidget* owner = request.parent ? request.parent : QApplication::activeWindow();
    QFileDialog dialog(owner, request.caption, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.filters.isEmpty()) dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return chosen.first();
}

}  // namespace orv
