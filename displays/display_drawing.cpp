#include "displays/display_drawing.h"

void DrawEngineData()
{
}
