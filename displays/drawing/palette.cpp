#include "displays/drawing/palette.h"

#include "platform/vb/vbnum.h"
#include "settings/inistuff.h"


namespace {

constexpr int kBuiltIn[13][3] = {
    {0, 0, 0},       {0, 50, 210},    {0, 125, 220},   {0, 150, 230},  {0, 200, 240},
    {2, 252, 251},   {65, 252, 214},  {191, 254, 140}, {128, 253, 117}, {245, 248, 169},
    {255, 255, 0},   {255, 185, 99},  {255, 255, 255},
};

WaterfallPaletteTexts builtIn()
{
    WaterfallPaletteTexts p;
    for (int level = 0; level < 13; ++level)
        for (int c = 0; c < 3; ++c)
            p[c][level] = QString::number(kBuiltIn[level][c]);
    return p;
}

int component(const QString& text)
{
    const double v = vb::RoundHalfEven(vb::Val(text));
    if (!(v > 0)) // also NaN
        return 0;
    return v >= 255 ? 255 : static_cast<int>(v);
}

} // namespace

WaterfallPaletteTexts DefaultWaterfallPalette = builtIn();
WaterfallPaletteTexts WaterfallPalette = builtIn();

void LoadDefaultWaterfallColors()
{
    DefaultWaterfallPalette = builtIn();
}

QString WaterfallColorKey(int level, int comp)
{
    return QStringLiteral("Color %1:%2").arg(level).arg(comp);
}

void SaveWaterfallColors()
{
    const QString section = QStringLiteral("Waterfall Color");
    for (int level = 1; level <= 12; ++level)
        for (int c = 1; c <= 3; ++c)
            WriteINI(section, WaterfallColorKey(level, c), WaterfallPalette[c - 1][level]);
}

std::array<QRgb, 13> WaterfallLevelColors()
{
    std::array<QRgb, 13> colours{};
    colours[0] = qRgb(0, 0, 0);
    for (int level = 1; level < 13; ++level)
        colours[level] = qRgb(component(WaterfallPalette[0][level]), component(WaterfallPalette[1][level]),
                              component(WaterfallPalette[2][level]));
    return colours;
}
