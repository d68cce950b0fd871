#include "platform/Services.h"

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/QtDialogRunner.h"
#include "platform/QtPrompter.h"
#include "platform/Shell.h"

#include <utility>

namespace orv {

namespace {

// The installed overrides; null means the default below is in force.
struct Installed {
    orv::Prompter* prompter = nullptr;
    DialogRunner* dialogs = nullptr;
    orv::Shell* shell = nullptr;
    const orv::Clock* clock = nullptr;
    const orv::Environment* environment = nullptr;
};

Installed& installed() {
    static Installed state;
    return state;
}

}  // namespace

orv::Prompter& Services::Prompter() {
    static QtPrompter fallback;
    orv::Prompter* current = installed().prompter;
    return current ? *current : fallback;
}

DialogRunner& Services::Dialogs() {
    static QtDialogRunner fallback;
    DialogRunner* current = installed().dialogs;
    return current ? *current : fallback;
}

orv::Shell& Services::Shell() {
    static DesktopShell fallback;
    orv::Shell* current = installed().shell;
    return current ? *current : fallback;
}

const orv::Clock& Services::Clock() {
    static const SystemClock fallback;
    const orv::Clock* current = installed().clock;
    return current ? *current : fallback;
}

const orv::Environment& Services::Environment() {
    static const orv::Environment fallback;
    const orv::Environment* current = installed().environment;
    return current ? *current : fallback;
}

orv::Prompter* Services::SetPrompter(orv::Prompter* prompter) { return std::exchange(installed().prompter, prompter); }

DialogRunner* Services::SetDialogs(DialogRunner* dialogs) { return std::exchange(installed().dialogs, dialogs); }

orv::Shell* Services::SetShell(orv::Shell* shell) { return std::exchange(installed().shell, shell); }

const orv::Clock* Services::SetClock(const orv::Clock* clock) { return std::exchange(installed().clock, clock); }

const orv::Environment* Services::SetEnvironment(const orv::Environment* environment) {
    return std::exchange(installed().environment, environment);
}

}  // namespace orv
