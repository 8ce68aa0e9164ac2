#include "core/macros/macro_hooks.h"

#include "platform/system/events.h"

namespace {

MacroHookTable defaults()
{
    MacroHookTable h;
    h.Yield = [] { events::DoEvents(); };
    return h;
}

MacroHookTable& current()
{
    static MacroHookTable hooks = defaults();
    return hooks;
}

} // namespace

MacroHookTable& MacroHooks()
{
    return current();
}

void ResetMacroHooks()
{
    current() = defaults();
}
