#include "support/main_window_fixture.h"

#include "core/messages/hookmodule.h"
#include "platform/widgets/menuitem.h"
#include "platform/processes/single_instance.h"
#include "platform/processes/winmsg.h"

#include <QCoreApplication>
#include <QTextEdit>
#include "platform/system/inifile.h"

namespace {

using Startup = MainWindowFixture;

TEST_F(Startup, RunsItsStepsInOrderAndWritesTheFirstRunFile)
{
    ASSERT_TRUE(main().Form_Load());
    EXPECT_EQ(calls, QStringList({"FindCDDrive", "OpenLogbook", "LoadDefaultPalette", "LoadRTTYProfiles",
                                  "LoadBands", "rig.getCommPortState", "rig.setPollInterval", "rig.PutRadioFileName", "rig.SetRadioType",
                                  "SetModeFromINI"}));
    ASSERT_EQ(rigArgs.size(), 4);
    EXPECT_EQ(rigArgs[1], QVariantList{500});
    EXPECT_EQ(rigArgs[2], QVariantList{QStringLiteral("No Data File entered")});
    EXPECT_EQ(rigArgs[3], QVariantList{QStringLiteral("No Radio")});
    EXPECT_EQ(ini("Settings", "AFC On/Off"), "On");
    EXPECT_EQ(CDDrive, "None");
    EXPECT_EQ(LogbookAccessCode, "QH71MZTRA4B9KX20PE");
    EXPECT_DOUBLE_EQ(HzPerTwip, 8000.0 / 2047.0 / 10);
    EXPECT_TRUE(MainWindowHooked());
    EXPECT_NE(MainWindowHandle, 0);
    EXPECT_EQ(SoundCardMessage, win::RegisterWindowMessage("SoundCard"));
    EXPECT_GE(MMTTYMessage, 0xC000u);
    EXPECT_FALSE(main().mnu("mnuOutputClose").enabled());
    EXPECT_EQ(main().mnu("mnuZero").caption(), QString("Use ") + QChar(216) + " for zero");
    // the RTTY engine's block is seeded
    ASSERT_NE(MMTTYView, nullptr);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(MMTTYView) + 4, 13), QByteArray("MMTTY Engine\0", 13));
    EXPECT_EQ(MMTTYView[4 + 13], ' ');
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(MMTTYView) + 12464, 5), QByteArray("NONE\0", 5));
    EXPECT_EQ(MMTTYView[148], 1);
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(Startup, StandaloneWithARadioOpensItsPort)
{
    ini::write(home->file("Sondrel.INI"), "Radio Control", "Radio Type", "Kenwood - all");
    ini::write(home->file("Sondrel.INI"), "Radio Control", "Port Number", "2");
    ASSERT_TRUE(main().Form_Load());
    EXPECT_TRUE(calls.contains("SetupRadioPort"));
    EXPECT_LT(calls.indexOf("rig.SetRadioType"), calls.indexOf("SetupRadioPort"));
    EXPECT_LT(calls.indexOf("SetupRadioPort"), calls.indexOf("SetModeFromINI"));
}

TEST_F(Startup, NoRadioOrNoPortLeavesThePortClosedButNamesTheType)
{
    for (const auto& [model, port] : {std::pair{"No Radio", "2"}, std::pair{"Kenwood - all", "0"}}) {
        calls.clear();
        ini::write(home->file("Sondrel.INI"), "Radio Control", "Radio Type", model);
        ini::write(home->file("Sondrel.INI"), "Radio Control", "Port Number", port);
        ASSERT_TRUE(main().Form_Load());
        EXPECT_FALSE(calls.contains("SetupRadioPort")) << model;
        EXPECT_TRUE(calls.contains("rig.SetRadioType")) << model;
        main().Form_Unload();
        Sondrel::destroyInstance();
    }
}

TEST_F(Startup, ASecondInstanceChangesNothing)
{
    SingleInstance running;
    ASSERT_TRUE(running.acquire());
    EXPECT_FALSE(main().Form_Load());
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(main().unloaded());
    EXPECT_TRUE(iniText().isEmpty());
    EXPECT_FALSE(MainWindowHooked());
}

TEST_F(Startup, AClosingRequestWhileStartingWaitsForTheEndOfStartUp)
{
    // The desktop ending the session while start-up yields (the splash repaint, the engine
    // start): shut-down runs once start-up is done, never over a half-started program.
    Links().OpenLogbook = [this] { calls << "OpenLogbook"; main().close(); };
    Links().SetModeFromINI = [this] { calls << "SetModeFromINI"; main().close(); };
    EXPECT_FALSE(main().Form_Load());
    EXPECT_TRUE(main().unloaded());
    EXPECT_EQ(calls, QStringList({"FindCDDrive", "OpenLogbook", "LoadDefaultPalette", "LoadRTTYProfiles",
                                  "LoadBands", "rig.getCommPortState", "rig.setPollInterval", "rig.PutRadioFileName",
                                  "rig.SetRadioType", "SetModeFromINI", "fnStopSoundCard",
                                  "VmxClose", "CloseCaptureFile", "UnloadChildWindows"}));
    EXPECT_FALSE(MainWindowHooked());
}

