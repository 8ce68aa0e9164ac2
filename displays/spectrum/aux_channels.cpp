#include "displays/spectrum/aux_channels.h"

#include "displays/drawing/display_math.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QTextEdit>

const AuxChannel& AuxChannelState(int channel)
{
    static const AuxChannel one{1, QStringLiteral("Aux 1"), QStringLiteral("Aux 1 Open"), Aux1Open, Aux1Closing,
                                Aux1Reopen, TuningWindowAux1Open, Aux1RxFreq, Aux1SquelchLevel, Aux1AFCLimit,
                                Aux1AFCRange, Aux1TextColor, Aux1MouseOverColor, Aux1MouseOverSuppressed,
                                PresetAux1AudioFreq, SetAux1RxFrequencyFromPixel};
    static const AuxChannel two{2, QStringLiteral("Aux 2"), QStringLiteral("Aux 2 Open"), Aux2Open, Aux2Closing,
                                Aux2Reopen, TuningWindowAux2Open, Aux2RxFreq, Aux2SquelchLevel, Aux2AFCLimit,
                                Aux2AFCRange, Aux2TextColor, Aux2MouseOverColor, Aux2MouseOverSuppressed,
                                PresetAux2AudioFreq, SetAux2RxFrequencyFromPixel};
    return channel == 1 ? one : two;
}

std::int32_t PskSquelchThreshold(double level)
{
    return disp::RoundClamp(100 - level * 1.5625, -2147483647, 2147483647);
}

std::int32_t RttySquelchValue(double level)
{
    return disp::RoundClamp((100 - level * 1.5384) * 10.25, -2147483647, 2147483647);
}

void FocusMainTxWindow()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->TxWindow)
        return;
    if (w->Window->isVisible())
        w->Window->activateWindow();
    w->TxWindow->setFocus();
}

QString TwipsText(int pixels)
{
    return vb::Str(twips::fromPixels(pixels));
}

int PixelsOf(const QString& twipsText, int fallback)
{
    const double v = vb::Val(twipsText);
    if (!(v > -1e8 && v < 1e8))
        return fallback;
    return twips::toPixels(v);
}
