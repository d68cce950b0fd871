#pragma once
// Where module code finds the current platform services.
//
// Each service starts as the program's own implementation (message boxes,
// exec(), the desktop's default handler, the system clock, the default file
// and program locations). The module's host side or a test installs another
// one with a setter; the setter returns the service installed before (null
// when that was the default) so it can be put back. This is the one way to
// replace a piece of the module. Installed services are not owned: the
// installer keeps them alive while they are installed. Everything runs on
// the user-interface thread.

namespace orv {

class Prompter;
class DialogRunner;
class Shell;
class Clock;
struct Environment;

class Services {
public:
    Services() = delete;

    static orv::Prompter& Prompter();
    static DialogRunner& Dialogs();
    static orv::Shell& Shell();
    static const orv::Clock& Clock();
    static const orv::Environment& Environment();

    // Pass null to go back to the default.
    static orv::Prompter* SetPrompter(orv::Prompter* prompter);
    static DialogRunner* SetDialogs(DialogRunner* dialogs);
    static orv::Shell* SetShell(orv::Shell* shell);
    static const orv::Clock* SetClock(const orv::Clock* clock);
    static const orv::Environment* SetEnvironment(const orv::Environment* environment);
};

}  // namespace orv
