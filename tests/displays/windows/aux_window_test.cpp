#include "child_windows_fixture.h"

#include "core/receive/rx_links.h"
#include "core/transmit/txhooks.h"
#include "displays/windows/aux1.h"
#include "displays/windows/aux2.h"
#include "displays/windows/tuning_window.h"
#include "displays/windows/tuning_window_aux1.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "settings/inistuff.h"
#include "state/declarations.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace {

using AuxWindows = ChildWindowsFixture;

TEST_F(AuxWindows, OpensWithItsDefaultsWithoutASection)
{
    main().mnu("mnuAux1").click();
    Aux1* w = Aux1::existing();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Aux Rx Channel 1");
    // 2000 twips high, 5000 wide or as wide as its whole status line needs in the desktop's font
    // (where it opens: LogbookWindowsProgram)
    EXPECT_EQ(w->geometry().height(), 133);
    EXPECT_GE(w->geometry().width(), 333);
    EXPECT_LT(w->AuxStatusBarIMD->geometry().right(), w->Statusbar->width());
    EXPECT_EQ(w->text().font().family(), "Arial");
    EXPECT_EQ(w->text().font().pointSizeF(), 9);
    EXPECT_EQ(w->text().backColor(), 16777215);
    EXPECT_EQ(Aux1TextColor, 0);
    EXPECT_EQ(w->AuxStatusbarMode->text(), "BPSK");
    EXPECT_EQ(w->AuxStatusBarAFC->text(), "AFC On");
    EXPECT_TRUE(w->mnu("mnuBPSK").checked());
    EXPECT_EQ(TuningWindowAux1::existing(), nullptr);
    EXPECT_EQ(takeCalls(), QStringList({"fnSetRXPSKMode 0 1", "fnSetSquelchThreshold 19 1 1", "fnSetAFCLimit 100 1"}));
    EXPECT_EQ(ini("Settings", "Aux 1 Open"), "True");
    EXPECT_EQ(ini("Aux 1", "Mode"), "BPSK");
    EXPECT_EQ(ini("Aux 1", "Tuning Window"), "Tuning Window False");
    EXPECT_TRUE(Aux1Open);
    EXPECT_FALSE(Aux2Open);
    // The receive and transmit roads reach its text now, and channel 2's not at all.
    EXPECT_EQ(RxLinks().AuxText(1), &w->text());
    EXPECT_EQ(TxHooks().AuxText(1), &w->text());
    EXPECT_EQ(RxLinks().AuxText(2), nullptr);
    // A second click shows the same window.
    main().mnu("mnuAux1").click();
    EXPECT_EQ(Aux1::existing(), w);
}

TEST_F(AuxWindows, SettingsOfTheSectionAreApplied)
{
    const QString s = QStringLiteral("Aux 2");
    WriteINI(s, "Top", "300");
    WriteINI(s, "Left", "1500");
    WriteINI(s, "Width", "6000");
    WriteINI(s, "Height", "3000");
    WriteINI(s, "Font", "Courier New");
    WriteINI(s, "Font Size", "10.5");
    WriteINI(s, "Font Bold", "True");
    WriteINI(s, "Text Color", "255");
    WriteINI(s, "BackGround Color", "12648447");
    WriteINI(s, "Mouseover Color", "32768");
    WriteINI(s, "Mode", "QPSK-I");
    WriteINI(s, "AFC On/Off", "Off");
    main().mnu("mnuAux2").click();
    Aux2* w = Aux2::existing();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Aux Rx Channel 2");
    EXPECT_EQ(w->geometry().size(), QSize(400, 200));
    EXPECT_EQ(w->geometry().left(), 100);
    EXPECT_GE(w->geometry().top(), 20);
    EXPECT_EQ(w->text().font().family(), "Courier New");
    EXPECT_EQ(w->text().font().pointSizeF(), 10.5);
    EXPECT_TRUE(w->text().font().bold());
    EXPECT_FALSE(w->text().font().italic());
    EXPECT_EQ(Aux2TextColor, 255);
    EXPECT_EQ(Aux2MouseOverColor, 32768);
    EXPECT_EQ(w->text().backColor(), 12648447);
    EXPECT_EQ(w->AuxStatusbarMode->text(), "QPSK - inv");
    EXPECT_EQ(w->AuxStatusBarAFC->text(), "AFC Off");
    EXPECT_EQ(Aux2AFCLimit, 0);
    EXPECT_EQ(Aux2AFCRange, 0);
    EXPECT_EQ(takeCalls(), QStringList({"fnSetRXPSKMode 2 2", "fnSetSquelchThreshold 19 1 2", "fnSetAFCLimit 0 2"}));
}

