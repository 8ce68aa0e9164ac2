// Whatever the settings file holds, the start-up load ends normally: every key the loader reads
// is filled with garbage of every kind, one kind per run, and then with a mix.
#include "support/main_window_fixture.h"

#include "main_window/settings_loader/settings_hooks.h"
#include "main_window/settings_loader/settings_loader.h"
#include "settings/inistuff.h"

#include <QFile>
#include <QRandomGenerator>

namespace {

// Every key the start-up loader reads, by section.
const struct { const char* section; QStringList keys; } kCatalogue[] = {
    {"Main Tuning Window", {"Squelch Setting", "Squelch Speed", "Tuning Window"}},
    {"Aux 1", {"Squelch Setting"}},
    {"Aux 2", {"Squelch Setting"}},
    {"Settings",
     {"TX Echo", "Transmit Buffer Indicator", "Rx Window Mouseover", "Show Control Codes", "QSOOffsetCounter",
      "Display Height", "Clock Error PPM", "Scale Width", "Long Squelch", "EnergySaver", "Standalone Program",
      "Overload Warning", "Display Smoothing", "Display Width", "CW ID Speed", "Default CW ID",
      "Preset Radio Frequency 1", "Preset Radio Mode 1", "Preset Radio Frequency 4", "Preset Radio Mode 4",
      "Preset Audio Defaults", "Preset Tx Audio Frequency", "Preset Rx Audio Frequency",
      "Preset Audio Frequency : Aux 1", "Preset Audio Frequency : Aux 2", "Last Used Tx Audio", "Last Used Rx Audio",
      "Last Used Aux 1 Audio", "Last Used Aux 2 Audio", "LineWrap", "Slashed Zero", "Waterfall Sensitivity",
      "Spectrum Sensitivity", "Small Spectrum Sensitivity", "Typing Preference", "Aux 1 Open", "Aux 2 Open"}},
    {"Sondrel Form", {"Top", "Left", "Width", "Height", "Splitter Pos"}},
    {"TxWindow",
     {"Font", "TxWindow Buffer Color", "Font Size", "Font Bold", "Font Italic", "Text Color", "Background Color"}},
    {"RxWindow",
     {"Font", "Font Size", "Mouseover Color", "Font Bold", "Font Italic", "Text Color", "Text Color TX",
      "Text Color CC", "Background Color", "Paused Background Color"}},
    {"PTT", {"PTT Port Num", "PTT Keying Line", "PTT Mode"}},
    {"Form View", {"On Top", "Display", "StatusBar", "Auto CD Lookup", "Frequency Dial", "Macro Buttons"}},
    {"Mode", {"Mode"}},
    {"Display", {"Display"}},
    {"CD Lookup", {"CD Type", "CD Drive Letter"}},
    {"Previous QSOs", {"Page Loaded", "Column Width 0", "Column Width 9"}},
    {"Mini-Log", {"Page Loaded", "Visible", "Background Color", "Font Color", "Font Bold", "Column Width 5"}},
    {"Waterfall Color", {"Color 1:1", "Color 7:2", "Color 12:3"}},
    {"Markers",
     {"Marker Width", "Marker 1 Freq", "Marker 4 Freq", "Marker 2 Color", "Marker 3 Enabled"}},
    {"Radio Control",
     {"Parity", "Flow Control", "Data Bits", "Stop Bits", "Port Number", "Radio Type", "Baud Rate", "Icom Address",
      "Poll Interval", "Radio Data File Name"}},
    {"RTTY",
     {"Show Commands", "Watchdog", "Watchdog Time", "Default Profile", "XY Scope Color", "Word boundary",
      "Display Smoothing", "Toolbar"}},
};

const QStringList kGarbage{
    "",           "garbage",        "-1",          "0",          "40000",       "-99999999999", "1e999",
    "-1e999",     "&HFFFFFFFFFFFF", "&O7777777777777", "3.4e39",  "NaN",         "True",         "false",
    "1 2 3",      ".",              "-",           "\t",         "On Top True", "RTTY",         "65535.5",
    QString(60, 'x'), QString::fromUtf8("\xc3\xa9\xc3\xa8"),     "=[]",
};

class SettingsGarbage : public MainWindowFixture {
protected:
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        ResetSettingsHooks();
    }
    void loadWith(const std::function<QString()>& value)
    {
        // written in one go: a write per key would take a disk flush per key
        QByteArray text;
        for (const auto& s : kCatalogue) {
            text += QByteArray("[") + s.section + "]\r\n";
            for (const QString& key : s.keys)
                text += key.toLatin1() + '=' + value().toUtf8() + "\r\n";
        }
        QFile file(home->file("Sondrel.INI"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        ModeName.clear();
        main();
        LoadSettings();
    }
};

TEST_F(SettingsGarbage, EveryKindOfGarbageInEveryKeyLoadsToTheEnd)
{
    for (const QString& g : kGarbage) {
        SCOPED_TRACE(g.toStdString());
        TearDown();
        SetUp();
        PSKModeActive = false;
        loadWith([&] { return g; });
    }
}

TEST_F(SettingsGarbage, MixedGarbageLoadsToTheEnd)
{
    QRandomGenerator random(1234);
    for (int round = 0; round < 10; ++round) {
        TearDown();
        SetUp();
        PSKModeActive = round % 2 == 0;
        loadWith([&] { return kGarbage[random.bounded(static_cast<int>(kGarbage.size()))]; });
    }
}

} // namespace
