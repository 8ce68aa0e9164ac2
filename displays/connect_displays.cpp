#include "core/connections.h"

#include "core/sondrel.h"

void ConnectDisplays(Sondrel&)
{
}
