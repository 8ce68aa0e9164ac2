#pragma once
// The waterfall's thirteen colour levels: the built-in default, the palette in force and their
// store in the settings file. Each entry is the decimal text of a value 0..255, indexed
// [component][level] with component 0 red, 1 green, 2 blue; level 0 is black.
#include <QRgb>
#include <QString>
#include <array>

using WaterfallPaletteTexts = std::array<std::array<QString, 13>, 3>;

extern WaterfallPaletteTexts DefaultWaterfallPalette;
// Starts as the built-in palette, so the waterfall has colours before the settings are read.
extern WaterfallPaletteTexts WaterfallPalette;

// Puts the built-in palette into DefaultWaterfallPalette (start-up).
void LoadDefaultWaterfallColors();
// Writes levels 1..12 of WaterfallPalette to [Waterfall Color].
void SaveWaterfallColors();
// The key of a level (1..12) and component (1 red, 2 green, 3 blue): "Color 7:2".
QString WaterfallColorKey(int level, int component);
// The colours of the thirteen levels as drawn: each text read as a whole number, kept to 0..255.
std::array<QRgb, 13> WaterfallLevelColors();
