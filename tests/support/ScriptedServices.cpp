#include "support/ScriptedServices.h"

#include "platform/Services.h"

#include <gtest/gtest.h>

namespace orv::test {

ScriptedServices::ScriptedServices() : clock(QDateTime(QDate(2008, 8, 27), QTime(12, 0, 0))) {
    previousPrompter_ = Services::SetPrompter(&prompter);
    previousDialogs_ = Services::SetDialogs(&dialogs);
    previousShell_ = Services::SetShell(&shell);
    previousClock_ = Services::SetClock(&clock);
    environment.diagnostics = [this](const std::string& text) { diagnostics.push_back(text); };
    previousEnvironment_ = Services::SetEnvironment(&environment);
}

ScriptedServices::~ScriptedServices() {
    Services::SetPrompter(previousPrompter_);
    Services::SetDialogs(previousDialogs_);
    Services::SetShell(previousShell_);
    Services::SetClock(previousClock_);
    Services::SetEnvironment(previousEnvironment_);
    EXPECT_EQ(prompter.UnusedAnswers(), 0u) << "scripted answers to questions that were never asked";
    EXPECT_EQ(dialogs.UnusedHandlers(), 0u) << "scripted dialogs that never opened";
    EXPECT_EQ(dialogs.UnusedSaveAnswers(), 0u) << "scripted file names never asked for";
}

}  // namespace orv::test
