#include "core/hookmodule.h"

#include "core/rtty_link.h"
#include "state/main_window_controls.h"
#include "platform/winmsg.h"

namespace {
win::MessageHook& hook()
{
    static win::MessageHook h;
    return h;
}
} // namespace

void HookMainWindow()
{
    if (MainWindowControls* w = ExistingMainWindow())
        hook().install(w->Window, &MainWindowProc);
    // The Logger and the RTTY engine reach the hook over the local socket, which is there for
    // as long as the hook is.
    EnsurePeerServer();
}

void UnhookMainWindow()
{
    hook().remove();
    ClosePeerServer();
}

bool MainWindowHooked()
{
    return hook().installed();
}
