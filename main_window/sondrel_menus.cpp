// The main window's menu tree. Every item is a MenuItem whose check mark the program owns;
// the handlers are attached by the parts of the program that own them.
#include "main_window/sondrel.h"

#include "platform/widgets/menuitem.h"

#include <QMenu>
#include <QMenuBar>

namespace {

struct Entry {
    const char* parent; // menu name, or "" for the menu bar
    const char* name;
    const char* caption;
    bool submenu;
};

// Top to bottom, as the operator sees them. "-" is a separator.
const Entry kMenus[] = {
    {"", "mnuFile", "File", true},
    {"mnuFile", "mnuinput", "Send a text file", false},
    {"mnuFile", "mnuOutput", "Open receive text file", false},
    {"mnuFile", "mnuOutputClose", "Close receive text file", false},
    {"mnuFile", "-", "", false},
    {"mnuFile", "mnuExit", "Exit", false},

    {"", "mnuPresetRadioSettings", "Settings", true},
    {"mnuPresetRadioSettings", "mnuSquelch", "Squelch response", true},
    {"mnuSquelch", "mnuSquelchSlow", "Squelch slow", false},
    {"mnuSquelch", "mnuSquelchFast", "Squelch Fast", false},
    {"mnuPresetRadioSettings", "mnuDisplaySmoothing", "Display smoothing", true},
    {"mnuDisplaySmoothing", "mnuFastDisplay", "PSK - Fast display (no smoothing)", false},
    {"mnuDisplaySmoothing", "mnuMediumDisplay", "PSK - Medium display (little smoothing)", false},
    {"mnuDisplaySmoothing", "mnuSlowDisplay", "PSK - Slow display (heavy smoothing)", false},
    {"mnuDisplaySmoothing", "-", "", false},
    {"mnuDisplaySmoothing", "mnuRTTYNoSmoothing", "RTTY - Fast display (no smoothing)", false},
    {"mnuDisplaySmoothing", "mnuRTTYLittleSmoothing", "RTTY - Medium display (little smoothing)", false},
    {"mnuDisplaySmoothing", "mnuRTTYHeavySmoothing", "RTTY - Slow display (heavy smoothing)", false},
    {"mnuPresetRadioSettings", "mnuDisplayPen", "Spectrum pen width", true},
    {"mnuDisplayPen", "mnuDisplayPen1", "Spectrum pen width = 1", false},
    {"mnuDisplayPen", "mnuDisplayPen2", "Spectrum pen width = 2", false},
    {"mnuPresetRadioSettings", "mnuCWSpeed", "CW ID speed", true},
    {"mnuCWSpeed", "mnu37WPM", "37 WPM", false},
    {"mnuCWSpeed", "mnu19WPM", "19 WPM", false},
    {"mnuCWSpeed", "mnu12WPM", "12 WPM", false},
    {"mnuCWSpeed", "mnu9WPM", "9 WPM", false},
    {"mnuPresetRadioSettings", "mnuTyping", "Typing preference", true},
    {"mnuTyping", "mnuAsTyped", "PSK - Send as typed", false},
    {"mnuTyping", "mnuAllCaps", "PSK - Send all CAPS", false},
    {"mnuTyping", "mnulowercase", "PSK - Send all lower case", false},
    {"mnuTyping", "-", "", false},
    {"mnuTyping", "mnuRTTYWord", "RTTY - Send word out", false},
    {"mnuPresetRadioSettings", "mnuCDType", "Callbook CD type", true},
    {"mnuCDType", "mnuCDNone", "None", false},
    {"mnuCDType", "mnuQRZ", "QRZ", false},
    {"mnuCDType", "mnuRAC", "RAC", false},
    {"mnuCDType", "mnuHamCall", "Hamcall", false},
    {"mnuPresetRadioSettings", "-", "", false},
    {"mnuPresetRadioSettings", "mnuLinewrap", "Line wrap on", false},
    {"mnuPresetRadioSettings", "mnuZero", "Send 0 for zero", false},
    {"mnuPresetRadioSettings", "mnuLongSquelch", "Long Tx  tail", false},
    {"mnuPresetRadioSettings", "mnuOverload", "Overload warning", false},
    {"mnuPresetRadioSettings", "mnuRTTYWatchdog", "RTTY watchdog timer", false},
    {"mnuPresetRadioSettings", "mnuTransmitBuffer", "Transmit buffer indicator", false},
    {"mnuPresetRadioSettings", "mnuRxwindowMouseover", "Receive window mouseover", false},
    {"mnuPresetRadioSettings", "mnuStandalone", "Run as standalone program", false},
    {"mnuPresetRadioSettings", "-", "", false},
    {"mnuPresetRadioSettings", "mnuCWID", "Default Callsign", false},
    {"mnuPresetRadioSettings", "mnuPTTOptions", "Radio PTT options", false},
    {"mnuPresetRadioSettings", "mnuRadioControl", "Radio control options", false},
    {"mnuPresetRadioSettings", "mnuDisplayWidth", "Spectrum display width", false},
    {"mnuPresetRadioSettings", "mnuWaterfallSensitivity", "Waterfall sensitivity", false},
    {"mnuPresetRadioSettings", "mnuSpectrumSensitivity", "Spectrum sensitivity", false},
    {"mnuPresetRadioSettings", "mnusettings", "Preset Radio frequencies", false},
    {"mnuPresetRadioSettings", "mnuPresetAudio", "Preset Audio frequencies", false},
    {"mnuPresetRadioSettings", "mnuMark", "Audio frequency markers", false},
    {"mnuPresetRadioSettings", "mnuWatchdogDelay", "RTTY Watchdog timer delay", false},

    {"", "mnuToolBox", "ToolBox", true},
    {"mnuToolBox", "mnuRxWndFont", "Rx window font", false},
    {"mnuToolBox", "mnuRxWinTxtext", "Rx window Tx text color", false},
    {"mnuToolBox", "mnuShowControlCodes", "Rx window control codes color", false},
    {"mnuToolBox", "mnuRxWndBack", "Rx window normal background", false},
    {"mnuToolBox", "mnuRxwinPausedBack", "Rx window paused background", false},
    {"mnuToolBox", "mnuMouseOver", "Rx window mouseover highlight", false},
    {"mnuToolBox", "-", "", false},
    {"mnuToolBox", "mnuTxWndFont", "Tx window font", false},
    {"mnuToolBox", "mnuTxWndBack", "Tx window background", false},
    {"mnuToolBox", "mnuBufferColor", "Tx window buffer indicator color", false},
    {"mnuToolBox", "-", "", false},
    {"mnuToolBox", "mnuLogFontBold", "MiniLog font bold", false},
    {"mnuToolBox", "mnuLogFontColor", "MiniLog font color", false},
    {"mnuToolBox", "mnuLogBackGround", "MiniLog background", false},
    {"mnuToolBox", "-", "", false},
    {"mnuToolBox", "mnuWaterfallColors", "Waterfall colors", false},
    {"mnuToolBox", "mnuSensitivity", "Waterfall sensitivity", false},
    {"mnuToolBox", "mnuSCinput", "Sound card input level", false},
    {"mnuToolBox", "mnuSCoutput", "Sound card output level", false},
    {"mnuToolBox", "mnuShowRadioDebug", "Radio debug window", false},
    {"mnuToolBox", "mnuPortState", "Change radio port state", false},
    {"mnuToolBox", "mnuRTTYScopeColor", "RTTY XY Scope color", false},
    {"mnuToolBox", "mnuEnergySaver", "CPU Power saver mode", false},
    {"mnuToolBox", "mnuAtomTime", "System time adjustment", false},

    {"", "mnuView", "View", true},
    {"mnuView", "mnuOnTop", "Always on top", false},
    {"mnuView", "mnuTuningWindow", "Show Tuning Window", false},
    {"mnuView", "mnuDisplay", "Show Tuning display", false},
    {"mnuView", "mnustatusbar", "Show Statusbar", false},
    {"mnuView", "mnuRTTYToolbar", "Show RTTY toolbar", false},
    {"mnuView", "mnuAutoCDLookup", "Auto CD lookup", false},
    {"mnuView", "mnuMiniLog", "Show mini-log", false},
    {"mnuView", "mnudoMarkers", "Frequency markers", true},
    {"mnudoMarkers", "mnuMarker1", "Marker 1", false},
    {"mnudoMarkers", "mnuMarker2", "Marker 2", false},
    {"mnudoMarkers", "mnuMarker3", "Marker 3", false},
    {"mnudoMarkers", "mnuMarker4", "Marker 4", false},

    {"", "mnuDefaultfrequencies", "Frequency display", true},
    {"mnuDefaultfrequencies", "mnuRadioAuto", "Display frequency from radio", false},
    {"mnuDefaultfrequencies", "mnuAudioFreq", "Display audio frequency", false},
    {"mnuDefaultfrequencies", "mnuSimulatedRadio1", "Simulated radio frequency 1", false},
    {"mnuDefaultfrequencies", "mnuSimulatedRadio2", "Simulated radio frequency 2", false},
    {"mnuDefaultfrequencies", "mnuSimulatedRadio3", "Simulated radio frequency 3", false},
    {"mnuDefaultfrequencies", "mnuSimulatedRadio4", "Simulated radio frequency 4", false},

    {"", "mnuMacros", "Macro buttons", true},
    {"mnuMacros", "mnuNoMacros", "0 Macro buttons", false},
    {"mnuMacros", "mnu12Macros", "12 Macro buttons", false},
    {"mnuMacros", "mnu24Macros", "24 Macro buttons", false},
    {"mnuMacros", "mnu36Macros", "36 Macro buttons", false},

    {"", "mnuOptions", "Rx window options", true},
    {"mnuOptions", "mnuControlCodes", "Show control codes", false},
    {"mnuOptions", "mnuRTTYCommands", "Show RTTY commands", false},
    {"mnuOptions", "mnuTxEcho", "Echo transmitted text", false},

    {"", "mnuMode", "Mode", true},
    {"mnuMode", "mnuBPSK", "BPSK", false},
    {"mnuMode", "mnuQPSK", "QPSK", false},
    {"mnuMode", "mnuQPSKInv", "QPSK (inverted)", false},
    {"mnuMode", "-", "", false},
    // the eleven RTTY profile entries are inserted here
    {"mnuMode", "-rtty", "", false},
    {"mnuMode", "mnuSetupRTTYProfiles", "Setup RTTY Profiles", true},
    {"mnuMode", "-", "", false},
    {"mnuMode", "mnuCW", "CW", false},
    {"mnuMode", "-", "", false},
    {"mnuMode", "mnuTune", "Tune", false},

    {"", "mnuScope", "Display", true},
    {"mnuScope", "mnuSpectrum", "Spectrum", false},
    {"mnuScope", "mnuWaterfall", "Waterfall", false},
    {"mnuScope", "-", "", false},
    {"mnuScope", "mnuAux1", "Aux 1", false},
    {"mnuScope", "mnuAux2", "Aux 2", false},

    {"", "mnuClear", "Clear", true},
    {"mnuClear", "mnuClearRx", "Clear Rx", false},
    {"mnuClear", "mnuClearTx", "Clear Tx", false},
    {"mnuClear", "mnuClearBoth", "Clear both", false},

    {"", "mnuHelpHeader", "Help", true},
    {"mnuHelpHeader", "mnuHelp", "Help", false},
    {"mnuHelpHeader", "mnuAbout", "About ...", false},

    {"", "mnuNothing80", "                                 ", false},
    {"", "mnuSerialNum", "QSO # ", true},
    {"mnuSerialNum", "mnuResetCounter", "Reset QSO # to count Logbook QSOs ", false},
    {"mnuSerialNum", "mnuSetCounter", "Set QSO # to 1 for start of a contest", false},
};

} // namespace

