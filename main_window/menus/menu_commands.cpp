// The switches and choices of the main window's menus.
#include "main_window/menus/menu_commands.h"

#include "core/modes/modeselection.h"
#include "core/receive/errors.h"
#include "displays/spectrum/display_hooks.h"
#include "main_window/menus/text_commands.h"
#include "platform/vb/resume_next.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QWidget>
#include <array>

namespace {

MenuItem& item(const char* name)
{
    return MainWindow().mnu(QString::fromLatin1(name));
}

// Checks one item of a choice and unchecks its sisters.
template <std::size_t N> void choose(const std::array<const char*, N>& items, std::size_t chosen)
{
    for (std::size_t i = 0; i < N; ++i)
        item(items[i]).setChecked(i == chosen);
}

// Inverts a switch and stores its new state with the switch's words; the new state.
bool toggle(const char* name, const QString& section, const QString& key, const char* offWord, const char* onWord)
{
    MenuItem& m = item(name);
    m.setChecked(!m.checked());
    WriteINI(section, key, QString::fromLatin1(m.checked() ? onWord : offWord));
    return m.checked();
}

const QString kSettings = QStringLiteral("Settings");

void setSquelchSpeed(std::int16_t speed)
{
    SquelchSpeed = speed;
    choose(std::array{"mnuSquelchFast", "mnuSquelchSlow"}, static_cast<std::size_t>(speed));
    WriteINI(QStringLiteral("Main Tuning Window"), QStringLiteral("Squelch Speed"),
             speed == 0 ? QStringLiteral("Fast") : QStringLiteral("Slow"));
    // A squelch level beyond any threshold leaves the engine's squelch as it was.
    ResumeNext([] {
        APIResult = Psk().fnSetSquelchThreshold(vb::CLng(100 - PSKSquelchLevel * 1.5625), SquelchSpeed, 0);
    });
}

void setSmoothing(std::size_t index)
{
    static constexpr std::array<std::int32_t, 3> kAveraging{1, 3, 6};
    static const std::array<const char*, 3> kWords{"No Smoothing", "Medium Smoothing", "Heavy Smoothing"};
    FFTModeParam1 = kAveraging[index];
    choose(std::array{"mnuFastDisplay", "mnuMediumDisplay", "mnuSlowDisplay"}, index);
    WriteINI(kSettings, QStringLiteral("Display Smoothing"), QString::fromLatin1(kWords[index]));
    APIResult = Psk().fnSetFFTMode(FFTModeParam1, SpectrumScale, FFTModeParam3);
}

} // namespace

void mnuSquelchFast_Click() { setSquelchSpeed(0); }
void mnuSquelchSlow_Click() { setSquelchSpeed(1); }
void mnuFastDisplay_Click() { setSmoothing(0); }
void mnuMediumDisplay_Click() { setSmoothing(1); }
void mnuSlowDisplay_Click() { setSmoothing(2); }

void mnuCWSpeed_Click(int speed)
{
    static const std::array<const char*, 4> kWords{"37 WPM", "19 WPM", "12 WPM", "9 WPM"};
    if (speed < 1 || speed > 4)
        return;
    CWIDSpeed = static_cast<std::int16_t>(speed);
    choose(std::array{"mnu37WPM", "mnu19WPM", "mnu12WPM", "mnu9WPM"}, static_cast<std::size_t>(speed - 1));
    WriteINI(kSettings, QStringLiteral("CW ID Speed"), QString::fromLatin1(kWords[speed - 1]));
}

void mnuTypingCase_Click(int caseMode)
{
    static const std::array<const char*, 3> kWords{"As Typed", "ALL CAPS", "all lowercase"};
    if (caseMode < 1 || caseMode > 3)
        return;
    TxCaseMode = static_cast<std::int16_t>(caseMode);
    choose(std::array{"mnuAsTyped", "mnuAllCaps", "mnulowercase"}, static_cast<std::size_t>(caseMode - 1));
    WriteINI(kSettings, QStringLiteral("Typing Preference"), QString::fromLatin1(kWords[caseMode - 1]));
}

void mnuCDType_Click(int type)
{
    static const std::array<const char*, 4> kWords{"None", "QRZ", "RAC", "Hamcall"};
    if (type < 0 || type > 3)
        return;
    WriteINI(QStringLiteral("CD Lookup"), QStringLiteral("CD Type"), QString::fromLatin1(kWords[type]));
    choose(std::array{"mnuCDNone", "mnuQRZ", "mnuRAC", "mnuHamCall"}, static_cast<std::size_t>(type));
    MenuItem& autoLookup = item("mnuAutoCDLookup");
    if (type == 0) {
        autoLookup.setChecked(false);
        autoLookup.setEnabled(false);
    } else if (item("mnuMiniLog").checked()) {
        autoLookup.setEnabled(true);
    }
}

void mnuLinewrap_Click()
{
    toggle("mnuLinewrap", kSettings, QStringLiteral("LineWrap"), "LineWrap False", "LineWrap True");
}

