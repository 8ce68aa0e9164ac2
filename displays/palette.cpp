#include "displays/palette.h"

std::array<QColor, 13> WaterfallPalette;

void LoadDefaultWaterfallColors() {}
