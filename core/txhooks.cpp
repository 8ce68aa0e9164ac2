#include "core/txhooks.h"

#include "platform/events.h"

namespace {

TransmitHooks defaults()
{
    TransmitHooks h;
    h.SendToLogger = [](const QString&) {};
    h.LogAndClear = [] {};
    h.Command1_Mouseup = [](int, int, int, int, int) {};
    h.BreakMacroLoop = [] {};
    h.AuxTextWindow = [](int) -> RichText* { return nullptr; };
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
