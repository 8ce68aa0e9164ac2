#include "core/hookmodule.h"

#include "core/sondrel.h"
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
    if (Sondrel* w = Sondrel::existing())
        hook().install(w, &MainWindowProc);
}

void UnhookMainWindow()
{
    hook().remove();
}

bool MainWindowHooked()
{
    return hook().installed();
}
