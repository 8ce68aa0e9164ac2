#include "core/txhooks.h"

#include "core/macro_buttons.h"
#include "core/rx_links.h"
#include "logbook/qso_logging.h"
#include "platform/events.h"

namespace {

TransmitHooks defaults()
{
    TransmitHooks h;
    // Shared with the receive road: wiring its links wires these too.
    h.SendToLogger = [](const QString& text) { RxLinks().SendToLogger(text); };
    h.LogAndClear = [] { ::LogAndClear(); };
    h.Command1_Mouseup = [](int index, int button, int shift, int x, int y) {
        ::Command1_Mouseup(index, button, shift, x, y);
    };
    h.BreakMacroLoop = [] { RxLinks().BreakMacroLoop(); };
    h.AuxTextWindow = [](int channel) { return RxLinks().AuxText(channel); };
    h.WaitYield = [] { events::DoEvents(); };
    return h;
}

TransmitHooks& current()
{
    static TransmitHooks hooks = defaults();
    return hooks;
}

} // namespace

TransmitHooks& TxHooks()
{
    return current();
}

void ResetTxHooks()
{
    current() = defaults();
}
