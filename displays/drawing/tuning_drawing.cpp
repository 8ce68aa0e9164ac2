#include "displays/drawing/tuning_drawing.h"

#include "displays/drawing/display_math.h"
#include "displays/drawing/image_draw.h"
#include "displays/drawing/surfaces.h"
#include "platform/vb/units.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QPainter>

namespace {

constexpr std::int32_t kRed = 255;
constexpr std::int32_t kBlue = 16711680;
constexpr std::int32_t kDarkGreen = 32768;
constexpr std::int32_t kYellow = 65535;
constexpr int kFar = 100000;

QRgb toRgb(std::int32_t windowsRgb)
{
    return qRgb(windowsRgb & 0xFF, (windowsRgb >> 8) & 0xFF, (windowsRgb >> 16) & 0xFF);
}

// Clears a zoomed spectrum and draws its two frame lines.
void Frame(int channel, std::int16_t& x, int left, int right, std::int32_t colour)
{
    x = 1;
    TuningSurfaces& s = TuningSurface(channel);
    if (!s.ScopePic)
        return;
    QImage& img = s.ScopePic->image();
    img.fill(s.ScopePic->backColor());
    disp::VerticalLine(img, left, 0, ScopeHeight, toRgb(colour));
    disp::VerticalLine(img, right, 0, ScopeHeight, toRgb(colour));
}

void MiniBin(int channel, int bin, std::int16_t first, std::int16_t last, std::int16_t& x, int step, double m)
{
    if (bin < first || bin > last)
        return;
    TuningSurfaces& s = TuningSurface(channel);
    if (s.ScopePic) {
        const int top = disp::RoundClamp(ScopeHeight - m, -kFar, kFar);
        disp::VerticalLine(s.ScopePic->image(), x, ScopeHeight, top, toRgb(s.spectrumPen));
    }
    x = static_cast<std::int16_t>(x + step);
}

// One channel's bar: up from the bottom by level x 0.65 pixels, yellow above the squelch
// threshold and red at or below it; the phase scope takes the bar's colour.
void Bar(TuningSurfaces& s, double threshold, std::int32_t level)
{
    const bool above = threshold < level;
    PictureBox* filler = above ? s.YellowFiller.data() : s.RedFiller.data();
    const std::int32_t colour = filler ? rgb::fromColor(filler->backColor()) : (above ? kYellow : kRed);
    if (s.Receive) {
        QImage& img = s.Receive->image();
        img.fill(s.Receive->backColor());
        const int y = disp::RoundClamp(img.height() - level * 0.65, -kFar, kFar);
        QPainter p(&img);
        if (filler)
            p.drawImage(0, y, filler->image());
        else
            p.fillRect(0, y, img.width(), img.height() - y, rgb::toColor(colour));
        p.end();
        s.Receive->Refresh();
    }
    s.vectorPen = colour;
}

} // namespace

void DrawTuningFrames()
{
    if (TuningWindowShown(0)) {
        TuningSurfaces& s = TuningSurface(0);
        if (!PSKModeActive && s.VectorScope)
            s.VectorScope->image().fill(s.VectorScope->backColor());
        const auto [right, left] = disp::FrameLines(PSKModeActive, RTTYShownShiftHz);
        FrameLineRight = static_cast<std::int16_t>(right);
        FrameLineLeft = static_cast<std::int16_t>(left);
        Frame(0, MiniSpectrumX, left, right, kRed);
    }
    // The auxiliary channels are PSK only: their frames stand where the PSK frames stand.
    const auto [right, left] = disp::FrameLines(true, 0);
    if (TuningWindowAux1Open)
        Frame(1, Aux1MiniSpectrumX, left, right, kBlue);
    if (TuningWindowAux2Open)
        Frame(2, Aux2MiniSpectrumX, left, right, kDarkGreen);
}

MiniSpectrumPass BeginMiniSpectra()
{
    MiniSpectrumPass pass;
    MainWindowControls* w = ExistingMainWindow();
    pass.receiveShown = w && w->TxRxBox && w->TxRxBox->text() == QLatin1String("Receive");
    pass.psk = PSKModeActive;
    return pass;
}

void DrawMiniSpectrumBin(const MiniSpectrumPass& pass, int bin, double value)
{
    const bool main = TuningWindowShown(0);
    if (!main && !TuningWindowAux1Open && !TuningWindowAux2Open)
        return;
    const auto m = disp::BarHeight(value, SpectrumPixelHeight, SpectrumScale, pass.receiveShown,
                                   SmallSpectrumSensitivity);
    if (!m)
        return;
    if (main)
        MiniBin(0, bin, MiniSpectrumFirstBin, MiniSpectrumLastBin, MiniSpectrumX, pass.psk ? 2 : 1, *m);
    if (TuningWindowAux1Open)
        MiniBin(1, bin, Aux1MiniSpectrumFirstBin, Aux1MiniSpectrumLastBin, Aux1MiniSpectrumX, 2, *m);
    if (TuningWindowAux2Open)
        MiniBin(2, bin, Aux2MiniSpectrumFirstBin, Aux2MiniSpectrumLastBin, Aux2MiniSpectrumX, 2, *m);
}

void DrawXYScopeBin(int bin)
{
    if (bin < 0 || bin >= disp::kBins)
        return;
    if (bin < 512) {
        const int slot = bin * TickCycle;
        if (slot >= 0 && slot < disp::kBins) {
            XYScopeXData[static_cast<size_t>(slot)] = MMTTYBlock.XYScopeX[static_cast<size_t>(bin)];
            XYScopeYData[static_cast<size_t>(slot)] = MMTTYBlock.XYScopeY[static_cast<size_t>(bin)];
        }
    }
    const std::int32_t x = XYScopeXData[static_cast<size_t>(bin)];
    const std::int32_t y = XYScopeYData[static_cast<size_t>(bin)];
    if (x == 0 || y == 0 || XYScopeScale == 0)
        return;
    TuningSurfaces& s = TuningSurface(0);
    if (!s.VectorScope)
        return;
    const double scale = XYScopeScale;
    disp::SetPixel(s.VectorScope->image(), disp::RoundClamp(x / scale + XYScopeCentreX, -kFar, kFar),
                   disp::RoundClamp(y / scale + XYScopeCentreY, -kFar, kFar), toRgb(XYScopeColor));
}

void DrawSignalBars()
{
    for (int channel = 0; channel <= 2; ++channel) {
        if (!TuningWindowShown(channel))
            continue;
        TuningSurfaces& s = TuningSurface(channel);
        if (s.ScopePic)
            s.ScopePic->Refresh();
        if (s.VectorScope)
            s.VectorScope->Refresh();
        double threshold = 0;
        std::int32_t level = 0;
        if (channel == 0) {
            SquelchLevel = PSKModeActive ? PSKSquelchLevel : RTTYSquelchLevel;
            threshold = 100 - SquelchLevel * 1.53846;
            level = SignalLevel;
        } else {
            std::int32_t& aux = channel == 1 ? Aux1SignalLevel : Aux2SignalLevel;
            if (Psk().fnGetSignalLevel)
                aux = Psk().fnGetSignalLevel(channel);
            threshold = 100 - (channel == 1 ? Aux1SquelchLevel : Aux2SquelchLevel) * 1.5625;
            level = aux;
        }
        Bar(s, threshold, level);
    }
}
