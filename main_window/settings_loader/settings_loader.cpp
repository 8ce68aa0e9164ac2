// The start-up loader: every key in its fixed order, each applied at once. Menu switches are
// restored through their own handlers, which store their keys again, so the first start fills
// the file with every such key at its default.
#include "main_window/settings_loader/settings_loader.h"

#include "core/receive/errors.h"
#include "displays/spectrum/scale.h"
#include "logbook/logbook_services.h"
#include "logbook/store/logbook_page.h"
#include "platform/system/places.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/appliers.h"
#include "settings/ini_values.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QFile>
#include <QLabel>
#include <array>
#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <sys/stat.h>

namespace loader {

QString Read(const char* section, const QString& key, const QString& def)
{
    return ReadINI(QString::fromLatin1(section), key, def);
}

namespace {

QString read(const char* section, const char* key, const char* def)
{
    return Read(section, QString::fromLatin1(key), QString::fromLatin1(def));
}

MenuItem& item(const QString& name)
{
    return MainWindow().mnu(name);
}

// A menu switch whose mark alone holds the state.
void checkWhen(const char* menu, const QString& value, const char* onWord)
{
    item(QString::fromLatin1(menu)).setChecked(value == QLatin1String(onWord));
}

// One grid's column widths, "Column Width 0" to "Column Width 9", and which of them were stored.
void columnWidths(const char* section, std::array<QString, 10>& widths, std::array<bool, 10>& stored)
{
    const std::array<QString, 10> defaults = DefaultColumnWidthTexts();
    for (size_t i = 0; i < widths.size(); ++i) {
        const QString key = QStringLiteral("Column Width %1").arg(i);
        widths[i] = Read(section, key, defaults[i]);
        stored[i] = INIHasKey(QString::fromLatin1(section), key);
    }
}

// An audio frequency in Hz as a scale position.
std::int16_t position(double hz)
{
    return vb::CInt(hz / HzPerTwip);
}

} // namespace

void SquelchAndColumns()
{
    PSKSquelchLevel = inival::Single(read("Main Tuning Window", "Squelch Setting", "52"));
    ApplySquelchSpeed(read("Main Tuning Window", "Squelch Speed", "Slow"));
    Aux1SquelchLevel = inival::Single(read("Aux 1", "Squelch Setting", "52"));
    Aux2SquelchLevel = inival::Single(read("Aux 2", "Squelch Setting", "52"));
    columnWidths("Mini-Log", MiniLogColumnWidths, MiniLogColumnWidthsStored);
    columnWidths("Previous QSOs", PreviousQSOsColumnWidths, PreviousQSOsColumnWidthsStored);
}

void ProgramSettings()
{
    const char* s = "Settings";
    checkWhen("mnuTxEcho", read(s, "TX Echo", "True"), "True");
    checkWhen("mnuTransmitBuffer", read(s, "Transmit Buffer Indicator", "True"), "True");
    checkWhen("mnuRxwindowMouseover", read(s, "Rx Window Mouseover", "True"), "True");
    checkWhen("mnuControlCodes", read(s, "Show Control Codes", "False"), "True");
    QSOOffsetCounter = inival::Int32(read(s, "QSOOffsetCounter", "0"));
    ShowQSOCounter();
    DisplayHeight = inival::Int16(read(s, "Display Height", "1100"));
    ClockErrorPPM = inival::Int32(read(s, "Clock Error PPM", "0"));
    ScaleWidth = inival::Double(read(s, "Scale Width", "10"));
    if (ScaleWidth < 5 || ScaleWidth > 15)
        ScaleWidth = 10;
    ComputeHzPerTwip();
    ApplySettingsPhrase(read(s, "Long Squelch", "Long Squelch True"));
    EnergySaverOn = read(s, "EnergySaver", "Off") == QLatin1String("On");
    item(QStringLiteral("mnuEnergySaver")).setChecked(EnergySaverOn);
    SetLights();
    RestoreSwitch("mnuStandalone", read(s, "Standalone Program", "True") == QLatin1String("True"));
    ApplyOverloadWarning(read(s, "Overload Warning", "True"));
    ApplySettingsPhrase(read(s, "Display Smoothing", "No Smoothing"));
    ApplySettingsPhrase(read(s, "Display Width", "Width 1"));
    ApplySettingsPhrase(read(s, "CW ID Speed", "37 WPM"));
    DefaultCallsign = read(s, "Default CW ID", "Varnel");

    static const std::array<const char*, 5> kFrequencies{"", "14070.00", "14070.00", "14071.00", "14071.00"};
    static const std::array<const char*, 5> kModes{"", "USB", "LSB", "USB", "LSB"};
    for (int n = 1; n <= 4; ++n) {
        PresetRadioFrequency[n] = Read(s, QStringLiteral("Preset Radio Frequency %1").arg(n), QString::fromLatin1(kFrequencies[n]));
        PresetRadioMode[n] = Read(s, QStringLiteral("Preset Radio Mode %1").arg(n), QString::fromLatin1(kModes[n]));
    }
    for (int n = 1; n <= 4; ++n)
        item(QStringLiteral("mnuSimulatedRadio%1").arg(n))
            .setCaption(QStringLiteral("Fixed Radio on ") + PresetRadioFrequency[n] + u' ' + PresetRadioMode[n]);

    PresetAudioDefaultsOn = read(s, "Preset Audio Defaults", "True");
    const bool presets = PresetAudioDefaultsOn == QLatin1String("True");
    const bool lastUsed = PresetAudioDefaultsOn == QLatin1String("False");
    PresetTxAudioFreq = read(s, "Preset Tx Audio Frequency", "1500.00");
    if (presets)
        APIResult = Psk().fnSetTXFrequency(inival::Int32(PresetTxAudioFreq));
    PresetRxAudioFreq = read(s, "Preset Rx Audio Frequency", "1500.00");
    if (presets)
        SetRxFrequencyFromPixel(position(inival::Double(PresetRxAudioFreq)), true);
    PresetAux1AudioFreq = read(s, "Preset Audio Frequency : Aux 1", "1400.00");
    if (presets)
        SetAux1RxFrequencyFromPixel(position(inival::Double(PresetAux1AudioFreq)), true);
    PresetAux2AudioFreq = read(s, "Preset Audio Frequency : Aux 2", "1600.00");
    if (presets)
        SetAux2RxFrequencyFromPixel(position(inival::Double(PresetAux2AudioFreq)), true);

    const double lastTx = inival::Double(read(s, "Last Used Tx Audio", "1500.00"));
    if (lastUsed)
        APIResult = Psk().fnSetTXFrequency(vb::CLng(lastTx));
    const double lastRx = inival::Double(read(s, "Last Used Rx Audio", "1500.00"));
    LastRxAudioFreq = vb::Text(lastRx);
    if (lastUsed)
        SetRxFrequencyFromPixel(position(lastRx), true);
    const double lastAux1 = inival::Double(read(s, "Last Used Aux 1 Audio", "1400.00"));
    if (lastUsed)
        SetAux1RxFrequencyFromPixel(position(lastAux1), true);
    const double lastAux2 = inival::Double(read(s, "Last Used Aux 2 Audio", "1600.00"));
    if (lastUsed)
        SetAux2RxFrequencyFromPixel(position(lastAux2), true);

    ApplySettingsPhrase(read(s, "LineWrap", "LineWrap True"));
    ApplySettingsPhrase(read(s, "Slashed Zero", "Slashed Zero True"));
    WaterfallSensitivity = inival::Double(read(s, "Waterfall Sensitivity", "0.5"));
    // Without a stored value the spectra keep the unity gain start-up gave them: a gain of one
    // tenth (the sliders' lowest) drew a station 20 dB over the noise a few pixels high.
    SpectrumSensitivity = inival::Int16(read(s, "Spectrum Sensitivity", "10"));
    SmallSpectrumSensitivity = inival::Int16(read(s, "Small Spectrum Sensitivity", "10"));
    ApplyTypingPreference(read(s, "Typing Preference", "As Typed"));
}

} // namespace loader