TEST_F(AuxWindows, BadWordsInTheSectionAreReported)
{
    WriteINI("Aux 1", "Mode", "PSK63");
    WriteINI("Aux 1", "Tuning Window", "Shown");
    main().mnu("mnuAux1").click();
    const auto messages = boxes.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text,
              "Error reading 'Mode' part of the .INI file.  PSK63 does not appear to be a valid entry");
    EXPECT_EQ(messages[0].title, ".INI Error");
    EXPECT_EQ(messages[0].style, dlg::OKOnly);
    EXPECT_EQ(messages[1].text,
              "Error reading 'Tuning Window' part of the .INI file.  Shown does not appear to be a valid entry");
    EXPECT_EQ(Aux1::existing()->AuxStatusbarMode->text(), "BPSK");
    EXPECT_FALSE(takeCalls().join(' ').contains("fnSetRXPSKMode"));
    EXPECT_EQ(TuningWindowAux1::existing(), nullptr);
}

TEST_F(AuxWindows, ClosingKeepsTheOpenKeyOnlyWhileHeld)
{
    struct Case { bool hold; const char* openKey; bool reopen; };
    for (const Case c : {Case{false, "False", false}, Case{true, "True", true}}) {
        Aux1Reopen = true;
        main().mnu("mnuAux1").click();
        Aux1::existing()->setGeometry(20, 30, 400, 200);
        SpectrumHold = c.hold;
        Aux1::existing()->Unload();
        SpectrumHold = false;
        EXPECT_EQ(Aux1::existing(), nullptr);
        EXPECT_FALSE(Aux1Open);
        EXPECT_TRUE(Aux1Closing);
        EXPECT_EQ(ini("Settings", "Aux 1 Open"), c.openKey);
        EXPECT_EQ(Aux1Reopen, c.reopen);
        EXPECT_EQ(stored("Aux 1", "Top"), " 450");
        EXPECT_EQ(stored("Aux 1", "Left"), " 300");
        EXPECT_EQ(stored("Aux 1", "Width"), " 6000");
        EXPECT_EQ(stored("Aux 1", "Height"), " 3000");
        EXPECT_EQ(RxLinks().AuxText(1), nullptr);
    }
}

TEST_F(AuxWindows, ShutDownUnloadsEveryChildWindowAndKeepsTheirKeys)
{
    main().mnu("mnuAux1").click();
    main().mnu("mnuAux2").click();
    main().mnu("mnuTuningWindow").click();
    ResetLinks();
    SpectrumHold = true;
    Links().UnloadChildWindows();
    SpectrumHold = false;
    EXPECT_EQ(Aux1::existing(), nullptr);
    EXPECT_EQ(Aux2::existing(), nullptr);
    EXPECT_EQ(TuningWindow::existing(), nullptr);
    EXPECT_EQ(ini("Settings", "Aux 1 Open"), "True");
    EXPECT_EQ(ini("Settings", "Aux 2 Open"), "True");
    EXPECT_EQ(ini("Main Tuning Window", "Tuning Window"), "Tuning Window True");
    EXPECT_FALSE(main().mnu("mnuTuningWindow").checked());
    fakeLinks();
}

TEST_F(AuxWindows, ModeBoxStepsThroughTheModes)
{
    main().mnu("mnuAux1").click();
    Aux1* w = Aux1::existing();
    takeCalls();
    const struct { const char* shown; const char* stored; const char* call; const char* item; } steps[] = {
        {"QPSK", "QPSK", "fnSetRXPSKMode 1 1", "mnuQPSK"},
        {"QPSK - inv", "QPSK-I", "fnSetRXPSKMode 2 1", "mnuQPSKInv"},
        {"BPSK", "BPSK", "fnSetRXPSKMode 0 1", "mnuBPSK"},
    };
    for (const auto& s : steps) {
        w->AuxStatusbarMode_Click();
        EXPECT_EQ(w->AuxStatusbarMode->text(), s.shown);
        EXPECT_EQ(ini("Aux 1", "Mode"), s.stored);
        EXPECT_EQ(takeCalls(), QStringList({s.call}));
        for (const char* item : {"mnuBPSK", "mnuQPSK", "mnuQPSKInv", "mnuRTTY", "mnuCW"})
            EXPECT_EQ(w->mnu(item).checked(), qstrcmp(item, s.item) == 0) << item;
    }
    w->AuxStatusbarMode->setText("RTTY");
    w->AuxStatusbarMode_Click();
    EXPECT_TRUE(takeCalls().isEmpty());
}

