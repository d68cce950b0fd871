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

    static Prompter& prompter();
    static DialogRunner& dialogs();
    static Shell& shell();
    static const Clock& clock();
    static const Environment& environment();

    // Pass null to go back to the default.
    static Prompter* setPrompter(Prompter* prompter);
    static DialogRunner* setDialogs(DialogRunner* dialogs);
    static Shell* setShell(Shell* shell);
    static const Clock* setClock(const Clock* clock);
    static const Environment* setEnvironment(const Environment* environment);
};

}  // namespace orv
