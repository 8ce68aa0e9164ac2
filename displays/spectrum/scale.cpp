#include "displays/spectrum/scale.h"

#include "displays/drawing/display_math.h"
#include "displays/drawing/surfaces.h"
#include "displays/spectrum/readouts.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr std::int32_t kRed = 255;
constexpr std::int32_t kBlue = 16711680;
constexpr std::int32_t kDarkGreen = 32768;
constexpr int kFar = 100000;

// The scale picture's pen, as its drawing procedures leave it from one call to the next.
std::int32_t g_penColour = 0;
int g_penWidth = 1;
std::int32_t g_savedPenColour = 0; // saved by the PSK marker step
std::array<double, 5> g_labelPosition{};

QLabel* scaleLabel(MainWindowControls& w, int k)
{
    switch (k) {
    case 1: return w.Label1000;
    case 2: return w.Label2000;
    case 3: return w.Label3000;
    case 4: return w.Label4000;
    default: return nullptr;
    }
}

// Pixel x of a frequency on the scale; nothing while HzPerTwip is 0.
std::optional<int> PixelOfHz(double hz)
{
    if (HzPerTwip == 0)
        return std::nullopt;
    return disp::RoundClamp(hz / HzPerTwip / disp::kTwipsPerPixel, -kFar, kFar);
}

void Line(int x1, int y1, int x2, int y2)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->Graticule)
        return;
    QPainter p(&w->Graticule->image());
    QPen pen(rgb::toColor(g_penColour));
    pen.setWidth(g_penWidth > 1 ? g_penWidth : 0);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(x1, y1, x2, y2);
}

void ChannelMarker(std::int16_t cursorPixel, int halfWidth, std::int32_t colour)
{
    g_penColour = colour;
    Line(cursorPixel + halfWidth, 0, cursorPixel + halfWidth, 20);
    Line(cursorPixel - halfWidth, 0, cursorPixel - halfWidth, 20);
}

bool AudioFreqChecked(MainWindowControls& w)
{
    return w.mnu(QStringLiteral("mnuAudioFreq")).checked();
}

// Shared part of tuning a channel: position, cursor pixel and zoomed-spectrum bins.
bool Retune(std::int16_t position, std::int16_t& cursor, std::int16_t& cursorPixel, std::int16_t& first,
            std::int16_t& last, int halfRange)
{
    const double f = position * HzPerTwip;
    if (f < 300 || f > 3500)
        return false;
    cursor = position;
    cursorPixel = static_cast<std::int16_t>(disp::RoundClamp(position / double(disp::kTwipsPerPixel), -32768, 32767));
    if (ScaleWidth != 0) {
        const double b = position / ScaleWidth;
        first = static_cast<std::int16_t>(disp::RoundClamp(b - halfRange, -32768, 32767));
        last = static_cast<std::int16_t>(disp::RoundClamp(b + halfRange, -32768, 32767));
    }
    return true;
}

void SendRx(double hz, std::int32_t afcRange, std::int32_t channel)
{
    if (Psk().fnSetRXFrequency)
        Psk().fnSetRXFrequency(disp::RoundClamp(hz, 0, 1000000), afcRange, channel);
}

} // namespace

void ComputeHzPerTwip()
{
    if (ScaleWidth != 0)
        HzPerTwip = FFTBinHz / ScaleWidth;
}

double ScaleLabelPosition(int k)
{
    return k >= 1 && k <= 4 ? g_labelPosition[static_cast<size_t>(k)] : 0;
}

void DrawFrequencyScale()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->Graticule)
        return;
    Line(0, 14, w->Graticule->width(), 14);
    if (HzPerTwip == 0)
        return;
    std::int32_t c0 = DialHzPart;
    if (SidebandOrientation == QLatin1String("Reverse") && !AudioFreqChecked(*w))
        c0 = 1000 - c0;
    for (int f = 1; f <= 5000; ++f) {
        const std::int64_t c = std::int64_t{c0} + f - 1;
        if (c % 100 != 0)
            continue;
        const double p = f / HzPerTwip;
        const int x = disp::RoundClamp(p / disp::kTwipsPerPixel, -kFar, kFar);
        Line(x, 14, x, c % 500 == 0 ? 6 : 10);
        if (c >= 1000 && c <= 4000 && c % 1000 == 0) {
            const int k = static_cast<int>(c / 1000);
            g_labelPosition[static_cast<size_t>(k)] = p;
            if (QLabel* label = scaleLabel(*w, k)) {
                const double left = p - twips::fromPixels(label->width()) / 2.0;
                label->move(disp::RoundClamp(left / disp::kTwipsPerPixel, -kFar, kFar), label->y());
            }
        }
    }
}

void DrawPSKMarkers()
{
    g_savedPenColour = g_penColour;
    const auto h = PixelOfHz(15.5);
    if (!h)
        return;
    if (Aux2Open)
        ChannelMarker(Aux2CursorPixel, *h, kDarkGreen);
    if (Aux1Open)
        ChannelMarker(Aux1CursorPixel, *h, kBlue);
    ChannelMarker(RxCursorPixel, *h, kRed);
}

