#include "core/receive/rx_links.h"

#include "state/link_table.h"

ReceiveLinks& RxLinks()
{
    return LinkTable<ReceiveLinks>::current();
}

void ResetRxLinks()
{
    LinkTable<ReceiveLinks>::reset();
}

void InstallReceiveLinks(ReceiveLinks (*make)())
{
    LinkTable<ReceiveLinks>::install(make);
}
