// "Radio debug monitor": its lines, their colours and hex form, labels, and its lifetime.
#include "hex.h"
#include "rig_bench.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace varnel;

namespace {

using Lines = QList<DebugWindow::Line>;

TEST(DebugWindow, TrafficLinesColoursAndLabels)
{
    RigBench b;
    b.connect(RadioSimulator::Icom, "Icom (not IC-735)");
    b.cycles(2); // 03 sent while the window is closed: no trace
    EXPECT_EQ(b.call("setDebugWindow"), QVariant(0));
    DebugWindow* w = b.rig().debugWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Radio debug monitor"));
    EXPECT_EQ(w->frequencyLabel(), QStringLiteral("FREQ :"));
    EXPECT_EQ(w->modeLabel(), QStringLiteral("MODE : "));
    b.cycle(); // answer taken, 04 sent
    b.cycle(); // mode taken
    const Lines lines = w->lines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].text, QStringLiteral("FE FE 58 E0 03 FD FE FE E0 58 03 50 01 07 14 00 FD "));
    EXPECT_EQ(lines[0].colour, DebugWindow::kRxColour);
    EXPECT_EQ(lines[1].text, QStringLiteral("FE FE 58 E0 04 FD "));
    EXPECT_EQ(lines[1].colour, DebugWindow::kTxColour);
    EXPECT_EQ(lines[2].text, QStringLiteral("FE FE 58 E0 04 FD FE FE E0 58 04 01 01 FD "));
    EXPECT_EQ(lines[2].colour, DebugWindow::kRxColour);
    EXPECT_EQ(w->frequencyLabel(), QStringLiteral("FREQ :  14070.15"));
    EXPECT_EQ(w->modeLabel(), QStringLiteral("MODE : USB"));
}

TEST(DebugWindow, KenwoodTextAndDirectCommands)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    b.call("setDebugWindow");
    b.call("setDirectRadioCommand", {QStringLiteral("IF;")});
    b.call("setDirectRadioCommandHEX", {QStringLiteral("IF;")});
    b.cycles(3);
    const Lines lines = b.rig().debugWindow()->lines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0].text, QStringLiteral("IF;"));
    EXPECT_EQ(lines[0].colour, DebugWindow::kTxColour);
    // The radio's answer to the first IF; is taken with the second one's sending.
    EXPECT_EQ(lines[1].text, QStringLiteral("IF00014070150     +000000000020000000;"));
    EXPECT_EQ(lines[1].colour, DebugWindow::kRxColour);
    EXPECT_EQ(lines[2].text, QStringLiteral("49 46 3B "));
    EXPECT_EQ(lines[2].colour, DebugWindow::kTxColour);
}

TEST(DebugWindow, ForcedResetIsRedAndClosingForgetsTheText)
{
    RigBench b;
    b.call("setDebugWindow");
    for (int i = 0; i < 10; ++i)
        b.call("doStateMachineReset");
    Lines lines = b.rig().debugWindow()->lines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].text, QStringLiteral("Timer Fired : Forced StateMachine reset (I got tired of waiting)."));
    EXPECT_EQ(lines[0].colour, 255);

    // The operator's close box: the state drops at once, and a new window starts empty.
    b.rig().debugWindow()->close();
    EXPECT_EQ(b.call("getDebugWindowState"), QVariant(0));
    for (int i = 0; i < 10; ++i)
        b.call("doStateMachineReset"); // not recorded
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    b.call("setDebugWindow");
    EXPECT_EQ(b.call("getDebugWindowState"), QVariant(1));
    EXPECT_TRUE(b.rig().debugWindow()->lines().isEmpty());
}

TEST(DebugWindow, KachinaReadLinesOnEveryClosedTick)
{
    RigBench b;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("k.dat"));
    b.call("SetRadioType", {QStringLiteral("Kachina 505")});
    b.call("PutRadioFileName", {file});
    b.call("setDebugWindow");
    b.rig().timerTick(); // no file yet
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(hexBytes("00 00 86 B1 D6 00 00 00 00 00 05"));
    f.close();
    b.rig().timerTick();
    const Lines lines = b.rig().debugWindow()->lines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].text, QStringLiteral("Kachina data read at : ") + file);
    EXPECT_EQ(lines[0].colour, DebugWindow::kTxColour);
    EXPECT_EQ(lines[1].text, lines[0].text);
    EXPECT_EQ(lines[2].text, QStringLiteral("00 00 86 B1 D6 00 00 00 00 00 05 "));
    EXPECT_EQ(lines[2].colour, DebugWindow::kRxColour);
    EXPECT_EQ(b.rig().debugWindow()->frequencyLabel(), QStringLiteral("FREQ : 14070.150"));
    EXPECT_EQ(b.rig().debugWindow()->modeLabel(), QStringLiteral("MODE : LSB"));
}

TEST(DebugWindow, MouseUpCopiesOnlyASelection)
{
    RigBench b;
    b.call("setDebugWindow");
    for (int i = 0; i < 10; ++i)
        b.call("doStateMachineReset");
    auto* text = b.rig().debugWindow()->findChild<QPlainTextEdit*>();
    ASSERT_TRUE(text);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::mouseRelease(text->viewport(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    QTextCursor c = text->textCursor();
    c.setPosition(0);
    c.setPosition(11, QTextCursor::KeepAnchor);
    text->setTextCursor(c);
    QTest::mouseRelease(text->viewport(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Timer Fired"));
}

} // namespace
