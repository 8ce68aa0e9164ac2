#include "core/rx_links.h"

#include "core/declarations.h"
#include "core/hookmodule.h"
#include "core/links.h"
#include "core/macro_buttons.h"
#include "platform/events.h"

#include <cstdlib>

namespace {

ReceiveLinks defaults()
{
    ReceiveLinks l;
    l.SendToLogger = [](const QString&) {};
    l.mnuRTTY_Click = [](int) {};
    l.BreakMacroLoop = [] { ::BreakMacroLoop(); };
    l.NotchVisible = [] { return false; };
    l.SetNotchVisible = [](bool) {};
    l.PlaceNotch = [](double) {};
    l.SetToolbarButton = [](int, bool, const QString&) {};
    l.SetTuningSquelchLine = [](double) {};
    l.AuxText = [](int) -> RichText* { return nullptr; };
    l.EndProgram = [] {
        ReleaseBeforeEnd();
        // Static clean-up still runs: the shared block is unmapped and the instance lock let go.
        std::exit(EXIT_FAILURE);
    };
    return l;
}

ReceiveLinks& current()
{
    static ReceiveLinks links = defaults();
    return links;
}

} // namespace

ReceiveLinks& RxLinks()
{
    return current();
}

void ResetRxLinks()
{
    current() = defaults();
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
