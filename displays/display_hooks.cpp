#include "displays/display_hooks.h"

#include "core/logger_link.h"

namespace {

DisplayLinks defaults()
{
    DisplayLinks l;
    l.SetNotchAt = [](float) {};
    l.CentreNotchPosition = [](float) {};
    l.ResetRTTYShift = [] {};
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
