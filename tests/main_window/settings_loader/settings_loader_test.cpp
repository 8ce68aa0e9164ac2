// The start-up loader over the settings file: the first start, a full file, the stop at a
// number that does not fit, bad values and names in any letter case.
#include "support/main_window_fixture.h"

#include "displays/drawing/palette.h"
#include "logbook/windows/logbook_windows.h"
#include "main_window/settings_loader/settings_hooks.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "platform/vb/units.h"
#include "state/psk_api.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QRegularExpression>
#include <QSet>

namespace {

class SettingsLoad : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ModeName.clear();
        DefaultCallsign.clear();
        TxTextColor = 0;
        PSKModeActive = false;
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        ResetSettingsHooks();
        ResetLogbookWindows();
        ResetPsk();
    }
    void put(const char* section, const char* key, const QString& value)
    {
        ini::write(home->file("Sondrel.INI"), section, key, value);
    }
    bool checked(const char* item) { return main().mnu(item).checked(); }
    // Every section and key of the file, as "Section/Key".
    QSet<QString> storedKeys() const
    {
        QSet<QString> keys;
        QString section;
        for (const QString& line : iniText().split("\r\n", Qt::SkipEmptyParts)) {
            if (line.startsWith('['))
                section = line.mid(1, line.size() - 2);
            else
                keys << section + '/' + line.left(line.indexOf('='));
        }
        return keys;
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : boxes.messages())
            texts << m.title + ": " + m.text;
        return texts;
    }
};

TEST_F(SettingsLoad, FirstStartStoresExactlyTheKeysThatTheHandlersStore)
{
    ASSERT_TRUE(main().Form_Load());
    const QSet<QString> expected{
        "Settings/AFC On/Off",
        "Main Tuning Window/Squelch Speed",
        "Settings/Long Squelch",
        "Settings/Overload Warning",
        "Settings/Display Smoothing",
        "Settings/Display Width",
        "Settings/CW ID Speed",
        "Settings/LineWrap",
        "Settings/Slashed Zero",
        "Settings/Typing Preference",
        "Form View/On Top",
        "Form View/Display",
        "Form View/StatusBar",
        "Form View/Auto CD Lookup",
        "Form View/Frequency Dial",
        "Display/Display",
        "CD Lookup/CD Type",
        "Mini-Log/Visible",
        // handlers of the tuning window, the Logger link, the RTTY link and the macro rows
        "Main Tuning Window/Tuning Window",
        "Settings/Standalone Program",
        "RTTY/Display Smoothing",
        "Form View/Macro Buttons",
        // the QSO panel's bold switch
        "Mini-Log/Font Bold",
    };
    EXPECT_EQ(storedKeys(), expected);
    EXPECT_EQ(ini("Main Tuning Window", "Squelch Speed"), "Slow");
    EXPECT_EQ(ini("Settings", "Long Squelch"), "Long Squelch True");
    EXPECT_EQ(ini("Settings", "Slashed Zero"), "Slashed Zero True");
    EXPECT_EQ(ini("Form View", "On Top"), "On Top False");
    EXPECT_EQ(ini("Form View", "Auto CD Lookup"), "False");
    EXPECT_EQ(ini("Mini-Log", "Visible"), "False");
    EXPECT_TRUE(boxes.calls().isEmpty());

    // the defaults in force
    EXPECT_EQ(ModeName, "BPSK");
    EXPECT_EQ(DisplayMode, "Spectrum");
    EXPECT_EQ(DefaultCallsign, "Varnel");
    EXPECT_FLOAT_EQ(PSKSquelchLevel, 52);
    EXPECT_EQ(SquelchSpeed, 1);
    EXPECT_EQ(FFTModeParam1, 1);
    EXPECT_EQ(CWIDSpeed, 1);
    EXPECT_EQ(TxCaseMode, 1);
    EXPECT_TRUE(LongSquelch);
    EXPECT_EQ(DisplayHeight, 1100);
    EXPECT_DOUBLE_EQ(ScaleWidth, 10);
    // Both grids: the key column hidden, then date/time, call, band, mode, both reports, name,
    // QTH and notes, none of them stored (so each is widened to its text when shown).
    const std::array<QString, 10> widths{"0", "1400", "1000", "520", "520", "520", "520", "1000", "1800", "5000"};
    EXPECT_EQ(MiniLogColumnWidths, widths);
    EXPECT_EQ(PreviousQSOsColumnWidths, widths);
    EXPECT_EQ(MiniLogColumnWidthsStored, (std::array<bool, 10>{}));
    EXPECT_EQ(MarkerFreq[4], 1200);
    EXPECT_EQ(MarkerColor[1], "8454016");
    EXPECT_EQ(main().mnu("mnuMarker3").caption(), "1150 Hz");
    EXPECT_EQ(main().mnu("mnuSimulatedRadio2").caption(), "Fixed Radio on 14070.00 LSB");
    EXPECT_EQ(RadioModel, "No Radio");
    EXPECT_EQ(RadioPollInterval, 500);
    EXPECT_EQ(main().size(), QSize(twips::toPixels(7000), twips::toPixels(5000)));
    for (const char* on : {"mnuTxEcho", "mnuTransmitBuffer", "mnuRxwindowMouseover", "mnuStandalone", "mnuOverload",
                           "mnuFastDisplay", "mnuDisplayPen1", "mnu37WPM", "mnuLinewrap", "mnuZero", "mnuLongSquelch",
                           "mnuAsTyped", "mnuDisplay", "mnustatusbar", "mnuAudioFreq", "mnu36Macros", "mnuSpectrum",
                           "mnuCDNone", "mnuRTTYCommands", "mnuRTTYWatchdog"})
        EXPECT_TRUE(checked(on)) << on;
    for (const char* off : {"mnuControlCodes", "mnuEnergySaver", "mnuOnTop", "mnuTuningWindow", "mnuAutoCDLookup",
                            "mnuMiniLog", "mnuLogFontBold", "mnuMarker1", "mnuSquelchFast"})
        EXPECT_FALSE(checked(off)) << off;
    EXPECT_FALSE(main().mnu("mnuAutoCDLookup").enabled());
    EXPECT_FALSE(main().vsElastic3->isVisibleTo(&main()));
    EXPECT_TRUE(calls.contains("rig.setPollInterval"));
    EXPECT_TRUE(calls.contains("rig.PutRadioFileName"));
    EXPECT_LT(calls.indexOf("rig.PutRadioFileName"), calls.indexOf("SetModeFromINI"));
    // Nothing stored: the spectra draw at unity gain.
    EXPECT_EQ(SpectrumSensitivity, 10);
    EXPECT_EQ(SmallSpectrumSensitivity, 10);
}

