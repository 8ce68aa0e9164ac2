#pragma once
// The waterfall's thirteen colour levels.
#include <QColor>
#include <array>

extern std::array<QColor, 13> WaterfallPalette;
// Puts the built-in palette in place (start-up, before the settings are read).
void LoadDefaultWaterfallColors();
