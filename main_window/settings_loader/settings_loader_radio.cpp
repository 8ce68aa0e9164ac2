// Loader groups for the waterfall palette, the auxiliary channels, the frequency markers, the
// radio control settings and the RTTY engine's options.
#include "main_window/settings_loader/settings_loader.h"

#include "displays/drawing/palette.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/ini_values.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"

namespace loader {

namespace {

constexpr std::int16_t kLastProfile = 10;

QString read(const char* section, const char* key, const char* def)
{
    return Read(section, QString::fromLatin1(key), QString::fromLatin1(def));
}

MenuItem& item(const QString& name)
{
    return MainWindow().mnu(name);
}

// "Aux n Open": the channel reopens when the PSK engine runs (at once when it runs already).
bool reopen(const char* key, const char* menu)
{
    if (read("Settings", key, "False") != QLatin1String("True"))
        return false;
    if (PSKModeActive)
        item(QString::fromLatin1(menu)).click();
    return true;
}

} // namespace

void Palette()
{
    for (int c = 0; c < 3; ++c)
        WaterfallPalette[c][0] = QStringLiteral("0");
    for (int n = 1; n <= 12; ++n)
        for (int c = 1; c <= 3; ++c) {
            QString value = ReadINILong(QStringLiteral("Waterfall Color"), WaterfallColorKey(n, c),
                                        DefaultWaterfallPalette[c - 1][n]);
            WaterfallPalette[c - 1][n] = StripNull2(value).trimmed();
        }
}

void Channels()
{
    Aux1Reopen = reopen("Aux 1 Open", "mnuAux1");
    Aux2Reopen = reopen("Aux 2 Open", "mnuAux2");

    const char* m = "Markers";
    MarkerWidth = inival::Int32(read(m, "Marker Width", "3"));
    static const char* const kFreqs[] = {"1050", "1100", "1150", "1200"};
    for (int n = 1; n <= 4; ++n) {
        MarkerFreq[n] = inival::Int16(Read(m, QStringLiteral("Marker %1 Freq").arg(n), QString::fromLatin1(kFreqs[n - 1])));
        item(QStringLiteral("mnuMarker%1").arg(n)).setCaption(QString::number(MarkerFreq[n]) + QStringLiteral(" Hz"));
    }
    static const char* const kColours[] = {"8454016", "8454143", "255", "16711680"};
    for (int n = 1; n <= 4; ++n)
        MarkerColor[n] =
            vb::Text(inival::Double(Read(m, QStringLiteral("Marker %1 Color").arg(n), QString::fromLatin1(kColours[n - 1]))));
    for (int n = 1; n <= 4; ++n)
        if (Read(m, QStringLiteral("Marker %1 Enabled").arg(n), QStringLiteral("False")) == QLatin1String("True"))
            item(QStringLiteral("mnuMarker%1").arg(n)).setChecked(true);
}

void RadioAndRtty()
{
    const char* r = "Radio Control";
    RadioParity = read(r, "Parity", "N");
    RadioFlowControl = read(r, "Flow Control", "0");
    RadioDataBits = read(r, "Data Bits", "8");
    RadioStopBits = read(r, "Stop Bits", "1");
    RadioPortNumber = read(r, "Port Number", "0");
    RadioModel = read(r, "Radio Type", "No Radio");
    RadioBaudRate = read(r, "Baud Rate", "9600");
    IcomAddress = read(r, "Icom Address", "00");
    const QString poll = read(r, "Poll Interval", "500");
    RadioPollInterval = inival::Int16(poll);
    if (RadioPollInterval < 0) {
        // The radio control component refuses it with a box that names no key; say which one,
        // where, and what it should be.
        dlg::MsgBox(QStringLiteral("Error reading 'Radio Control' part of the .INI file.  Poll Interval=") + poll
                        + QStringLiteral(" does not appear to be a valid entry\r\n\r\nSettings file: ") + INIPath
                        + QStringLiteral("\r\nThe poll interval is a number of milliseconds (0 stops polling). "
                                         "Sondrel polls every 500 ms until you set another interval in the "
                                         "radio control settings."),
                    dlg::OKOnly, QStringLiteral(".INI Error"));
        RadioPollInterval = 500;
    }
    RigCall(QStringLiteral("setPollInterval"), QVariant(static_cast<int>(RadioPollInterval)));
    RadioDataFileName = read(r, "Radio Data File Name", "No Data File entered");
    RigCall(QStringLiteral("PutRadioFileName"), QVariant(RadioDataFileName));

    const char* t = "RTTY";
    ShowCommands = read(t, "Show Commands", "On") == QLatin1String("On");
    item(QStringLiteral("mnuRTTYCommands")).setChecked(ShowCommands);
    item(QStringLiteral("mnuRTTYWatchdog")).setChecked(read(t, "Watchdog", "On") == QLatin1String("On"));
    WatchdogTime = inival::Int16(read(t, "Watchdog Time", "60"));
    // Only the eleven profiles exist; any other number starts the first.
    DefaultProfile = inival::Int16(read(t, "Default Profile", "0"));
    if (DefaultProfile < 0 || DefaultProfile > kLastProfile)
        DefaultProfile = 0;
    XYScopeColor = inival::Int32(read(t, "XY Scope Color", "16777215"));
    WordBoundary = read(t, "Word boundary", "Off") == QLatin1String("On");
    const QString smoothing = read(t, "Display Smoothing", "No Smoothing");
    if (smoothing == QLatin1String("No Smoothing"))
        item(QStringLiteral("mnuRTTYNoSmoothing")).click();
    else if (smoothing == QLatin1String("Medium Smoothing"))
        item(QStringLiteral("mnuRTTYLittleSmoothing")).click();
    else if (smoothing == QLatin1String("Heavy Smoothing"))
        item(QStringLiteral("mnuRTTYHeavySmoothing")).click();
    ToolbarOn = read(t, "Toolbar", "On") == QLatin1String("On");
}

} // namespace loader
