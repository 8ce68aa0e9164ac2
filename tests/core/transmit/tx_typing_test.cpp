#include "tx_support.h"

#include "core/messages/engine_tick.h"
#include "core/transmit/txwindow.h"
#include "platform/vb/text1252.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

namespace {

using TxTyping = TxFixture;

QString line(int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar('a' + i % 26);
    return s;
}

TEST_F(TxTyping, WrapsTheLastLineBeforeTheCharacterGoesIn)
{
    struct Case {
        bool wrap;
        int lineLength;
        int keyCode, ascii;
        std::vector<int> sent;
        QString tail; // the window's text after the preloaded line
    };
    const Case cases[] = {
        {true, 64, 32, 32, {32}, " "},
        {true, 65, 32, 32, {13}, "\r\n"},
        {true, 68, 65, 'a', {'a'}, "a"},
        {true, 69, 65, 'a', {13, 'a'}, "\r\na"},
        {true, 72, 32, 32, {13}, "\r\n"},
        {true, 69, 13, 13, {13, 13}, "\r\n\r\n"},
        {true, 69, 8, 8, {8}, "\b"}, // backspace: no forced break, the last letter goes
        {false, 80, 32, 32, {32}, " "},
        {false, 80, 65, 'a', {'a'}, "a"},
    };
    for (const Case& c : cases) {
        check("mnuLinewrap", c.wrap);
        const QString first = "first line\r\n" + line(c.lineLength);
        preload(first);
        key(c.keyCode, 0, c.ascii);
        EXPECT_EQ(sent, c.sent) << c.lineLength << " " << c.ascii;
        const QString expected = c.tail == "\b" ? first.chopped(1) : first + c.tail;
        EXPECT_EQ(tx->text(), expected) << c.lineLength << " " << c.ascii;
    }
}

TEST_F(TxTyping, MacroTextSharesTheWrapAndShowsZerosAsChosen)
{
    check("mnuLinewrap", true);
    preload(line(69));
    for (int code : {int('0'), 216, 10, 13, int('x')}) {
        std::int16_t c = static_cast<std::int16_t>(code);
        check("mnuZero", code == '0');
        TypeCharToTxWindow(c);
    }
    // the forced break before the first character; 216 is sent as it is and shown as 0 with
    // slashed zero off; the line feed is sent by nobody and not shown
    EXPECT_EQ(sent, std::vector<int>({13, '0', 216, 13, 'x'}));
    EXPECT_EQ(tx->text(), line(69) + "\r\n" + QChar(216) + "0\r\nx");
}

TEST_F(TxTyping, CaseModesSlashedZeroAndControlCodes)
{
    struct Case {
        int caseMode;
        bool zero, controlCodes;
        int keyCode, shift, ascii;
        int sentCode; // -1: nothing sent
        int shownCode; // -1: nothing shown
    };
    const Case cases[] = {
        {1, false, false, 'A', 0, 'a', 'a', 'a'},
        {2, false, false, 'A', 0, 'a', 'A', 'A'},
        {3, false, false, 'Q', 1, 'Q', 'q', 'q'},
        {2, false, false, 0, 0, 233, 201, 201}, // e acute becomes capital E acute
        {2, false, false, '5', 0, '5', '5', '5'},
        {1, true, false, '0', 0, '0', '0', 216},
        {2, true, false, '0', 0, '0', '0', 216},
        {1, false, false, '0', 0, '0', '0', '0'},
        {1, false, false, 'G', 2, 7, 7, 7},
        {1, false, true, 'G', 2, 7, 7, 127},
        {1, false, true, 13, 0, 13, 13, -2}, // a line break
    };
    for (const Case& c : cases) {
        TxCaseMode = static_cast<std::int16_t>(c.caseMode);
        check("mnuZero", c.zero);
        check("mnuControlCodes", c.controlCodes);
        preload("");
        key(c.keyCode, c.shift, c.ascii);
        EXPECT_EQ(sent, std::vector<int>({c.sentCode})) << c.ascii;
        const QString shown = c.shownCode == -2 ? QString("\r\n") : QString(cp1252::charOf(uchar(c.shownCode)));
        EXPECT_EQ(tx->text(), shown) << c.ascii;
    }
}

TEST_F(TxTyping, EscAbortsAndIsNeverSent)
{
    preload("unsent");
    check("mnuControlCodes", true);
    EXPECT_FALSE(key(27, 0, 27));
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(calls.contains("fnAbortTX"));
    EXPECT_EQ(tx->text(), QString(QChar(127))); // cleared by the abort, then shown as a control code
    check("mnuControlCodes", false);
    preload("unsent");
    key(27, 0, 27);
    EXPECT_EQ(tx->text(), "");
}

TEST_F(TxTyping, TypedTextGoesToTheEndInTheUnsentColour)
{
    TxTextColor = 255;
    preload("abc");
    tx->setSelStart(1);
    type("d");
    EXPECT_EQ(tx->text(), "abcd");
    tx->setSelection(3, 1);
    EXPECT_EQ(tx->selColor(), 255);
}

TEST_F(TxTyping, PastesOfThreeOrMoreAreSentWithoutTheLineFeeds)
{
    struct Case {
        QString pasted;
        std::vector<int> sent;
    };
    const Case cases[] = {
        {"abc", {'a', 'b', 'c'}},
        {"ab", {}},
        {"a\r\nb", {'a', 13, 'b'}},
        {"a\nb", {'a', 13, 'b'}},
        {QString("x") + QChar(0x20AC) + QChar(0x3A9), {'x', 128, '?'}}, // euro sign; no omega in the code page
    };
    for (const Case& c : cases) {
        preload("typed ");
        TxTextColor = 16711680;
        TxWindowPaste(c.pasted);
        EXPECT_EQ(sent, c.sent) << c.pasted.toStdString();
        EXPECT_EQ(TxSentMark, tx->length());
        EXPECT_EQ(tx->selStart(), tx->length());
    }
    // what was pasted last is in the unsent colour
    tx->setSelection(6, 1);
    EXPECT_EQ(tx->selColor(), 16711680);
    // two pasted characters stay unsent, and a third later is not a paste of three
    preload("");
    TxWindowPaste("ab");
    type("c");
    EXPECT_EQ(sent, std::vector<int>({'c'}));
    EXPECT_EQ(tx->text(), "abc");
}

TEST_F(TxTyping, ShorterTextSendsNothing)
{
    preload("hello world");
    tx->setSelection(0, 5);
    tx->replaceSelection("");
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(TxSentMark, 6);
}

TEST_F(TxTyping, FunctionKeyBanksFireTheirMacroButtons)
{
    struct Case {
        int keyCode, shift, button; // 0: nothing fired
    };
    const Case cases[] = {
        {112, 0, 1}, {123, 0, 12}, {112, 4, 13}, {123, 4, 24}, {112, 2, 25}, {123, 2, 36},
        {112, 1, 0}, {112, 6, 0}, {115, 3, 0},
    };
    for (const Case& c : cases) {
        calls.clear();
        EXPECT_FALSE(key(c.keyCode, c.shift));
        QStringList expected{"BreakMacroLoop"};
        if (c.button)
            expected << QString("Command1_Mouseup %1 0 0 0 0").arg(c.button);
        EXPECT_EQ(calls, expected) << c.keyCode << " " << c.shift;
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(tx->text(), "");
}

TEST_F(TxTyping, PauseStartsAndEndsTheTransmission)
{
    EXPECT_TRUE(key(19));
    EXPECT_EQ(calls, QStringList({"BreakMacroLoop", "fnSendTXCharacter 3 -1", "fnStartTX 0"}));
    GoToTransmit();
    calls.clear();
    key(19);
    EXPECT_EQ(calls, QStringList({"BreakMacroLoop", "fnSendTXCharacter 1 -1"}));
}

TEST_F(TxTyping, InsertFreezesTheReceiveWindowsAndLetsThemGoAgain)
{
    QTextEdit aux1Edit, aux2Edit;
    RichText aux1(&aux1Edit), aux2(&aux2Edit);
    bool aux2Open = false;
    RxLinks().AuxText = [&](int ch) -> RichText* { return ch == 1 ? &aux1 : aux2Open ? &aux2 : nullptr; };
    w->Rx->setBackColor(12632256);
    aux1.setBackColor(65280);
    aux2.setBackColor(255);
    w->Rx->setText("held back");
    w->Rx->setSelStart(0);
    PausedBackColor = "8421504";

    EXPECT_TRUE(key(45)); // Insert is passed on
    EXPECT_TRUE(RxFreeze);
    EXPECT_EQ(w->Rx->backColor(), 8421504);
    EXPECT_EQ(aux1.backColor(), 8421504);
    EXPECT_TRUE(w->RxWindow->property("frozen").toBool());
    EXPECT_EQ(RxBackColorSaved, "12632256");
    EXPECT_EQ(Aux1BackColorSaved, "65280");
    EXPECT_EQ(Aux2BackColorSaved, "");
    RxCharBuffer = "new text";
    OnEngineTick();
    EXPECT_EQ(w->Rx->text(), "held back"); // held back while frozen

    aux2Open = true; // opened while frozen: never saved, keeps its colour
    key(45);
    EXPECT_FALSE(RxFreeze);
    EXPECT_EQ(w->Rx->backColor(), 12632256);
    EXPECT_EQ(aux1.backColor(), 65280);
    EXPECT_EQ(aux2.backColor(), 255);
    EXPECT_FALSE(w->RxWindow->property("frozen").toBool());
    EXPECT_EQ(w->Rx->selStart(), w->Rx->length());
    EXPECT_TRUE(w->RxWindow->isReadOnly());
    OnEngineTick();
    EXPECT_EQ(w->Rx->text(), "held backnew text"); // shown at the next tick
}

TEST_F(TxTyping, BackspaceMovesTheEchoPointerBack)
{
    struct Case {
        QString text;
        int pointer, after;
        QString left;
    };
    const Case cases[] = {
        {"abc", 3, 2, "ab"},
        {"ab\r\n", 4, 2, "ab"},
        {"ab\r\n", 2, 0, "ab"},
        {"abc", 1, 1, "ab"},
        {"a", 2, 2, ""},
        {"", 5, 5, ""},
    };
    for (const Case& c : cases) {
        preload(c.text);
        TxCharPointer = c.pointer;
        key(8, 0, 8);
        EXPECT_EQ(sent, std::vector<int>({8})) << c.text.toStdString();
        EXPECT_EQ(TxCharPointer, c.after) << c.text.toStdString();
        EXPECT_EQ(tx->text(), c.left) << c.text.toStdString();
    }
}

TEST_F(TxTyping, RttyCharactersArePostedToTheEngine)
{
    PSKModeActive = false;
    type("ry");
    const auto m = rttyMessages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0], QList<qint64>({MMTTYMessage, 4, 'r'}));
    EXPECT_EQ(m[1], QList<qint64>({MMTTYMessage, 4, 'y'}));
    EXPECT_TRUE(sent.empty());
}

