#include "logbook/store/window_links.h"

#include "state/link_table.h"

LogbookWindowHooks& LogbookWindows()
{
    return LinkTable<LogbookWindowHooks>::current();
}

void ResetLogbookWindows()
{
    LinkTable<LogbookWindowHooks>::reset();
}

void InstallLogbookWindows(LogbookWindowHooks (*make)())
{
    LinkTable<LogbookWindowHooks>::install(make);
}

LogTransferHooks& LogTransfer()
{
    return LinkTable<LogTransferHooks>::current();
}

void ResetLogTransfer()
{
    LinkTable<LogTransferHooks>::reset();
}

void InstallLogTransfer(LogTransferHooks (*make)())
{
    LinkTable<LogTransferHooks>::install(make);
}
