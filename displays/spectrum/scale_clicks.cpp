#include "displays/spectrum/scale_clicks.h"

#include "displays/drawing/display_math.h"
#include "displays/spectrum/display_hooks.h"
#include "displays/spectrum/readouts.h"
#include "displays/spectrum/scale.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QTextEdit>

namespace {

void FocusToTx()
{
    if (MainWindowControls* w = ExistingMainWindow())
        if (w->TxWindow)
            w->TxWindow->setFocus();
}

// The radio moves so that the clicked audio frequency comes to the preset receive frequency.
void QSYToClick(MainWindowControls& w, double x)
{
    if (!(DialFrequency > 1800) || !w.mnu(QStringLiteral("mnuRadioAuto")).checked())
        return;
    const double offset = x * HzPerTwip - vb::Val(PresetRxAudioFreq);
    const double dial = SidebandOrientation == QLatin1String("Normal") ? DialFrequency + offset / 1000
                                                                       : DialFrequency - offset / 1000;
    const QString formatted = FormatHash(dial, 2);
    PendingQSYFrequency = formatted;
    if (w.mnu(QStringLiteral("mnuStandalone")).checked()) {
        QVariantList args{PendingQSYFrequency};
        APIResult = disp::RoundClamp(RigCall(QStringLiteral("setRadioFrequency"), args).toDouble(),
                                     -2147483647, 2147483647);
        PendingQSYFrequency = formatted; // the component rewrote the text it was handed
    } else {
        DisplayHooks().SendToLogger(QStringLiteral("Set Frequency=") + PendingQSYFrequency);
    }
}

void NotchClick()
{
    if (PSKModeActive)
        return;
    if (LastMouseButton != 1) {
        if (MMTTYFlags & 0x40)
            win::PostMessage(MMTTYhWnd, MMTTYMessage, 11, MMTTYFlags ^ 0x40);
        return;
    }
    DisplayHooks().CentreNotchPosition(LastMouseX);
    DisplayHooks().SetNotchAt(LastMouseX);
}

} // namespace

void Spectrum_MouseDown(int button, int shift, double x, double)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    if (button == 1) {
        // A position beyond 16 bits lies far above the passband.
        if (const auto p = disp::Round16(x)) {
            if (shift == 0)
                SetRxFrequencyFromPixel(*p, true);
            else if (shift == 4)
                SetAux1RxFrequencyFromPixel(*p, true);
            else if (shift == 2)
                SetAux2RxFrequencyFromPixel(*p, true);
        }
        FocusToTx();
    } else if (button == 2) {
        QSYToClick(*w, x);
        FocusToTx();
    }
}

void Graticule_MouseDown(int button, int, double x)
{
    if (PSKModeActive)
        return;
    LastMouseButton = static_cast<std::int16_t>(button);
    LastMouseX = static_cast<float>(x);
}

void Graticule_Click()
{
    NotchClick();
}

void ScaleLabel_MouseDown(int k, int button)
{
    if (PSKModeActive)
        return;
    LastMouseButton = static_cast<std::int16_t>(button);
    // The label stands centred on its own frequency: that is where the notch goes.
    LastMouseX = static_cast<float>(ScaleLabelPosition(k));
}

void ScaleLabel_Click(int)
{
    NotchClick();
}

void Label3_Click()
{
    if (PSKModeActive) {
        if (FFTBinHz != 0 && ScaleWidth != 0)
            if (const auto p = disp::Round16(vb::Val(PresetRxAudioFreq) / (FFTBinHz / ScaleWidth)))
                SetRxFrequencyFromPixel(*p, true);
        if (Psk().fnSetTXFrequency)
            Psk().fnSetTXFrequency(disp::RoundClamp(vb::Val(PresetTxAudioFreq), -2147483647, 2147483647));
        TxAudioFreqText = PresetTxAudioFreq;
    } else {
        DisplayHooks().ResetRTTYShift();
    }
    FocusToTx();
}
