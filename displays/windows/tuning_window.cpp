#include "displays/windows/tuning_window.h"

#include "displays/drawing/display_math.h"
#include "displays/spectrum/aux_channels.h"
#include "displays/spectrum/scale.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLineEdit>

namespace {

const QString kSection = QStringLiteral("Main Tuning Window");
constexpr int kRttySquelchCommand = 15;

MenuItem* TuningMenu()
{
    MainWindowControls* w = ExistingMainWindow();
    return w ? &w->mnu(QStringLiteral("mnuTuningWindow")) : nullptr;
}

} // namespace

TuningWindow::TuningWindow()
    : TuningWindowBase(0, QStringLiteral("Main Tx/Rx Tuning window"), kSection, MainWindowWidget())
{
}

TuningWindow& TuningWindow::instance()
{
    return LoadTuningWindow<TuningWindow>(0);
}

TuningWindow* TuningWindow::existing()
{
    return dynamic_cast<TuningWindow*>(TuningWindowBase::existing(0));
}

void TuningWindow::loadScopes()
{
    ScopeCentreX = vb::CInt(VectorScope->width() / 2.0);
    ScopeCentreY = vb::CInt(VectorScope->height() / 2.0);
}

void TuningWindow::loadSquelch()
{
    if (PSKModeActive)
        doSquelchSetting(static_cast<std::int16_t>(disp::RoundClamp(PSKSquelchLevel, -32768, 32767)));
    else
        placeSquelchLine(RTTYSquelchLevel);
    // The RTTY XY scope is centred on the same phase scope.
    XYScopeCentreX = vb::CInt(VectorScope->width() / 2.0);
    XYScopeCentreY = vb::CInt(VectorScope->height() / 2.0);
}

void TuningWindow::Form_Unload()
{
    if (MenuItem* m = TuningMenu())
        m->setChecked(false);
    writePosition();
    if (!SpectrumHold)
        WriteINI(kSection, QStringLiteral("Tuning Window"), QStringLiteral("Tuning Window False"));
}

void TuningWindow::doSquelchSetting(std::int16_t Y)
{
    placeSquelchLine(Y);
    if (PSKModeActive) {
        PSKSquelchLevel = Y;
        WriteINI(kSection, QStringLiteral("Squelch Setting"), vb::Str(Y));
        if (Psk().fnSetSquelchThreshold)
            APIResult = Psk().fnSetSquelchThreshold(PskSquelchThreshold(Y), SquelchSpeed, 0);
    } else {
        RTTYSquelchLevel = Y;
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kRttySquelchCommand, RttySquelchValue(Y));
    }
}

void TuningWindow::ScopePic_MouseDown(int, int, double X, double)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->AudioFreqBox)
        return;
    const double divisor = PSKModeActive ? 2 : 1;
    const double x = X / twips::kPerPixel;
    const double centre = ScopePic->width() / 2.0;
    if (x == centre)
        return;
    const double offset = vb::RoundHalfEven(x - centre);
    double delta = vb::RoundHalfEven(offset * FFTBinHz / divisor);
    if (!PSKModeActive)
        delta = vb::RoundHalfEven(delta - RTTYShownShiftHz / 2.0);
    const double hz = delta + vb::Val(w->AudioFreqBox->text());
    if (HzPerTwip == 0)
        return;
    if (const auto position = disp::Round16(hz / HzPerTwip))
        SetRxFrequencyFromPixel(*position, true);
}

void mnuTuningWindow_Click()
{
    MenuItem* m = TuningMenu();
    if (!m)
        return;
    if (m->checked()) {
        m->setChecked(false);
        if (TuningWindow* t = TuningWindow::existing())
            t->Unload();
        WriteINI(kSection, QStringLiteral("Tuning Window"), QStringLiteral("Tuning Window False"));
        return;
    }
    m->setChecked(true);
    TuningWindow& t = TuningWindow::instance();
    AroundTopmost([&t] { t.showOwned(); });
    WriteINI(kSection, QStringLiteral("Tuning Window"), QStringLiteral("Tuning Window True"));
}

void SetTuningSquelchLine(double level)
{
    TuningWindow* t = TuningWindow::existing();
    if (!t)
        return;
    if (PSKModeActive)
        t->doSquelchSetting(static_cast<std::int16_t>(disp::RoundClamp(level, -32768, 32767)));
    else
        t->placeSquelchLine(level);
}
