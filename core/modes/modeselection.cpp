#include "core/modes/modeselection.h"

#include "core/radio/ptt.h"
#include "core/receive/errors.h"
#include "core/receive/rx_links.h"
#include "displays/spectrum/readouts.h"
#include "displays/spectrum/scale.h"
#include "platform/processes/winmsg.h"
#include "platform/system/events.h"
#include "platform/vb/resume_next.h"
#include "platform/vb/text1252.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/appliers.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/mmtty_block.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QThread>
#include <QToolBar>
#include <cstring>

namespace {

constexpr int kLowestAudioHz = 300;
constexpr int kHighestAudioHz = 3500;
constexpr int kFallbackRxHz = 1500;
constexpr int kRttyQuitCommand = 2;

MenuItem* menu(const char* name)
{
    MainWindowControls* w = ExistingMainWindow();
    return w ? &w->mnu(QString::fromLatin1(name)) : nullptr;
}

bool checked(const char* name)
{
    MenuItem* m = menu(name);
    return m && m->checked();
}

void setEnabled(const char* name, bool on)
{
    if (MenuItem* m = menu(name))
        m->setEnabled(on);
}

void selectMode(std::int32_t mode, const char* item, const char* logText, const char* displayName)
{
    if (TxActive)
        return;
    PSKMode = mode;
    CheckModeMenu(QString::fromLatin1(item));
    SetPSKMode(QString::fromLatin1(logText), QString::fromLatin1(displayName));
}

// The title the RTTY engine's window carries, as the shared block holds it.
QString rttyEngineTitle()
{
    if (!MMTTYView)
        return QString();
    const auto* title = reinterpret_cast<const char*>(MMTTYView + mmtty::kTitle);
    const void* nul = std::memchr(title, 0, 64);
    const qsizetype n = nul ? static_cast<const char*>(nul) - title : 64;
    return vb::Trim(cp1252::decode(title, n));
}

// Tells the RTTY engine to quit and waits up to half a second for its window to go.
void closeRttyEngine()
{
    APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kRttyQuitCommand, 0);
    MMTTYRunning = false;
    const QString title = rttyEngineTitle();
    if (title.isEmpty())
        return;
    for (int waits = 0; waits < 5 && win::FindWindow(title) != 0; ++waits)
        QThread::msleep(100);
}

// A frequency text as a whole number of hertz within the passband, or 0.
int audioHz(const QString& text)
{
    try {
        const int hz = vb::CInt(vb::Val(text));
        return hz >= kLowestAudioHz && hz <= kHighestAudioHz ? hz : 0;
    } catch (const vb::OverflowError&) {
        return 0;
    }
}

// The engine is started and handed every receive setting (first start, or back from RTTY).
bool startEngine()
{
    ResumeNext([] { RxLinks().SetNotchVisible(false); });
    LoadAFCSettings();
    if (!StartPSKSoundCard())
        return false;
    PskApi& psk = Psk();
    APIResult = psk.fnSetFFTMode(FFTModeParam1, SpectrumScale, FFTModeParam3);
    APIResult = psk.fnSetAFCLimit(AFCLimit, 0);
    APIResult = psk.fnSetClockErrorAdjustment(ClockErrorPPM);
    APIResult = psk.fnSetRXFrequency(StartRxFrequency(), AFCRange, 0);
    ResumeNext([&] { APIResult = psk.fnSetRXFrequency(vb::CLng(Aux1CursorX * HzPerTwip), Aux1AFCRange, 1); });
    ResumeNext([&] { APIResult = psk.fnSetRXFrequency(vb::CLng(Aux2CursorX * HzPerTwip), Aux2AFCRange, 2); });
    ResumeNext([&] { APIResult = psk.fnSetSquelchThreshold(vb::CLng(100 - PSKSquelchLevel * 1.5625), SquelchSpeed, 0); });
    PSKDLLVersion = psk.fnGetDLLVersion();
    if (Aux1Reopen)
        if (MenuItem* m = menu("mnuAux1"))
            m->click();
    if (Aux2Reopen)
        if (MenuItem* m = menu("mnuAux2"))
            m->click();
    return true;
}

} // namespace

