// The macro interpreter: token order, argument tokens, typing, abort and the end of a run.
#include "macro_fixture.h"

#include "core/transmit/transmit.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"

#include <QLabel>

namespace {

class Macros : public MacroFixture {};

TEST_F(Macros, TokensActInTableOrderBeforeAnythingIsTyped)
{
    struct Case {
        const char* text;
        const char* typed;
        QStringList psk;
    };
    const Case cases[] = {
        // case ignored, both blanks kept
        {"Hello $BPSK$ there", "Hello  there", {}},
        // the call sign (pass 29) is in place before "$cw$" (pass 68) takes the rest
        {"Hello $cw$ de $mycall$", "Hello ",
         {"fnSetCWIDString(  de W1AW)", "fnSetCWIDSpeed(2)", "control(2,-1)", "control(1,-1)"}},
        // "$qsx" without a closing "$" is typed and the later passes still run
        {"$mycall$ $qsx", "W1AW $qsx", {}},
        // a token put in by a replacement is seen by every later pass
        {"$rtty-i$x", "x", {}},
        // nothing typed, but the end of the run still queues the return to receive
        {"$receive$", "", {"control(1,-1)"}},
        {"$receive$Hello", "Hello", {"control(1,-1)"}},
        {"$cwid$ de", " de", {"fnSetCWIDSpeed(2)", "fnSetCWIDString( W1AW)", "control(2,-1)", "control(1,-1)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TxActive = true; // no mode changes here
        psk.clear();
        EXPECT_EQ(run(QString::fromLatin1(c.text)), QString::fromLatin1(c.typed));
        EXPECT_EQ(psk, c.psk);
    }
}

TEST_F(Macros, AnEarlierPassDoesNotSeeTextPutInByALaterOne)
{
    // "$transmit$" (pass 9) has run before "$call$" (pass 30) puts one in: it is typed
    PreviousQSOCall = "$transmit$";
    EXPECT_EQ(run("$call$"), "$transmit$");
    EXPECT_FALSE(psk.join(' ').contains("fnStartTX"));
    EXPECT_EQ(run("$transmit$"), "");
    EXPECT_TRUE(psk.join(' ').contains("fnStartTX"));
}

TEST_F(Macros, ModeTokensChangeModeOnlyWhileReceivingAndAlwaysEcho)
{
    TxActive = true;
    ModeText = "QPSK";
    run("$bpsk$");
    EXPECT_EQ(ModeText, "QPSK");
    EXPECT_TRUE(rxText().endsWith("<BPSK>"));

    TxActive = false;
    run("$qpsk-i$");
    EXPECT_EQ(ModeText, "QPSK");
    EXPECT_TRUE(main().mnu("mnuQPSKInv").checked());
    EXPECT_TRUE(rxText().endsWith("<QPSK-I>"));

    ShowCommands = false;
    const QString before = rxText();
    run("$bpsk$");
    EXPECT_EQ(ModeText, "BPSK");
    EXPECT_EQ(rxText(), before);
}

TEST_F(Macros, RttyTokensPostTheSwitchWordOnlyWhenTheStateDiffers)
{
    MMTTYFlags = 0x1A0;
    struct Case {
        const char* text;
        bool* state;
        bool value;
        QList<QList<qint64>> posts;
    };
    const Case cases[] = {
        {"$rttybpfon$", &MMTTYBPFOn, false, {{11, 0x180}}},
        {"$rttybpfon$", &MMTTYBPFOn, true, {}},
        {"$rttybpfoff$", &MMTTYBPFOn, true, {{11, 0x180}}},
        {"$rttysquelchoff$", &MMTTYSquelchOn, true, {{11, 0x120}}},
        {"$rttysquelchon$", &MMTTYSquelchOn, false, {{11, 0x120}}},
        {"$rttyreverse$", &MMTTYPolarityFlag, true, {{11, 0x0A0}}},
        {"$rttynormal$", &MMTTYPolarityFlag, true, {}},
        {"$rtty-i$", &MMTTYPolarityFlag, true, {{11, 0x0A0}}},
        {"$rtty$", &MMTTYPolarityFlag, true, {}},
        {"$rttyfigures$$rttyletters$$rttysetup$", &MMTTYPolarityFlag, true, {{17, 1}, {17, 0}, {13, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MMTTYBPFOn = MMTTYSquelchOn = MMTTYPolarityFlag = true;
        *c.state = c.value;
        rtty.got.clear();
        run(QString::fromLatin1(c.text));
        EXPECT_EQ(rttyPosts(), c.posts);
    }
    EXPECT_TRUE(hooks.contains("mnuRTTY_Click(0)"));
    EXPECT_TRUE(rxText().contains("<FIGS><LTRS>"));
}

TEST_F(Macros, SplitRadioAndLoggerArguments)
{
    QLabel& duplex = *main().DuplexBox;
    run("$qsx500$");
    EXPECT_EQ(SplitOffset, 500);
    EXPECT_EQ(duplex.text(), "Split");
    run("$simplex$");
    EXPECT_EQ(duplex.text(), "Simplex");
    run("$qsx$x$qsx0$");
    EXPECT_EQ(SplitOffset, 0);
    EXPECT_EQ(duplex.text(), "Simplex");
    // a number beyond the field's range leaves the offset alone, but the token still goes
    SplitOffset = 7;
    EXPECT_EQ(run("a$qsx99999999999$b"), "ab");
    EXPECT_EQ(SplitOffset, 7);

    main().mnu("mnuStandalone").setChecked(false);
    run("$qsy14070.15$$command FA; $$hexcommand FE FE 58 E0 03 FD$");
    EXPECT_EQ(loggerTexts, QStringList({"Set Frequency=14070.15", "Command=FA;", "HEXCommand= FE FE 58 E0 03 FD"}));

    main().mnu("mnuStandalone").setChecked(true);
    calls.clear();
    rigArgs.clear();
    run("$qsy14070.15$$command FA; $$hexcommand FE FE 58 E0 03 FD$$hexcommand 4G 41$");
    EXPECT_EQ(calls, QStringList({"rig.setRadioFrequency", "rig.setDirectRadioCommand",
                                  "rig.setDirectRadioCommandHEX", "rig.setDirectRadioCommandHEX"}));
    ASSERT_EQ(rigArgs.size(), 4);
    EXPECT_EQ(rigArgs[0][0].toString(), "14070.15");
    EXPECT_EQ(rigArgs[1][0].toString(), "FA;");
    EXPECT_EQ(cp1252::encode(rigArgs[2][0].toString()), QByteArray("\xFE\xFE\x58\xE0\x03\xFD", 6));
    EXPECT_EQ(rigArgs[3][0].toString(), "A"); // "4G" is no byte and is skipped
}

TEST_F(Macros, UpAndDownStayInsideTheirLimits)
{
    EngineFreqParam = 1000;
    AFCRange = 45;
    psk.clear();
    EXPECT_EQ(run("$up$$up$$down$"), "");
    EXPECT_EQ(psk, QStringList({"fnSetRXFrequency(1001,45,0)", "fnSetRXFrequency(1001,45,0)",
                                "fnSetRXFrequency(999,45,0)"}));
    EngineFreqParam = 3499;
    EXPECT_EQ(run("$up$"), "$up$");
    EngineFreqParam = 301;
    EXPECT_EQ(run("$down$"), "$down$");
}

TEST_F(Macros, ClearingTokensEmptyTheWindowsBeforeTheTextIsTyped)
{
    main().Tx->setText("old");
    main().Rx->setText("heard");
    psk.clear();
    run("$clearbuffers$new");
    EXPECT_EQ(psk, QStringList({"fnClearTXBuffer()"}));
    EXPECT_EQ(main().Tx->text(), "new");
    EXPECT_EQ(rxText(), "");

    PSKModeActive = false;
    main().Rx->setText("heard");
    rtty.got.clear();
    run("$cleartxbuffer$");
    EXPECT_EQ(rttyPosts(), (QList<QList<qint64>>{{3, 4}}));
    EXPECT_EQ(rxText(), "heard");
}

TEST_F(Macros, TypingGoesThroughTheTransmitWindowAndYieldsPerCharacter)
{
    main().mnu("mnuZero").setChecked(true);
    EXPECT_EQ(run("10\r\nA"), "10\rA");
    EXPECT_EQ(yields, 5);
    EXPECT_EQ(main().Tx->text(), QString("1") + QChar(0xD8) + "\r\nA");

    PSKModeActive = false;
    rtty.got.clear();
    run("$receive$hi");
    EXPECT_TRUE(RTTYStopPending);
    EXPECT_EQ(rttyPosts(), (QList<QList<qint64>>{{4, 'h'}, {4, 'i'}}));
}

TEST_F(Macros, AnAbortStopsTypingAfterTheCurrentCharacter)
{
    int n = 0;
    onYield = [&] {
        if (++n == 4)
            AbortTransmit();
    };
    EXPECT_EQ(run("$receive$abcdef"), "abc");
    EXPECT_FALSE(psk.contains("control(1,-1)")); // the abort dropped the return to receive
    EXPECT_TRUE(psk.contains("fnAbortTX()"));
    EXPECT_TRUE(AbortMacro);

    // the next macro types again
    onYield = nullptr;
    EXPECT_EQ(run("xy"), "xy");
}

TEST_F(Macros, ANewerMacroTakesOverFromOneBeingTyped)
{
    MacroTexts[2] = "XY$receive$";
    int n = 0;
    onYield = [&] {
        if (++n == 2)
            ExpandAndSendMacro(2);
    };
    EXPECT_EQ(run("abcd$receive$"), "aXY");
    EXPECT_EQ(psk.count("control(1,-1)"), 1);
}

TEST_F(Macros, ValuesThatHoldTokens)
{
    // a later token inside a value is carried out; its own token inside a value is typed
    OtherName = "$qth$";
    main().QTHBox->setText("Boston");
    EXPECT_EQ(run("$name$"), "Boston");
    PreviousQSOCall = "x$call$";
    EXPECT_EQ(run("$call$!"), "x$call$!");
    // "$ascii36$" leaves a "$" that closes nothing
    EXPECT_EQ(run("$ascii36$qsx"), "$qsx");
}

} // namespace
