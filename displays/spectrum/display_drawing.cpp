#include "displays/spectrum/display_drawing.h"

#include "displays/drawing/display_math.h"
#include "displays/drawing/palette.h"
#include "displays/drawing/surfaces.h"
#include "displays/drawing/tuning_drawing.h"
#include "displays/spectrum/readouts.h"
#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/mmtty_block.h"
#include "state/psk_api.h"

#include <QPainter>
#include <QPolygon>
#include <cstring>

namespace {

// A drawing step that fails ends that step only; the tick goes on with the next one.
template <typename F>
void Step(F&& f)
{
    try {
        f();
    } catch (...) {
    }
}

bool OverloadShown(MainWindowControls& w)
{
    return OverloadFlag != 0 && w.mnu(QStringLiteral("mnuOverload")).checked();
}

// Step 13: clear the spectrum buffer, or scroll the waterfall down one row.
void PrepareSpectrumBuffer(QImage& img, bool waterfall, const QColor& back)
{
    if (!waterfall) {
        img.fill(back);
        return;
    }
    if (img.height() < 2)
        return;
    uchar* bits = img.bits();
    std::memmove(bits + img.bytesPerLine(), bits, static_cast<size_t>(img.bytesPerLine()) * (img.height() - 1));
}

// One phase-scope segment: from the centre to the channel's next point, scaled by its level.
void DrawVector(int channel, const std::array<std::int32_t, 16>& v, std::int16_t& index, std::int32_t level)
{
    TuningSurfaces& s = TuningSurface(channel);
    if (!s.VectorScope)
        return;
    QImage& img = s.VectorScope->image();
    if (index == 0)
        img.fill(s.VectorScope->backColor());
    if (index < 0 || index > 14)
        return;
    const double dx = static_cast<double>(std::int64_t{v[static_cast<size_t>(index)]} * level) / 5000.0;
    const double dy = static_cast<double>(std::int64_t{v[static_cast<size_t>(index) + 1]} * level) / 5000.0;
    constexpr int kFar = 100000;
    const int x = disp::RoundClamp(ScopeCentreX + dx, -kFar, kFar);
    const int y = disp::RoundClamp(ScopeCentreY - dy, -kFar, kFar);
    QPainter p(&img);
    p.setPen(rgb::toColor(s.vectorPen));
    p.drawLine(ScopeCentreX, ScopeCentreY, x, y);
    index = static_cast<std::int16_t>(index + 2);
}

// Steps 13 to 15: the main display and, bin by bin, the scopes and zoomed spectra.
void DrawBins(MainWindowControls& w)
{
    PictureBox* pic = w.Spectrum;
    if (!pic)
        return;
    QImage& img = pic->image();
    const bool psk = PSKModeActive;
    const bool spectrum = DisplayMode == QLatin1String("Spectrum");
    const bool waterfall = DisplayMode == QLatin1String("Waterfall");
    if (spectrum || waterfall)
        PrepareSpectrumBuffer(img, waterfall, pic->backColor());

    const bool overload = OverloadShown(w);
    const int height = img.height();
    const int width = img.width();
    // Far enough outside the picture that a clipped line keeps its slope.
    const int yFar = 4 * height + 64;
    QPolygon line;
    if (spectrum) {
        line.reserve(disp::kBins + 1);
        line.append(QPoint(0, height));
    }
    std::array<QRgb, 13> colours{};
    if (waterfall)
        colours = WaterfallLevelColors();
    QRgb* topRow = waterfall && height > 0 ? reinterpret_cast<QRgb*>(img.scanLine(0)) : nullptr;
    const QRgb red = qRgb(255, 0, 0);
    const bool rttyTransmit = !psk && TxActive;

    const bool mainTuning = TuningWindowShown(0);
    const bool xyScope = !psk && mainTuning && XYScopeOn;
    const MiniSpectrumPass mini = BeginMiniSpectra();

    for (int i = 0; i < disp::kBins; ++i) {
        const int x = disp::BinX(i, ScaleWidth);
        const double v = disp::BinValue(MMTTYBlock.Spectrum[static_cast<size_t>(i)], psk);
        if (spectrum) {
            if (auto h = disp::BarHeight(v, SpectrumPixelHeight, SpectrumScale, !TxActive, SpectrumSensitivity))
                line.append(QPoint(x, disp::RoundClamp(SpectrumPixelHeight - *h, -yFar, yFar)));
        } else if (topRow && x >= 0 && x < width) {
            const int level = disp::WaterfallLevel(v, WaterfallSensitivity, rttyTransmit);
            topRow[x] = overload && level < 2 ? red : colours[static_cast<size_t>(level)];
        }
        if (psk && i % 128 == 0) {
            if (mainTuning)
                Step(DrawVectorMain);
            if (TuningWindowAux1Open)
                Step(DrawVectorAux1);
            if (TuningWindowAux2Open)
                Step(DrawVectorAux2);
        }
        if (xyScope)
            DrawXYScopeBin(i);
        DrawMiniSpectrumBin(mini, i, v);
    }

    if (spectrum && line.size() > 1) {
        QPainter p(&img);
        QPen pen(overload ? QColor(255, 0, 0) : QColor(0, 255, 0));
        pen.setWidth(SpectrumDrawWidth > 1 ? SpectrumDrawWidth : 0);
        p.setPen(pen);
        p.drawPolyline(line);
    }
    pic->Refresh();
}

} // namespace

void FetchEngineData()
{
    if (PSKModeActive) {
        PskApi& e = Psk();
        if (e.fnGetVectorData) {
            if (TuningWindowShown(0))
                e.fnGetVectorData(VectorData.data(), 0);
            if (Aux1Open)
                e.fnGetVectorData(Aux1VectorData.data(), 1);
            if (Aux2Open)
                e.fnGetVectorData(Aux2VectorData.data(), 2);
        }
        if (e.fnGetFFTData)
            OverloadFlag = e.fnGetFFTData(MMTTYBlock.Spectrum.data(), 0, disp::kBins - 1);
        return;
    }
    if (!MMTTYView)
        return;
    std::memcpy(MMTTYBlock.Spectrum.data(), MMTTYView + mmtty::kSpectrum, disp::kBins * sizeof(std::int32_t));
    std::memcpy(MMTTYBlock.XYScopeX.data(), MMTTYView + mmtty::kXYScopeX, sizeof MMTTYBlock.XYScopeX);
    std::memcpy(MMTTYBlock.XYScopeY.data(), MMTTYView + mmtty::kXYScopeY, sizeof MMTTYBlock.XYScopeY);
}

void DrawVectorMain()
{
    if (PSKModeActive)
        DrawVector(0, VectorData, VectorDrawIndex, SignalLevel);
}

void DrawVectorAux1()
{
    DrawVector(1, Aux1VectorData, Aux1VectorDrawIndex, Aux1SignalLevel);
}

void DrawVectorAux2()
{
    DrawVector(2, Aux2VectorData, Aux2VectorDrawIndex, Aux2SignalLevel);
}

void DrawEngineData()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    VectorDrawIndex = Aux1VectorDrawIndex = Aux2VectorDrawIndex = 0;
    Step(FetchEngineData);
    Step(DrawTuningFrames);
    Step([w] { DrawBins(*w); });
    Step(TrackRxFrequency);
    if (Aux1Open)
        Step(TrackAux1RxFrequency);
    if (Aux2Open)
        Step(TrackAux2RxFrequency);
    Step(DrawSignalBars);
}
