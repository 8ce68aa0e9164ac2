#include "core/connections.h"

#include "core/sondrel.h"

void ConnectReceiveRoad(Sondrel&)
{
}
