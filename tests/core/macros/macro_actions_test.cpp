// Logbook, window, callbook, file and repeat tokens.
#include "macro_fixture.h"

#include "logbook/windows/logbook_windows.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"

#include <QDir>
#include <QFile>
#include <QTimer>

namespace {

class MacroActions : public MacroFixture {
protected:
    void SetUp() override
    {
        MacroFixture::SetUp();
        LogbookWindowHooks& l = LogbookWindows();
        l.ShowMiniLog = [this] { hooks << "ShowMiniLog"; };
        l.ShowPreviousPage = [this] { hooks << "ShowPreviousPage"; };
        l.UnloadCDDisplay = [this] { hooks << "UnloadCDDisplay"; };
        l.DoCDLookup = [this] { hooks << "DoCDLookup"; };
    }
    void TearDown() override
    {
        ResetLogbookWindows();
        MacroFixture::TearDown();
    }
    QString file(const char* name, const QByteArray& bytes)
    {
        const QString path = home->file(QString::fromLatin1(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
};

TEST_F(MacroActions, LoggingGoesToTheLogbookWithThePanelElseToTheLogger)
{
    main().vsElastic3->show();
    main().CallsignBox->setText("DL1ABC");
    EXPECT_EQ(run("$log$$logimmediate$$page$$previous$"), "");
    EXPECT_TRUE(LogAfterTx);
    EXPECT_EQ(hooks, QStringList({"LogAndClear", "ShowMiniLog", "ShowPreviousPage"}));
    run("$clearlog$");
    EXPECT_EQ(main().CallsignBox->text(), "");
    EXPECT_TRUE(loggerTexts.isEmpty());

    main().vsElastic3->hide();
    hooks.clear();
    run("$logimmediate$$clearlog$$page$$previous$");
    EXPECT_EQ(loggerTexts, QStringList({"LogQSO", "Clear"}));
    EXPECT_TRUE(hooks.isEmpty());
}

TEST_F(MacroActions, CallbookLookupNeedsALookupTypeAndThreeCharacters)
{
    MenuItem& auto_ = main().mnu("mnuAutoCDLookup");
    auto_.setEnabled(true);
    main().CallsignBox->setText("K1");
    hooks.clear(); // the box's own change handler
    EXPECT_EQ(run("$cd$"), "");
    EXPECT_TRUE(hooks.isEmpty());
    main().CallsignBox->setText("K1ABC");
    hooks.clear();
    run("$cd$");
    EXPECT_EQ(hooks, QStringList({"UnloadCDDisplay", "DoCDLookup"}));
    auto_.setEnabled(false);
    hooks.clear();
    run("$cd$");
    EXPECT_TRUE(hooks.isEmpty());
}

TEST_F(MacroActions, FileContentsReplaceTheRestOfTheLine)
{
    const QString beacon = file("beacon.txt", "de $call$ $log$\xD8");
    const QString slashed(QChar(0xD8));
    EXPECT_EQ(run("QST\r\n$file$ " + beacon), "QST\rde $call$ " + slashed + "\r");
    EXPECT_TRUE(LogAfterTx); // a later pass sees the file's tokens
    EXPECT_TRUE(boxes.calls().isEmpty());

    // only the first "$file$" is replaced; the line break after the name stays
    EXPECT_EQ(run("$FILE$" + beacon + "\r\nx $file$ y"), "de $call$ " + slashed + "\rx $file$ y");
}

TEST_F(MacroActions, AMissingFileIsReportedAndTheMacroGoesOn)
{
    EXPECT_EQ(run("a$file$ nowhere.txt\r\nb"), "a\rb");
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "NOWHERE.TXT : File not found");
    EXPECT_EQ(boxes.messages()[0].style, 0);
}

TEST_F(MacroActions, AnAbortWhileReadingDropsTheFile)
{
    const QString path = file("long.txt", QByteArray(50, 'z'));
    int n = 0;
    onYield = [&] {
        if (++n == 10)
            AbortMacro = true;
    };
    // the typing starts afresh after the file was dropped
    EXPECT_EQ(run("a$file$" + path), "a\r");
}

TEST_F(MacroActions, LoopArmsTheRepeatAndTheTimerFiresOnTheRightTick)
{
    for (int loops : {1, 2}) {
        SCOPED_TRACE(loops);
        MacroTexts[5] = QString("$loop$").repeated(loops) + "CQ";
        Command1_Mouseup(5, 0, 0, 0, 0);
        EXPECT_EQ(LoopCountdown, 4 * loops);
        EXPECT_EQ(LoopMacroIndex, 5);
        EXPECT_EQ(main().Tx->backColor(), 12632319);
        // the receive switch-over starts the timer; the macro goes again on tick 4n + 1
        main().Timer1->start();
        typed.clear();
        for (int tick = 1; tick <= 4 * loops; ++tick)
            Timer1_Timer();
        EXPECT_EQ(typed, "");
        EXPECT_TRUE(main().Timer1->isActive());
        Timer1_Timer();
        EXPECT_EQ(typed, "CQ");
        EXPECT_FALSE(main().Timer1->isActive());
        EXPECT_EQ(LoopCountdown, 4 * loops); // re-armed by its own "$loop$"
        BreakMacroLoop();
    }
}

TEST_F(MacroActions, AnyOperatorActionStopsTheRepeat)
{
    TxBackColor = 13434879;
    const std::function<void()> stops[] = {
        [] { BreakMacroLoop(); },
        [] { Command1_MouseDown(3, 1, 0, 0, 0); },
        [] { RxLinks().BreakMacroLoop(); },
        [] { TxHooks().BreakMacroLoop(); },
    };
    for (const auto& stop : stops) {
        run("$loop$");
        main().Timer1->start();
        stop();
        EXPECT_EQ(LoopCountdown, 0);
        EXPECT_EQ(LoopMacroIndex, 0);
        EXPECT_FALSE(main().Timer1->isActive());
        EXPECT_EQ(main().Tx->backColor(), 13434879);
    }
    // a stopped repeat does not fire
    typed.clear();
    Timer1_Timer();
    EXPECT_EQ(typed, "");
}

} // namespace
