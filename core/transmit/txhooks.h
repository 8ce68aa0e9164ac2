#pragma once
// The transmit road's links are the operating core's one table of links (core/receive/rx_links.h).
// These names are kept for code written against them; new code uses RxLinks().
#include "core/receive/rx_links.h"

using TransmitHooks = ReceiveLinks;
inline TransmitHooks& TxHooks()
{
    return RxLinks();
}
inline void ResetTxHooks()
{
    ResetRxLinks();
}