using Shutdown = MainWindowFixture;

TEST_F(Shutdown, StopsTheEngineThenClosesAndWritesTheLastValues)
{
    ASSERT_TRUE(main().Form_Load());
    calls.clear();
    EngineFreqParam = 1500;
    TxAudioFreqText = "1520";
    Aux1RxFreq = 900;
    main().setGeometry(100, 120, 800, 600);
    main().Form_Unload();
    EXPECT_EQ(calls, QStringList({"fnStopSoundCard", "VmxClose", "CloseCaptureFile", "UnloadChildWindows"}));
    EXPECT_TRUE(SpectrumHold);
    EXPECT_FALSE(MainWindowHooked());
    EXPECT_EQ(ini("Settings", "Last Used Rx Audio"), "1500");
    EXPECT_EQ(ini("Settings", "Last Used Tx Audio"), "1520");
    EXPECT_EQ(ini("Settings", "Last Used Aux 1 Audio"), "900");
    // never set: never written, so the next start never tunes to 0 Hz
    EXPECT_EQ(ini("Settings", "Last Used Aux 2 Audio"), "<missing>");
    const QRect g = main().geometry();
    // written with a leading blank, as the number format does for non-negative numbers
    EXPECT_TRUE(iniText().contains("Left= " + QString::number(g.left() * 15) + "\r\n"));
    EXPECT_TRUE(iniText().contains("Width= " + QString::number(g.width() * 15) + "\r\n"));
    EXPECT_TRUE(iniText().contains("Last Used Rx Audio=1500\r\n"));
    EXPECT_TRUE(iniText().contains("Top= "));
    EXPECT_TRUE(iniText().contains("Splitter Pos= "));
    EXPECT_TRUE(iniText().contains("Display Height= "));
}

TEST_F(Shutdown, NothingOfTheAudioIsWrittenWhenNeverSet)
{
    ASSERT_TRUE(main().Form_Load());
    main().Form_Unload();
    EXPECT_EQ(ini("Settings", "Last Used Rx Audio"), "<missing>");
    EXPECT_EQ(ini("Settings", "Last Used Tx Audio"), "<missing>");
}

TEST_F(Shutdown, MinimisedOrMaximisedKeepsTheLastNormalGeometry)
{
    ASSERT_TRUE(main().Form_Load());
    EngineFreqParam = 1000;
    main().setWindowState(Qt::WindowMaximized);
    main().Form_Unload();
    EXPECT_EQ(ini("Settings", "Last Used Rx Audio"), "1000");
    EXPECT_EQ(ini("Sondrel Form", "Top"), "<missing>");
    EXPECT_EQ(ini("Settings", "Display Height"), "<missing>");
}

TEST_F(Shutdown, InRttyModeTheEngineIsToldToQuitAndTheBlockReleased)
{
    ASSERT_TRUE(main().Form_Load());
    QObject engine;
    std::uint32_t got = 0;
    std::intptr_t code = -1;
    struct Catch : QObject {
        std::uint32_t* got; std::intptr_t* code;
        bool event(QEvent* e) override
        {
            if (e->type() == win::WindowMessageEvent::eventType()) {
                auto* m = static_cast<win::WindowMessageEvent*>(e);
                *got = m->message();
                *code = m->wParam();
                return true;
            }
            return QObject::event(e);
        }
    } catcher;
    catcher.got = &got;
    catcher.code = &code;
    MMTTYhWnd = win::registerWindow(&catcher);
    PSKModeActive = false;
    calls.clear();
    main().Form_Unload();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(calls.contains("fnStopSoundCard"));
    EXPECT_EQ(got, MMTTYMessage);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(MMTTYView, nullptr);
    win::unregisterWindow(MMTTYhWnd);
    MMTTYhWnd = 0;
}

TEST_F(Shutdown, ClosingTheWindowRunsItOnce)
{
    ASSERT_TRUE(main().Form_Load());
    main().show();
    main().close();
    main().Form_Unload();
    EXPECT_EQ(calls.count("VmxClose"), 1);
}

} // namespace

namespace {

TEST_F(Startup, TheRadioControlComponentSitsOnTheMainWindow)
{
    ResetLinks();
    Links().OpenLogbook = [] {};
    Links().VmxClose = [](std::int32_t) { return std::int16_t{0}; };
    ASSERT_NE(main().RigControl, nullptr) << main().RigControlError.toStdString();
    ASSERT_TRUE(main().Form_Load());
    // start-up handed it the radio type
    EXPECT_EQ(RigCall("getCommPortState").toBool(), false);
    QVariantList type{QStringLiteral("Kenwood - all")};
    EXPECT_EQ(RigCall("SetRadioType", type).toBool(), true);
    QVariantList freq{QStringLiteral("14070.15")};
    RigCall("setRadioFrequency", freq);
    EXPECT_EQ(freq.front().toString(), "14070.15"); // the caller's text stays as it was
}

} // namespace
