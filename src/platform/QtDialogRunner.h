#pragma once
// The DialogRunner of the running program: exec() and QFileDialog.

#include "platform/DialogRunner.h"

namespace orv {

class QtDialogRunner final : public DialogRunner {
public:
    QDialog::DialogCode Run(QDialog& dialog) override;
    std::optional<QString> SaveFileName(const SaveFileRequest& request) override;
};

}  // namespace orv