void mnuBPSK_Click() { selectMode(0, "mnuBPSK", "BPSK", "BPSK"); }
void mnuQPSK_Click() { selectMode(1, "mnuQPSK", "QPSK", "QPSK"); }
void mnuQPSKInv_Click() { selectMode(2, "mnuQPSKInv", "QPSK", "QPSK-I"); }
void mnuTune_Click() { selectMode(3, "mnuTune", "", "Tune"); }

void ModeBox_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    if (TxActive || !w)
        return;
    const QString caption = w->ModeLabel->text();
    if (caption == QLatin1String("BPSK"))
        mnuQPSK_Click();
    else if (caption == QLatin1String("QPSK"))
        mnuQPSKInv_Click();
    else if (caption == QLatin1String("QPSK-I"))
        RxLinks().mnuRTTY_Click(DefaultProfile);
    else if (caption == QLatin1String("RTTY"))
        mnuTune_Click();
    else if (caption == QLatin1String("Tune"))
        mnuBPSK_Click();
}

void CheckModeMenu(const QString& itemName)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    for (const char* name : {"mnuBPSK", "mnuQPSK", "mnuQPSKInv", "mnuCW", "mnuTune"})
        w->mnu(QString::fromLatin1(name)).setChecked(false);
    for (int i = 0; i <= 10; ++i)
        w->mnu(QStringLiteral("mnuRTTY"), i).setChecked(false);
    w->mnu(itemName).setChecked(true);
}

void SetPSKMode(const QString& logText, const QString& displayName)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    BusyPointer busy;
    if (!PSKModeActive) {
        closeRttyEngine();
        if (!startEngine())
            return;
    }
    // Common to every PSK mode.
    for (const char* name : {"mnuRTTYToolbar", "mnuRTTYCommands", "mnuSetupRTTYProfiles"})
        setEnabled(name, false);
    w->Toolbar->hide(); // a hidden toolbar takes no room at all
    VerticalAdjustLayout();
    PSKModeActive = true;
    doPTTSetup();
    RxLinks().LoadMacroSet(kPskMacroSection);
    ResumeNext([] { ClearIMD(0); });
    const QString shown = vb::Trim(displayName);
    w->ModeLabel->setText(shown);
    ModeText = LogMode = vb::Trim(logText);
    WriteINI(QStringLiteral("Mode"), QStringLiteral("Mode"), shown);
    APIResult = Psk().fnSetRXPSKMode(PSKMode, 0);
    setEnabled("mnuAux1", true);
    setEnabled("mnuAux2", true);
    ResumeNext(RedrawSpectrumScale);
    if (checked("mnuTuningWindow"))
        ResumeNext([] { RxLinks().SetTuningSquelchLine(vb::RoundHalfEven(PSKSquelchLevel)); });
}

bool StartPSKSoundCard()
{
    PSKModeActive = true;
    APIResult = Psk().fnStartSoundCard(MainWindowHandle, -1, 3);
    if (APIResult < 10)
        return true;
    ShowDLLError(APIResult); // with the sound layer's words: which devices there are, what to set
    RxLinks().EndProgram();
    return false;
}

int StartRxFrequency()
{
    const QString& chosen = PresetAudioDefaultsOn == QLatin1String("True") ? PresetRxAudioFreq : LastRxAudioFreq;
    if (const int hz = audioHz(chosen))
        return hz;
    if (const int hz = audioHz(PresetRxAudioFreq))
        return hz;
    return kFallbackRxHz;
}

void SetModeFromINI()
{
    // Until the start-up loader has set it, the saved mode is read here.
    if (ModeName.isEmpty())
        ModeName = ReadINI(QStringLiteral("Mode"), QStringLiteral("Mode"), QStringLiteral("BPSK"));
    const QString mode = ModeName;
    if (mode == QLatin1String("BPSK"))
        mnuBPSK_Click();
    else if (mode == QLatin1String("QPSK"))
        mnuQPSK_Click();
    else if (mode == QLatin1String("QPSK-I"))
        mnuQPSKInv_Click();
    else if (mode == QLatin1String("Tune"))
        mnuTune_Click();
    else if (mode == QLatin1String("RTTY"))
        RxLinks().mnuRTTY_Click(DefaultProfile);
    else
        ShowINIValueError(QStringLiteral("Mode"), mode);
}
