#pragma once
// Installs scripted platform services for the lifetime of one object and puts
// the previous ones back afterwards. Typical use, as a fixture member:
//
//   orv::test::ScriptedServices services;
//   services.prompter.AnswerYes();
//   services.dialogs.ExpectDialog([](QDialog& d) { ...fill...; d.accept(); });
//   page.RemoveButton()->click();
//   EXPECT_EQ(services.prompter.last().text(), "Remove this unit?");
//
// When the object goes away, queued answers, handlers or file names that were
// never used fail the running test: a scripted question that was not asked is
// a fault as much as an unscripted one.

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/Shell.h"
#include "support/ScriptedDialogRunner.h"
#include "support/ScriptedPrompter.h"

#include <string>
#include <vector>

namespace orv::test {

// A Shell that only records what it was asked to open.
class RecordingShell final : public Shell {
public:
    bool OpenUrl(const QUrl& url) override {
        opened_.push_back(url);
        return succeeds_;
    }
    void SetSucceeds(bool succeeds) { succeeds_ = succeeds; }
    const std::vector<QUrl>& Opened() const { return opened_; }

private:
    std::vector<QUrl> opened_;
    bool succeeds_ = true;
};

class ScriptedServices {
public:
    // The clock starts at 2008-08-27 12:00:00; set another with clock.Set().
    // The environment keeps the default locations until a test names others;
    // its diagnostics are collected in `diagnostics`.
    ScriptedServices();
    ~ScriptedServices();
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;

    ScriptedPrompter prompter;
    ScriptedDialogRunner dialogs;
    RecordingShell shell;
    FixedClock clock;
    Environment environment;
    std::vector<std::string> diagnostics;

private:
    Prompter* previousPrompter_ = nullptr;
    DialogRunner* previousDialogs_ = nullptr;
    Shell* previousShell_ = nullptr;
    const Clock* previousClock_ = nullptr;
    const Environment* previousEnvironment_ = nullptr;
};

}  // namespace orv::test
