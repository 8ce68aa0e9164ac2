#include "core/transmit.h"

void ToggleTransmit()
{
}

void AbortTransmit()
{
}
