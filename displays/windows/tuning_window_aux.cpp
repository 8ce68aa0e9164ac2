#include "displays/windows/tuning_window_aux.h"

#include "displays/drawing/display_math.h"
#include "displays/drawing/surfaces.h"
#include "displays/spectrum/aux_channels.h"
#include "displays/windows/aux_window.h"
#include "displays/windows/tuning_window.h"
#include "displays/windows/tuning_window_aux1.h"
#include "displays/windows/tuning_window_aux2.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLineEdit>

TuningWindowAux::TuningWindowAux(int channel, const QString& caption)
    : TuningWindowBase(channel, caption, AuxChannelState(channel).section, MainWindowWidget())
{
}

const AuxChannel& TuningWindowAux::state() const
{
    return AuxChannelState(channel());
}

void TuningWindowAux::loadScopes()
{
    // The scope geometry is the main tuning window's, which is loaded (not shown) for it.
    TuningWindow& main = TuningWindow::instance();
    ScopeCentreX = vb::CInt(main.VectorScope->width() / 2.0);
    ScopeCentreY = vb::CInt(main.VectorScope->height() / 2.0);
}

void TuningWindowAux::loadSquelch()
{
    doSquelchSetting(static_cast<std::int16_t>(disp::RoundClamp(state().squelchLevel, -32768, 32767)));
    state().tuningOpen = true;
}

void TuningWindowAux::Form_Unload()
{
    const AuxChannel& s = state();
    s.tuningOpen = false;
    if (AuxWindow* owner = AuxWindow::existing(channel()))
        owner->mnu(QStringLiteral("mnuTuningWindow")).setChecked(false);
    writePosition();
    if (!s.closing && !SpectrumHold)
        WriteINI(s.section, QStringLiteral("Tuning Window"), QStringLiteral("Tuning Window False"));
}

void TuningWindowAux::doSquelchSetting(std::int16_t Y)
{
    const AuxChannel& s = state();
    placeSquelchLine(Y);
    s.squelchLevel = Y;
    WriteINI(s.section, QStringLiteral("Squelch Setting"), vb::Str(Y));
    if (Psk().fnSetSquelchThreshold)
        APIResult = Psk().fnSetSquelchThreshold(PskSquelchThreshold(Y), SquelchSpeed, channel());
}

void TuningWindowAux::ScopePic_MouseDown(int, int, double X, double)
{
    QLineEdit* box = AuxReadouts(channel()).AuxStatusBarAudioFreq;
    if (!box)
        return;
    const double x = X / twips::kPerPixel;
    const double centre = ScopePic->width() / 2.0;
    if (x == centre)
        return;
    const double offset = vb::RoundHalfEven(x - centre);
    const double hz = vb::RoundHalfEven(offset * FFTBinHz / 2) + vb::Val(box->text());
    if (HzPerTwip == 0)
        return;
    if (const auto position = disp::Round16(hz / HzPerTwip))
        state().retune(*position, true);
}

void ShowAuxTuningWindow(int channel)
{
    if (channel == 1)
        TuningWindowAux1::instance().showOwned();
    else if (channel == 2)
        TuningWindowAux2::instance().showOwned();
}

void UnloadAuxTuningWindow(int channel)
{
    if (auto* t = dynamic_cast<TuningWindowAux*>(TuningWindowBase::existing(channel)))
        t->Unload();
}