void LoadAllSettings()
{
    // A value that does not convert ends the load at its key; what follows keeps its state.
    try {
        loader::SquelchAndColumns();
        loader::ProgramSettings();
        loader::Windows();
        loader::Layout();
        loader::Palette();
        loader::Channels();
        loader::RadioAndRtty();
    } catch (const std::exception&) {
    }
}

void LoadSettings()
{
    INIPath = places::programFile(QStringLiteral("Sondrel.INI"));
    struct stat st;
    const QByteArray name = QFile::encodeName(INIPath);
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // Opening a FIFO would wait for ever; a folder or a device holds no settings.
        SettingsCannotBeSaved();
        dlg::MsgBox(QStringLiteral("The settings file ") + INIPath
                        + QStringLiteral(" is not a regular file, so Sondrel cannot read or save its settings."
                                         "\r\n\r\nRemove it (or put the settings file in its place) and start "
                                         "Sondrel again. Until then Sondrel runs with its default settings."),
                    dlg::Exclamation, QStringLiteral("Settings not loaded"));
        return;
    }
    std::FILE* f = std::fopen(name.constData(), "rb");
    if (f) {
        std::fclose(f);
        LoadAllSettings();
        return;
    }
    if (errno == ENOENT)
        CreateDefaultINI();
    // Any other error: the file is there but cannot be read; load nothing and write nothing.
}

void CreateDefaultINI()
{
    WriteINI(QStringLiteral("Settings"), QStringLiteral("AFC On/Off"), QStringLiteral("On"));
    LoadAllSettings();
}
