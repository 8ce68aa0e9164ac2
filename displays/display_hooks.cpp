#include "displays/display_hooks.h"

#include "core/logger_link.h"
#include "core/rtty_link.h"

namespace {

DisplayLinks defaults()
{
    DisplayLinks l;
    l.SetNotchAt = [](float x) { ::SetNotchAt(x); };
    l.CentreNotchPosition = [](float x) { ::PlaceNotch(x); };
    l.ResetRTTYShift = [] { ::ResetRTTYShift(); };
    l.SendToLogger = [](const QString& text) { ::SendToLogger(text); };
    return l;
}

DisplayLinks& current()
{
    static DisplayLinks links = defaults();
    return links;
}

} // namespace

DisplayLinks& DisplayHooks()
{
    return current();
}

void ResetDisplayHooks()
{
    current() = defaults();
}
