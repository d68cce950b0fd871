#pragma once
// The Prompter of the running program: a QMessageBox per message.

#include "platform/Prompter.h"

namespace orv {

class QtPrompter final : public Prompter {
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;
    void beep() override;
};

}  // namespace orv
