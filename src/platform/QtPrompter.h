#pragma once
// The Prompter of the running program: a QMessageBox per message.

#include "platform/Prompter.h"

namespace orv {

class QtPrompter final : public Prompter {
public:
    MessageAnswer Show(QWidget* parent, const Message& message) override;
    void Beep() override;
};

}  // namespace orv
