#include "displays/engine_tick.h"

#include "displays/display_drawing.h"

void OnEngineTick()
{
    DrawEngineData();
}