void Sondrel::buildMenus()
{
    QHash<QString, QMenu*> menus;
    QMenuBar* bar = menuBar();
    auto add = [this](const QString& name, QAction* action) {
        action->setObjectName(name);
        menus_.insert(name, new MenuItem(action));
    };
    for (const Entry& e : kMenus) {
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QString::fromLatin1(e.caption);
        QMenu* parent = *e.parent ? menus.value(QString::fromLatin1(e.parent)) : nullptr;
        if (name == QLatin1String("-rtty")) {
            for (int i = 0; i <= 10; ++i) {
                QAction* a = parent->addAction(QString());
                a->setVisible(false);
                add(QStringLiteral("mnuRTTY(%1)").arg(i), a);
            }
            parent->addSeparator();
            continue;
        }
        if (name.startsWith(u'-')) {
            parent->addSeparator();
            continue;
        }
        if (e.submenu) {
            QMenu* m = parent ? parent->addMenu(caption) : bar->addMenu(caption);
            m->setObjectName(name);
            menus.insert(name, m);
            add(name, m->menuAction());
        } else {
            QAction* a = parent ? parent->addAction(caption) : bar->addAction(caption);
            add(name, a);
        }
    }
    // The RTTY profile commands: assign and delete per slot, load and save.
    QMenu* setup = menus.value(QStringLiteral("mnuSetupRTTYProfiles"));
    QMenu* assign = setup->addMenu(QStringLiteral("Assign RTTY Menu item"));
    QMenu* remove = setup->addMenu(QStringLiteral("Delete RTTY Menu item"));
    for (int i = 0; i <= 10; ++i) {
        add(QStringLiteral("mnuAssignProfile(%1)").arg(i), assign->addAction(QStringLiteral("Profile %1").arg(i + 1)));
        add(QStringLiteral("mnuDeleteProfile(%1)").arg(i), remove->addAction(QStringLiteral("Profile %1").arg(i + 1)));
    }
    setup->addSeparator();
    add(QStringLiteral("mnuLoadProfile"), setup->addAction(QStringLiteral("Load RTTY profile from file")));
    add(QStringLiteral("mnuSaveProfile"), setup->addAction(QStringLiteral("Save RTTY profile to file")));
}