TEST_F(TxTyping, MouseStopsARepeatAndLeavesOneCharacterSelected)
{
    preload("abcdef");
    TxWindow_MouseDown();
    EXPECT_EQ(calls, QStringList({"BreakMacroLoop"}));
    tx->setSelStart(2);
    TxWindow_MouseUp();
    EXPECT_EQ(tx->selStart(), 2);
    EXPECT_EQ(tx->selLength(), 1);
}

TEST(TxKeyMap, QtKeysBecomeTheProgramsCodes)
{
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers mods;
        QString text;
        int keyCode, shift, ascii;
    };
    const Case cases[] = {
        {Qt::Key_Pause, Qt::NoModifier, "", 19, 0, 0},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", 27, 0, 27},
        {Qt::Key_Insert, Qt::ShiftModifier, "", 45, 1, 0},
        {Qt::Key_F1, Qt::NoModifier, "", 112, 0, 0},
        {Qt::Key_F12, Qt::AltModifier, "", 123, 4, 0},
        {Qt::Key_F5, Qt::ControlModifier, "", 116, 2, 0},
        {Qt::Key_Return, Qt::NoModifier, "\r", 13, 0, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13, 0, 13},
        {Qt::Key_Return, Qt::ControlModifier, "", 13, 2, 10},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", 8, 0, 8},
        {Qt::Key_G, Qt::ControlModifier, "", 71, 2, 7},
        {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, "", 65, 3, 1},
        {Qt::Key_Z, Qt::ControlModifier, "\x1a", 90, 2, 26},
        {Qt::Key_A, Qt::NoModifier, "a", 65, 0, 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 65, 1, 'A'},
        {Qt::Key_A, Qt::AltModifier, "a", 65, 4, 0},
        {Qt::Key_0, Qt::NoModifier, "0", 48, 0, '0'},
        {Qt::Key_Space, Qt::NoModifier, " ", 32, 0, 32},
        {Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), 0, 0, 233},
        {0x20AC, Qt::NoModifier, QString(QChar(0x20AC)), 0, 0, 128},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", 46, 0, 0},
        {Qt::Key_Left, Qt::NoModifier, "", 37, 0, 0},
    };
    for (const Case& c : cases) {
        const TxKey k = MapTxKey(c.qtKey, c.mods, c.text);
        EXPECT_EQ(k.keyCode, c.keyCode) << c.qtKey;
        EXPECT_EQ(k.shift, c.shift) << c.qtKey;
        EXPECT_EQ(k.ascii, c.ascii) << c.qtKey;
    }
}

TEST_F(TxTyping, RealKeysAndPastesReachTheHandlers)
{
    QTest::keyClicks(w->TxWindow, "hi");
    QTest::keyClick(w->TxWindow, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(sent, std::vector<int>({'h', 'i', 7}));
    QTest::keyClick(w->TxWindow, Qt::Key_F2, Qt::AltModifier);
    EXPECT_TRUE(calls.contains("Command1_Mouseup 14 0 0 0 0"));
    QTest::keyClick(w->TxWindow, Qt::Key_Left);
    EXPECT_EQ(tx->selStart(), 2); // the control moved its caret

    sent.clear();
    QGuiApplication::clipboard()->setText("cq cq");
    w->TxWindow->paste();
    EXPECT_EQ(sent, std::vector<int>({'c', 'q', ' ', 'c', 'q'}));
    EXPECT_EQ(tx->text(), QString("hi") + QChar(7) + "cq cq");
}

} // namespace
