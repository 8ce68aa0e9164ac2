#include "core/rx_links.h"

#include "core/declarations.h"
#include "core/hookmodule.h"
#include "core/links.h"
#include "core/logger_link.h"
#include "core/macro_buttons.h"
#include "displays/aux_window.h"
#include "displays/tuning_window.h"
#include "logbook/qso_logging.h"
#include "core/rtty_link.h"
#include "platform/events.h"

#include <cstdlib>

namespace {

ReceiveLinks defaults()
{
    ReceiveLinks l;
    l.SendToLogger = [](const QString& text) { ::SendToLogger(text); };
    l.mnuRTTY_Click = [](int profile) { ::mnuRTTY_Click(profile); };
    l.BreakMacroLoop = [] { ::BreakMacroLoop(); };
    l.Command1_Mouseup = [](int index, int button, int shift, int x, int y) {
        ::Command1_Mouseup(index, button, shift, x, y);
    };
    l.LogAndClear = [] { ::LogAndClear(); };
    l.NotchVisible = [] { return ::NotchVisible(); };
    l.SetNotchVisible = [](bool on) { ::SetNotchVisible(on); };
    l.PlaceNotch = [](double x) { ::PlaceNotch(x); };
    l.SetToolbarButton = [](int b, bool on, const QString& c) { ::SetToolbarButton(b, on, c); };
    l.SetTuningSquelchLine = [](double level) { SetTuningSquelchLine(level); };
    l.AuxText = [](int channel) { return AuxTextOf(channel); };
    l.EndProgram = [] {
        ReleaseBeforeEnd();
        // Static clean-up still runs: the shared block is unmapped and the instance lock let go.
        std::exit(EXIT_FAILURE);
    };
    l.WaitYield = [] { events::DoEvents(); };
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
