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
    Prompter* prompter = nullptr;
    DialogRunner* dialogs = nullptr;
    Shell* shell = nullptr;
    const Clock* clock = nullptr;
    const Environment* environment = nullptr;
};

Installed& installed() {
    static Installed state;
    return state;
}

}  // namespace

Prompter& Services::prompter() {
    static QtPrompter fallback;
    Prompter* current = installed().prompter;
    return current ? *current : fallback;
}

DialogRunner& Services::dialogs() {
    static QtDialogRunner fallback;
    DialogRunner* current = installed().dialogs;
    return current ? *current : fallback;
}

Shell& Services::shell() {
    static DesktopShell fallback;
    Shell* current = installed().shell;
    return current ? *current : fallback;
}

const Clock& Services::clock() {
    static const SystemClock fallback;
    const Clock* current = installed().clock;
    return current ? *current : fallback;
}

const Environment& Services::environment() {
    static const Environment fallback;
    const Environment* current = installed().environment;
    return current ? *current : fallback;
}

Prompter* Services::setPrompter(Prompter* prompter) { return std::exchange(installed().prompter, prompter); }

DialogRunner* Services::setDialogs(DialogRunner* dialogs) { return std::exchange(installed().dialogs, dialogs); }

Shell* Services::setShell(Shell* shell) { return std::exchange(installed().shell, shell); }

const Clock* Services::setClock(const Clock* clock) { return std::exchange(installed().clock, clock); }

const Environment* Services::setEnvironment(const Environment* environment) {
    return std::exchange(installed().environment, environment);
}

}  // namespace orv
