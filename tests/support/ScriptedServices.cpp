#include "support/ScriptedServices.h"

#include "platform/Services.h"

#include <gtest/gtest.h>

namespace orv::test {

ScriptedServices::ScriptedServices() : clock(QDateTime(QDate(2008, 8, 27), QTime(12, 0, 0))) {
    previousPrompter_ = Services::setPrompter(&prompter);
    previousDialogs_ = Services::setDialogs(&dialogs);
    previousShell_ = Services::setShell(&shell);
    previousClock_ = Services::setClock(&clock);
    environment.diagnostics = [this](const std::string& text) { diagnostics.push_back(text); };
    previousEnvironment_ = Services::setEnvironment(&environment);
}

ScriptedServices::~ScriptedServices() {
    Services::setPrompter(previousPrompter_);
    Services::setDialogs(previousDialogs_);
    Services::setShell(previousShell_);
    Services::setClock(previousClock_);
    Services::setEnvironment(previousEnvironment_);
    EXPECT_EQ(prompter.unusedAnswers(), 0u) << "scripted answers to questions that were never asked";
    EXPECT_EQ(dialogs.unusedHandlers(), 0u) << "scripted dialogs that never opened";
    EXPECT_EQ(dialogs.unusedSaveAnswers(), 0u) << "scripted file names never asked for";
}

}  // namespace orv::test
