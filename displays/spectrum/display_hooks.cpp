#include "displays/spectrum/display_hooks.h"

#include "state/link_table.h"

DisplayLinks& DisplayHooks()
{
    return LinkTable<DisplayLinks>::current();
}

void ResetDisplayHooks()
{
    LinkTable<DisplayLinks>::reset();
}

void InstallDisplayLinks(DisplayLinks (*make)())
{
    LinkTable<DisplayLinks>::install(make);
}
