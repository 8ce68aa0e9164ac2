#include "core/messages/hookmodule.h"

#include "core/rtty/rtty_link.h"
#include "platform/processes/winmsg.h"
#include "platform/system/events.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"

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

void ReleaseBeforeEnd()
{
    SpectrumHold = true;
    events::SetProgramClosing(true);
    UnhookMainWindow();
    if (LogbookHandle != 0)
        LogbookStatus = Links().VmxClose(LogbookHandle);
    LogbookHandle = 0;
}