void DrawRTTYMarkers()
{
    if (RTTYMarkHz < 1 || RTTYSpaceHz < 1)
        return;
    const auto mark = PixelOfHz(RTTYMarkHz);
    const auto space = PixelOfHz(RTTYSpaceHz);
    if (!mark || !space)
        return;
    g_penColour = kRed;
    Line(*mark, 0, *mark, 20);
    Line(*space, 0, *space, 20);
    RTTYShownShiftHz = static_cast<std::int16_t>(disp::RoundClamp(double(RTTYSpaceHz) - RTTYMarkHz, -32768, 32767));
    const QString text = QString::number(RTTYShownShiftHz) + QStringLiteral(" Hz");
    MainWindowControls* w = ExistingMainWindow();
    if (w && w->IMDBox)
        w->IMDBox->setText(text);
    if (TuningWindowShown(0)) {
        if (QLabel* imd = TuningSurface(0).IMD) {
            QPalette pal = imd->palette();
            pal.setColor(QPalette::WindowText, Qt::black);
            imd->setPalette(pal);
            imd->setText(text);
        }
    }
}

void RedrawSpectrumScale()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->Graticule)
        return;
    w->Graticule->image().fill(w->Graticule->backColor());
    DrawFrequencyScale();
    if (PSKModeActive)
        DrawPSKMarkers();
    else
        DrawRTTYMarkers();
    const int savedWidth = g_penWidth;
    g_penWidth = MarkerWidth;
    for (int k = 1; k <= 4; ++k) {
        if (!w->mnu(QStringLiteral("mnuMarker%1").arg(k)).checked())
            continue;
        g_penColour = disp::RoundClamp(vb::Val(MarkerColor[static_cast<size_t>(k)]), 0, 0xFFFFFF);
        if (const auto x = PixelOfHz(MarkerFreq[static_cast<size_t>(k)]))
            Line(*x, 8, *x, 20);
    }
    g_penWidth = savedWidth;
    g_penColour = g_savedPenColour;
    w->Graticule->Refresh();
    ShowFrequencyReadouts();
}

void UpdateScaleLabels()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    std::array<QString, 5> texts;
    bool set = true;
    for (int k = 1; k <= 4; ++k) {
        if (DialKHz <= 0)
            texts[static_cast<size_t>(k)] = QString::number(k * 1000);
        else if (SidebandOrientation == QLatin1String("Normal"))
            texts[static_cast<size_t>(k)] = QString::number(std::int64_t{DialKHz} + k);
        else if (SidebandOrientation == QLatin1String("Reverse"))
            texts[static_cast<size_t>(k)] = QString::number(std::int64_t{DialKHz} - (k - 1));
        else
            set = false;
    }
    if (set)
        for (int k = 1; k <= 4; ++k)
            if (QLabel* label = scaleLabel(*w, k))
                label->setText(texts[static_cast<size_t>(k)]);
    RedrawSpectrumScale();
}

void SetRxFrequencyFromPixel(std::int16_t position, bool send)
{
    if (!Retune(position, RxCursorX, RxCursorPixel, MiniSpectrumFirstBin, MiniSpectrumLastBin,
                PSKModeActive ? 32 : 64))
        return;
    if (!send) {
        RedrawSpectrumScale();
        return;
    }
    if (PSKModeActive) {
        SendRx(RxCursorX * HzPerTwip, AFCRange, 0);
        return;
    }
    const double g = std::trunc(RxCursorX * HzPerTwip);
    win::PostMessage(MMTTYhWnd, MMTTYMessage, 9, disp::RoundClamp(g - RTTYShiftHz / 2.0, -kFar, kFar));
    win::PostMessage(MMTTYhWnd, MMTTYMessage, 10, disp::RoundClamp(g + RTTYShiftHz / 2.0, -kFar, kFar));
}

void SetAux1RxFrequencyFromPixel(std::int16_t position, bool send)
{
    if (!Retune(position, Aux1CursorX, Aux1CursorPixel, Aux1MiniSpectrumFirstBin, Aux1MiniSpectrumLastBin, 32))
        return;
    if (send)
        SendRx(Aux1CursorX * HzPerTwip, Aux1AFCRange, 1);
    else
        RedrawSpectrumScale();
}

void SetAux2RxFrequencyFromPixel(std::int16_t position, bool send)
{
    if (!Retune(position, Aux2CursorX, Aux2CursorPixel, Aux2MiniSpectrumFirstBin, Aux2MiniSpectrumLastBin, 32))
        return;
    if (send)
        SendRx(Aux2CursorX * HzPerTwip, Aux2AFCRange, 2);
    else
        RedrawSpectrumScale();
}

void doAdjustScale()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->Spectrum)
        return;
    PictureBox* pic = w->Spectrum;
    const QSize size(qMax(1, pic->width()), qMax(1, pic->height()));
    QImage& buffer = pic->image();
    if (buffer.size() != size) {
        QImage resized(size, QImage::Format_RGB32);
        resized.fill(pic->backColor());
        QPainter p(&resized);
        p.drawImage(0, 0, buffer);
        p.end();
        buffer = resized;
    }
    SpectrumPixelHeight = static_cast<std::int16_t>(qMin(size.height(), 32767));
}