void mnuZero_Click()
{
    toggle("mnuZero", kSettings, QStringLiteral("Slashed Zero"), "Slashed Zero False", "Slashed Zero True");
}

void mnuLongSquelch_Click()
{
    LongSquelch = toggle("mnuLongSquelch", kSettings, QStringLiteral("Long Squelch"), "Long Squelch False",
                         "Long Squelch True");
}

void mnuOverload_Click()
{
    toggle("mnuOverload", kSettings, QStringLiteral("Overload Warning"), "False", "True");
}

void mnuTransmitBuffer_Click()
{
    toggle("mnuTransmitBuffer", kSettings, QStringLiteral("Transmit Buffer Indicator"), "False", "True");
}

void mnuRxwindowMouseover_Click()
{
    toggle("mnuRxwindowMouseover", kSettings, QStringLiteral("Rx Window Mouseover"), "False", "True");
}

void mnuEnergySaver_Click()
{
    EnergySaverOn = toggle("mnuEnergySaver", kSettings, QStringLiteral("EnergySaver"), "Off", "On");
    SetLights();
}

void mnuControlCodes_Click()
{
    toggle("mnuControlCodes", kSettings, QStringLiteral("Show Control Codes"), "False", "True");
}

void mnuTxEcho_Click()
{
    toggle("mnuTxEcho", kSettings, QStringLiteral("TX Echo"), "False", "True");
}

void mnuAutoCDLookup_Click()
{
    toggle("mnuAutoCDLookup", QStringLiteral("Form View"), QStringLiteral("Auto CD Lookup"), "False", "True");
}

void mnustatusbar_Click()
{
    MainWindowControls& w = MainWindow();
    MenuItem& m = item("mnustatusbar");
    m.setChecked(!m.checked());
    if (w.DummyStatusBar) {
        w.DummyStatusBar->setFixedHeight(twips::toPixels(m.checked() ? 300 : 1));
        w.DummyStatusBar->setVisible(m.checked());
    }
    WriteINI(QStringLiteral("Form View"), QStringLiteral("StatusBar"),
             m.checked() ? QStringLiteral("StatusBar True") : QStringLiteral("StatusBar False"));
    VerticalAdjustLayout();
}

void ConnectMenuCommands(MainWindowControls& w)
{
    auto handle = [&w](const char* name, std::function<void()> fn) {
        w.mnu(QString::fromLatin1(name)).setHandler(std::move(fn));
    };
    handle("mnuSquelchFast", mnuSquelchFast_Click);
    handle("mnuSquelchSlow", mnuSquelchSlow_Click);
    handle("mnuFastDisplay", mnuFastDisplay_Click);
    handle("mnuMediumDisplay", mnuMediumDisplay_Click);
    handle("mnuSlowDisplay", mnuSlowDisplay_Click);
    int n = 1;
    for (const char* name : {"mnu37WPM", "mnu19WPM", "mnu12WPM", "mnu9WPM"})
        handle(name, [k = n++] { mnuCWSpeed_Click(k); });
    n = 1;
    for (const char* name : {"mnuAsTyped", "mnuAllCaps", "mnulowercase"})
        handle(name, [k = n++] { mnuTypingCase_Click(k); });
    n = 0;
    for (const char* name : {"mnuCDNone", "mnuQRZ", "mnuRAC", "mnuHamCall"})
        handle(name, [k = n++] { mnuCDType_Click(k); });
    handle("mnuLinewrap", mnuLinewrap_Click);
    handle("mnuZero", mnuZero_Click);
    handle("mnuLongSquelch", mnuLongSquelch_Click);
    handle("mnuOverload", mnuOverload_Click);
    handle("mnuTransmitBuffer", mnuTransmitBuffer_Click);
    handle("mnuRxwindowMouseover", mnuRxwindowMouseover_Click);
    handle("mnuEnergySaver", mnuEnergySaver_Click);
    handle("mnuControlCodes", mnuControlCodes_Click);
    handle("mnuTxEcho", mnuTxEcho_Click);
    handle("mnuAutoCDLookup", mnuAutoCDLookup_Click);
    handle("mnustatusbar", mnustatusbar_Click);
    handle("mnuMiniLog", mnuMiniLog_Click);
    handle("mnuCWID", mnuCWID_Click);
    handle("mnuResetCounter", mnuResetCounter_Click);
    handle("mnuSetCounter", mnuSetCounter_Click);
    handle("mnuClearRx", mnuClearRx_Click);
    handle("mnuClearTx", mnuClearTx_Click);
    handle("mnuClearBoth", mnuClearBoth_Click);
    // No help viewer and no volume control program on this system: the items stay, inactive.
    for (const char* name : {"mnuHelp", "mnuSCinput", "mnuSCoutput"})
        w.mnu(QString::fromLatin1(name)).setEnabled(false);
    DisplayHooks().SetNotchAt = SetNotchAt;
    ConnectTextCommands(w);
}