TEST_F(AuxWindows, AfcTogglesRetuneTheChannelWhereItIs)
{
    main().mnu("mnuAux2").click();
    Aux2* w = Aux2::existing();
    Aux2RxFreq = 1600;
    takeCalls();
    w->AuxStatusBarAFC_Click();
    EXPECT_EQ(w->AuxStatusBarAFC->text(), "AFC Off");
    EXPECT_EQ(ini("Aux 2", "AFC On/Off"), "Off");
    EXPECT_EQ(takeCalls(), QStringList({"fnSetAFCLimit 0 2", "fnSetRXFrequency 1600 0 2"}));
    w->AuxStatusBarAFC_Click();
    EXPECT_EQ(w->AuxStatusBarAFC->text(), "AFC On");
    EXPECT_EQ(ini("Aux 2", "AFC On/Off"), "On");
    EXPECT_EQ(takeCalls(), QStringList({"fnSetAFCLimit 100 2", "fnSetRXFrequency 1600 45 2"}));
}

TEST_F(AuxWindows, AudioFrequencyClickMovesOnlyTheTransmitter)
{
    main().mnu("mnuAux1").click();
    Aux1* w = Aux1::existing();
    w->AuxStatusBarAudioFreq->setText(" 1400.0 Hz ");
    takeCalls();
    w->AuxStatusBarAudioFreq_Click();
    EXPECT_EQ(takeCalls(), QStringList({"fnSetTXFrequency 1400"}));
    EXPECT_EQ(TxAudioFreqText, "1400");
}

TEST_F(AuxWindows, ResetRetunesToThePreset)
{
    main().mnu("mnuAux1").click();
    takeCalls();
    PresetAux1AudioFreq = "1400.00";
    Aux1::existing()->Label3_Click();
    // 1400 Hz lies on scale position 3582, which is 1399.9 Hz.
    EXPECT_EQ(Aux1CursorX, 3582);
    EXPECT_EQ(takeCalls(), QStringList({"fnSetRXFrequency 1400 45 1"}));
}

TEST_F(AuxWindows, FontAndColourDialogsStoreWhatWasChosen)
{
    main().mnu("mnuAux1").click();
    Aux1* w = Aux1::existing();
    boxes.answerFont(dlg::FontChoice{"Courier New", 11.5, true, true, 255});
    w->mnu("mnuRxWindowFont").click();
    EXPECT_EQ(w->text().font().family(), "Courier New");
    EXPECT_EQ(w->text().font().pointSizeF(), 11.5);
    EXPECT_EQ(ini("Aux 1", "Font"), "Courier New");
    EXPECT_EQ(ini("Aux 1", "Font Size"), "11.5");
    EXPECT_EQ(ini("Aux 1", "Font Bold"), "True");
    EXPECT_EQ(ini("Aux 1", "Font Italic"), "True");
    EXPECT_EQ(ini("Aux 1", "Text Color"), "255");
    EXPECT_EQ(Aux1TextColor, 255);
    boxes.answerColour(65535);
    w->mnu("mnuBackColorSetting").click();
    EXPECT_EQ(w->text().backColor(), 65535);
    EXPECT_EQ(ini("Aux 1", "Background Color"), "65535");
    boxes.answerColour(8454016);
    w->mnu("mnuMouseOver").click();
    EXPECT_EQ(Aux1MouseOverColor, 8454016);
    EXPECT_EQ(ini("Aux 1", "Mouseover Color"), "8454016");
    // Cancelled boxes change nothing.
    w->mnu("mnuRxWindowFont").click();
    w->mnu("mnuBackColorSetting").click();
    w->mnu("mnuMouseOver").click();
    EXPECT_EQ(w->text().font().family(), "Courier New");
    EXPECT_EQ(w->text().backColor(), 65535);
    EXPECT_EQ(Aux1MouseOverColor, 8454016);
}

TEST_F(AuxWindows, TextIsReadOnlyAndClearable)
{
    main().mnu("mnuAux1").click();
    Aux1* w = Aux1::existing();
    w->text().appendText("CQ CQ de K1ABC", 0);
    EXPECT_TRUE(w->AuxText->isReadOnly());
    w->mnu("mnuClear").click();
    EXPECT_EQ(w->text().text(), "");
}

} // namespace
