#include "core/switchover.h"

#include "core/declarations.h"

void GoToTransmit()
{
    TxActive = true;
}

void GoToReceive()
{
    TxActive = false;
}

void RequestRTTYRxAfterTx()
{
}
