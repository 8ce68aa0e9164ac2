#include "core/rx_links.h"

#include "core/declarations.h"
#include "core/hookmodule.h"
#include "core/links.h"
#include "core/rtty_link.h"
#include "platform/events.h"

#include <cstdlib>

namespace {

ReceiveLinks defaults()
{
    ReceiveLinks l;
    l.SendToLogger = [](const QString&) {};
    l.mnuRTTY_Click = [](int profile) { mnuRTTY_Click(profile); };
    l.BreakMacroLoop = [] {};
    l.NotchVisible = [] { return NotchVisible(); };
    l.SetNotchVisible = [](bool on) { SetNotchVisible(on); };
    l.PlaceNotch = [](double x) { PlaceNotch(x); };
    l.SetToolbarButton = [](int b, bool on, const QString& c) { SetToolbarButton(b, on, c); };
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
