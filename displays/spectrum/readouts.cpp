#include "displays/spectrum/readouts.h"

#include "displays/drawing/display_math.h"
#include "displays/drawing/surfaces.h"
#include "displays/spectrum/display_hooks.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace {

constexpr std::int32_t kDarkGreen = 32768;
constexpr std::int32_t kRed = 255;

void setTextColour(QWidget* widget, QPalette::ColorRole role, std::int32_t colour)
{
    QPalette pal = widget->palette();
    pal.setColor(role, rgb::toColor(colour));
    widget->setPalette(pal);
}

// Position on the scale of a frequency, when it has one.
std::optional<std::int16_t> PositionOf(double hz)
{
    if (HzPerTwip == 0)
        return std::nullopt;
    return disp::Round16(hz / HzPerTwip);
}

void TrackAux(int channel, std::int32_t& freq, std::int32_t& last,
              void (*retune)(std::int16_t, bool))
{
    if (!Psk().fnGetRXFrequency)
        return;
    freq = Psk().fnGetRXFrequency(channel);
    if (freq == last)
        return;
    last = freq;
    if (QLineEdit* box = AuxReadouts(channel).AuxStatusBarAudioFreq)
        box->setText(QStringLiteral(" ") + FormatHash(freq, 1) + QStringLiteral(" Hz "));
    if (const auto p = PositionOf(freq))
        retune(*p, false);
}

void ClearChannel(int channel)
{
    MainWindowControls* w = ExistingMainWindow();
    switch (channel) {
    case 0:
        if (w && w->IMDBox)
            w->IMDBox->clear();
        if (TuningWindowShown(0) && TuningSurface(0).IMD)
            TuningSurface(0).IMD->clear();
        IMDClearCount = 0;
        break;
    case 1:
    case 2: {
        const bool open = channel == 1 ? Aux1Open : Aux2Open;
        if (open && AuxReadouts(channel).AuxStatusBarIMD)
            AuxReadouts(channel).AuxStatusBarIMD->clear();
        if (TuningWindowShown(channel) && TuningSurface(channel).IMD)
            TuningSurface(channel).IMD->clear();
        (channel == 1 ? Aux1IMDClearCount : Aux2IMDClearCount) = 0;
        break;
    }
    default:
        break;
    }
}

} // namespace

QString FormatHash(double value, int decimals)
{
    QString s = vb::Fixed(value, decimals);
    if (s.startsWith(QLatin1String("0.")))
        s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0.")))
        s.remove(1, 1);
    return s;
}

void TrackRxFrequency()
{
    if (PSKModeActive) {
        if (EngineFreqParam == RxFreqLast)
            return;
        RxFreqLast = EngineFreqParam;
        if (const auto p = PositionOf(EngineFreqParam))
            SetRxFrequencyFromPixel(*p, false);
        return;
    }
    // The RTTY tones place the cursor now: back in PSK the engine's first report moves it
    // again, even when it is the frequency last followed before RTTY.
    RxFreqLast = 0;
    if (RTTYMarkHz == RTTYMarkLast && RTTYSpaceHz == RTTYSpaceLast)
        return;
    RTTYMarkLast = RTTYMarkHz;
    RTTYSpaceLast = RTTYSpaceHz;
    if (const auto p = PositionOf((double(RTTYMarkHz) + RTTYSpaceHz) / 2))
        SetRxFrequencyFromPixel(*p, false);
}

void TrackAux1RxFrequency()
{
    TrackAux(1, Aux1RxFreq, Aux1RxFreqLast, SetAux1RxFrequencyFromPixel);
}

void TrackAux2RxFrequency()
{
    TrackAux(2, Aux2RxFreq, Aux2RxFreqLast, SetAux2RxFrequencyFromPixel);
}

void ShowFrequencyReadouts()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    const QString hz = QStringLiteral(" Hz");
    if (w->AudioFreqBox) {
        const double audio = PSKModeActive ? RxCursorX * HzPerTwip
                                           : double(MMTTYPolarityFlag ? RTTYMarkHz : RTTYSpaceHz);
        w->AudioFreqBox->setText(FormatHash(audio, 1) + hz);
    }
    const bool open[3] = {true, Aux1Open, Aux2Open};
    const std::int16_t cursor[3] = {RxCursorX, Aux1CursorX, Aux2CursorX};
    for (int ch = 1; ch <= 2; ++ch)
        if (open[ch] && AuxReadouts(ch).AuxStatusBarAudioFreq)
            AuxReadouts(ch).AuxStatusBarAudioFreq->setText(FormatHash(cursor[ch] * HzPerTwip, 1) + hz);

    const bool radio = DialFrequency > 0 && !w->mnu(QStringLiteral("mnuAudioFreq")).checked();
    const double sign = SidebandOrientation == QLatin1String("Normal") ? 1 : -1;
    const QString khz = QStringLiteral(" KHz");
    if (w->RFFrequencyBox) {
        if (!radio) {
            w->RFFrequencyBox->clear();
        } else {
            const double audio = PSKModeActive || !w->AudioFreqBox ? RxCursorX * HzPerTwip
                                                                     : vb::Val(w->AudioFreqBox->text());
            w->RFFrequencyBox->setText(FormatHash(DialFrequency + sign * audio / 1000, 3) + khz);
        }
    }
    for (int ch = 1; ch <= 2; ++ch) {
        QLineEdit* box = AuxReadouts(ch).AuxStatusBarRFFreq;
        if (!open[ch] || !box)
            continue;
        if (radio)
            box->setText(FormatHash(DialFrequency + sign * cursor[ch] * HzPerTwip / 1000, 3) + khz);
        else
            box->clear();
    }
}

void ShowIMD(std::int32_t value, std::int32_t channel)
{
    const QString text = QString::number(value) + QStringLiteral("dB");
    const std::int32_t colour = value < -25 ? kDarkGreen : kRed;
    QLineEdit* box = nullptr;
    switch (channel) {
    case 0:
        if (MainWindowControls* w = ExistingMainWindow())
            box = w->IMDBox;
        IMDClearCount = 1;
        break;
    case 1:
        if (!Aux1Open)
            return;
        box = AuxReadouts(1).AuxStatusBarIMD;
        Aux1IMDClearCount = 1;
        break;
    case 2:
        if (!Aux2Open)
            return;
        box = AuxReadouts(2).AuxStatusBarIMD;
        Aux2IMDClearCount = 1;
        break;
    default:
        return;
    }
    if (box) {
        setTextColour(box, QPalette::Text, colour);
        box->setText(text);
    }
    if (TuningWindowShown(channel))
        if (QLabel* label = TuningSurface(channel).IMD) {
            setTextColour(label, QPalette::WindowText, colour);
            label->setText(text);
        }
}

void ClearIMD()
{
    if (IMDClearCount > 10)
        ClearChannel(0);
    else if (Aux1IMDClearCount > 10)
        ClearChannel(1);
    else if (Aux2IMDClearCount > 10)
        ClearChannel(2);
}

void ClearIMD(std::int32_t channel)
{
    ClearChannel(channel);
}

void AudioFreqBox_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->AudioFreqBox)
        return;
    const double v = vb::Val(w->AudioFreqBox->text());
    if (Psk().fnSetTXFrequency)
        Psk().fnSetTXFrequency(disp::RoundClamp(v, -2147483647, 2147483647));
    TxAudioFreqText = vb::Text(v);
}

void IMDBox_Click()
{
    if (!PSKModeActive)
        DisplayHooks().ResetRTTYShift();
}