TEST_F(SettingsLoad, AFullFileRestoresMenusAndVariables)
{
    std::vector<int> txFrequencies;
    Psk().fnSetTXFrequency = [&](std::int32_t hz) { txFrequencies.push_back(hz); return 0; };
    // No logbook is open here: the reopened Mini-Log is watched, not loaded.
    int miniLogShown = 0;
    LogbookWindows().ShowMiniLog = [&] { ++miniLogShown; };
    const struct { const char* section; const char* key; const char* value; } file[] = {
        {"Main Tuning Window", "Squelch Setting", "40"}, {"Main Tuning Window", "Squelch Speed", "Fast"},
        {"Aux 1", "Squelch Setting", "30.5"}, {"Mini-Log", "Column Width 3", "777"},
        {"Settings", "TX Echo", "False"}, {"Settings", "Show Control Codes", "True"},
        {"Settings", "QSOOffsetCounter", "5"}, {"Settings", "Display Height", " 1500"},
        {"Settings", "Clock Error PPM", "-120"}, {"Settings", "Scale Width", "15"},
        {"Settings", "Long Squelch", "Long Squelch False"}, {"Settings", "EnergySaver", "On"},
        {"Settings", "Standalone Program", "True"}, {"Settings", "Overload Warning", "False"},
        {"Settings", "Display Smoothing", "Heavy Smoothing"}, {"Settings", "Display Width", "Width 2"},
        {"Settings", "CW ID Speed", "12 WPM"}, {"Settings", "Default CW ID", "W1AW"},
        {"Settings", "Preset Radio Frequency 3", "7035.50"}, {"Settings", "Preset Radio Mode 3", "LSB"},
        {"Settings", "Preset Audio Defaults", "False"}, {"Settings", "Last Used Tx Audio", "1234"},
        {"Settings", "Last Used Rx Audio", "1210.5"}, {"Settings", "LineWrap", "LineWrap False"},
        {"Settings", "Slashed Zero", "Slashed Zero False"}, {"Settings", "Waterfall Sensitivity", "0.75"},
        {"Settings", "Spectrum Sensitivity", "3"}, {"Settings", "Typing Preference", "all lowercase"},
        {"Sondrel Form", "Top", "-300"}, {"Sondrel Form", "Left", " 450"},
        {"TxWindow", "Font", "Courier"}, {"TxWindow", "Font Size", "12"}, {"TxWindow", "Font Bold", "True"},
        {"TxWindow", "Text Color", "255"}, {"TxWindow", "BackGround Color", "12632319"},
        {"RxWindow", "Font Italic", "true"}, {"RxWindow", "Text Color TX", "16711680"},
        {"RxWindow", "Paused BackGround Color", "8454143"}, {"PTT", "PTT Port Num", "2"},
        {"PTT", "PTT Mode", "By Command"}, {"Form View", "On Top", "On Top True"},
        {"Form View", "StatusBar", "StatusBar False"}, {"Form View", "Auto CD Lookup", "True"},
        {"Form View", "Macro Buttons", "12Macros"}, {"Mode", "Mode", "QPSK"}, {"Display", "Display", "Waterfall"},
        {"Main Tuning Window", "Tuning Window", "Tuning Window True"}, {"CD Lookup", "CD Type", "QRZ"},
        {"Mini-Log", "Visible", "True"}, {"Mini-Log", "Page Loaded", "True"}, {"Mini-Log", "Font Bold", "True"},
        {"Mini-Log", "Background Color", "255"}, {"Waterfall Color", "Color 12:3", " 77 "},
        {"Settings", "Aux 2 Open", "True"}, {"Markers", "Marker 2 Freq", "1234.6"},
        {"Markers", "Marker 4 Enabled", "True"}, {"Markers", "Marker 1 Color", "255.4"},
        {"Radio Control", "Radio Type", "Kenwood - all"}, {"Radio Control", "Poll Interval", "250"},
        {"RTTY", "Watchdog", "on"}, {"RTTY", "Default Profile", "3"}, {"RTTY", "Word boundary", "On"},
        {"RTTY", "Toolbar", "Off"},
    };
    for (const auto& f : file)
        put(f.section, f.key, QString::fromLatin1(f.value));
    QSOCounter = "12";
    ASSERT_TRUE(main().Form_Load());

    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join('\n').toStdString();
    EXPECT_FLOAT_EQ(PSKSquelchLevel, 40);
    EXPECT_FLOAT_EQ(Aux1SquelchLevel, 30.5f);
    EXPECT_EQ(SquelchSpeed, 0);
    EXPECT_EQ(MiniLogColumnWidths[3], "777");
    EXPECT_TRUE(MiniLogColumnWidthsStored[3]);
    EXPECT_FALSE(MiniLogColumnWidthsStored[4]);
    EXPECT_EQ(main().mnu("mnuSerialNum").caption(), "QSO # 7");
    EXPECT_EQ(DisplayHeight, 1500);
    EXPECT_EQ(ClockErrorPPM, -120);
    EXPECT_DOUBLE_EQ(ScaleWidth, 15);
    EXPECT_FALSE(LongSquelch);
    EXPECT_TRUE(EnergySaverOn);
    EXPECT_EQ(FFTModeParam1, 6);
    EXPECT_EQ(CWIDSpeed, 3);
    EXPECT_EQ(DefaultCallsign, "W1AW");
    EXPECT_EQ(main().mnu("mnuSimulatedRadio3").caption(), "Fixed Radio on 7035.50 LSB");
    EXPECT_EQ(txFrequencies, std::vector<int>{1234}); // the last one used, not the preset
    EXPECT_EQ(LastRxAudioFreq, "1210.5");
    EXPECT_DOUBLE_EQ(WaterfallSensitivity, 0.75);
    EXPECT_EQ(SpectrumSensitivity, 3);
    EXPECT_EQ(TxCaseMode, 3);
    EXPECT_EQ(main().geometry().top(), 0);
    EXPECT_EQ(main().geometry().left(), 30);
    EXPECT_EQ(main().TxWindow->font().family(), "Courier");
    EXPECT_EQ(main().TxWindow->font().pointSizeF(), 12);
    EXPECT_TRUE(main().TxWindow->font().bold());
    EXPECT_TRUE(main().RxWindow->font().italic());
    EXPECT_EQ(TxTextColor, 255);
    EXPECT_EQ(TxBackColor, 12632319);
    EXPECT_EQ(main().Tx->backColor(), 12632319);
    EXPECT_EQ(TxEchoColor, "16711680");
    EXPECT_EQ(PausedBackColor, "8454143");
    EXPECT_EQ(PTTPortNum, 2);
    EXPECT_EQ(PTTMode, "By Command");
    EXPECT_EQ(ModeName, "QPSK");
    EXPECT_EQ(DisplayMode, "Waterfall");
    EXPECT_EQ(MiniLogOpen, "True");
    EXPECT_EQ(miniLogShown, 1);
    EXPECT_EQ(WaterfallPalette[2][12], "77");
    EXPECT_EQ(WaterfallPalette[0][0], "0");
    EXPECT_TRUE(Aux2Reopen);
    EXPECT_FALSE(Aux1Reopen);
    EXPECT_EQ(MarkerFreq[2], 1235);
    EXPECT_EQ(main().mnu("mnuMarker2").caption(), "1235 Hz");
    EXPECT_EQ(MarkerColor[1], "255.4");
    EXPECT_EQ(RadioModel, "Kenwood - all");
    EXPECT_EQ(RadioPollInterval, 250);
    EXPECT_EQ(DefaultProfile, 3);
    EXPECT_TRUE(WordBoundary);
    EXPECT_FALSE(ToolbarOn);
    for (const char* on : {"mnuControlCodes", "mnuEnergySaver", "mnuSlowDisplay", "mnuDisplayPen2", "mnu12WPM",
                           "mnulowercase", "mnuOnTop", "mnuAutoCDLookup", "mnu12Macros", "mnuWaterfall",
                           "mnuTuningWindow", "mnuQRZ", "mnuMiniLog", "mnuLogFontBold", "mnuMarker4", "mnuSquelchFast"})
        EXPECT_TRUE(checked(on)) << on;
    for (const char* off : {"mnuTxEcho", "mnuLongSquelch", "mnuOverload", "mnuLinewrap", "mnuZero", "mnustatusbar",
                            "mnu36Macros", "mnuSpectrum", "mnuCDNone", "mnuRTTYWatchdog", "mnuMarker2", "mnuSquelchSlow"})
        EXPECT_FALSE(checked(off)) << off;
    EXPECT_TRUE(main().mnu("mnuAutoCDLookup").enabled());
    EXPECT_TRUE(main().vsElastic3->isVisibleTo(&main()));
    EXPECT_FALSE(main().DummyStatusBar->isVisibleTo(&main()));
    // the restored switches were stored again with their own words
    EXPECT_EQ(ini("Settings", "LineWrap"), "LineWrap False");
    EXPECT_EQ(ini("Form View", "StatusBar"), "StatusBar False");
    EXPECT_EQ(ini("Mini-Log", "Visible"), "True");
}

TEST_F(SettingsLoad, ANumberBeyondItsFieldEndsTheLoadAtThatKeySilently)
{
    put("Settings", "Default CW ID", "K1ABC");
    put("Sondrel Form", "Top", "300");
    put("Sondrel Form", "Width", "40000");
    put("TxWindow", "Text Color", "255");
    put("Form View", "On Top", "On Top True");
    put("Mode", "Mode", "QPSK");
    put("Display", "Display", "Waterfall");
    ASSERT_TRUE(main().Form_Load());
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_EQ(DefaultCallsign, "K1ABC"); // before the stop
    EXPECT_EQ(main().geometry().top(), 20);
    EXPECT_EQ(TxTextColor, 0);           // after it: as the window started
    EXPECT_FALSE(checked("mnuOnTop"));
    EXPECT_TRUE(ModeName.isEmpty());     // the mode restore reads the file itself
    EXPECT_FALSE(checked("mnuWaterfall"));
    EXPECT_EQ(ini("Form View", "On Top"), "On Top True");
}

TEST_F(SettingsLoad, ValuesOutsideTheWordsShowTheMessageAndChangeNothing)
{
    const struct { const char* section; const char* key; const char* value; const char* part; } cases[] = {
        {"Display", "Display", "waterfall", "Display"},
        {"Settings", "Typing Preference", "All Caps", "Typing Preference"},
        {"Main Tuning Window", "Tuning Window", "Tuning Window true", "Tuning Window"},
        {"Form View", "Macro Buttons", "48Macros", "Form View"},
        {"Settings", "LineWrap", "True", "Settings"},
        {"Mini-Log", "Visible", "yes", "Mini-Log"},
        {"Settings", "Overload Warning", "yes", nullptr},
        {"Main Tuning Window", "Squelch Speed", "fast", nullptr},
        {"CD Lookup", "CD Type", "qrz", nullptr},
        {"RTTY", "Display Smoothing", "Fast", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        TearDown();
        SetUp();
        boxes.clear();
        put(c.section, c.key, QString::fromLatin1(c.value));
        ASSERT_TRUE(main().Form_Load());
        const QStringList expected =
            c.part ? QStringList{QString(".INI Error: Error reading '") + c.part + "' part of the .INI file.  " + c.value
                                 + " does not appear to be a valid entry"}
                   : QStringList{};
        EXPECT_EQ(messageTexts(), expected);
        // the value is left as it was in the file; the state stays as the window started
        EXPECT_EQ(ini(c.section, c.key), c.value);
    }
    EXPECT_FALSE(checked("mnuQRZ"));
}

TEST_F(SettingsLoad, OutsideStandaloneModeTheMiniLogValueIsNotLookedAt)
{
    put("Settings", "Standalone Program", "False");
    put("Mini-Log", "Visible", "not a word");
    ASSERT_TRUE(main().Form_Load());
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_FALSE(checked("mnuStandalone"));
    EXPECT_EQ(ini("Mini-Log", "Visible"), "not a word");
}

TEST_F(SettingsLoad, SectionAndKeyNamesAreFreeOfCaseButValuesAreNot)
{
    QFile f(home->file("Sondrel.INI"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[settings]\r\ntx echo=False\r\nSCALE WIDTH=12\r\nRx Window Mouseover=true\r\n"
            "[txwindow]\r\nbackground color=255\r\n[form view]\r\nON TOP=On Top True\r\n");
    f.close();
    ASSERT_TRUE(main().Form_Load());
    EXPECT_FALSE(checked("mnuTxEcho"));
    EXPECT_DOUBLE_EQ(ScaleWidth, 12);
    EXPECT_FALSE(checked("mnuRxwindowMouseover")); // "true" is not "True"
    EXPECT_EQ(main().Tx->backColor(), 255);
    EXPECT_TRUE(checked("mnuOnTop"));
}

TEST_F(SettingsLoad, ScaleWidthAndWindowBoundsAreKeptInRange)
{
    SettingsHooks().ScreenTwips = [] { return QSize(9000, 6000); };
    for (const auto& [stored, width] : {std::pair{"4.9", 10.0}, {"5", 5.0}, {"15.5", 10.0}, {"", 10.0}, {"abc", 10.0}}) {
        TearDown();
        SetUp();
        SettingsHooks().ScreenTwips = [] { return QSize(9000, 6000); };
        put("Settings", "Scale Width", stored);
        put("Sondrel Form", "Width", "30000");
        put("Sondrel Form", "Height", "200");
        ASSERT_TRUE(main().Form_Load());
        EXPECT_DOUBLE_EQ(ScaleWidth, width) << stored;
        EXPECT_EQ(main().width(), twips::toPixels(9000)) << stored;
        EXPECT_EQ(main().height(), twips::toPixels(200)) << stored;
    }
}

} // namespace
