// The command queue and the poll state machine, tick by tick.
#include "hex.h"
#include "rig_bench.h"

#include "radio_control/command_queue.h"

using namespace varnel;

namespace {

QueuedCommand cmd(const char* text, bool ptt = false)
{
    return {QByteArray(text), false, QString(), ptt};
}

TEST(CommandQueue, HoldsTwentyAndKeepsPttCommands)
{
    CommandQueue q;
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(q.push(cmd(qPrintable(QStringLiteral("F%1;").arg(i)))));
    EXPECT_EQ(q.size(), 20);
    const auto lost = q.push(cmd("F20;"));
    ASSERT_TRUE(lost);
    EXPECT_EQ(lost->bytes, QByteArray("F20;"));
    EXPECT_EQ(q.size(), 20);

    // A PTT command makes room: the oldest other command goes.
    const auto made = q.push(cmd("RX;", true));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->bytes, QByteArray("F0;"));
    EXPECT_EQ(q.at(0).bytes, QByteArray("F1;"));
    EXPECT_EQ(q.at(19).bytes, QByteArray("RX;"));

    // Sending one frees exactly one row.
    EXPECT_EQ(q.pop()->bytes, QByteArray("F1;"));
    EXPECT_FALSE(q.push(cmd("A;")));
    EXPECT_TRUE(q.push(cmd("B;")));

    // Empty commands take no row.
    EXPECT_FALSE(q.push(cmd("")));
    EXPECT_EQ(q.size(), 20);

    CommandQueue all;
    for (int i = 0; i < 20; ++i)
        all.push(cmd(i % 2 ? "TX;" : "RX;", true));
    EXPECT_EQ(all.push(cmd("TX;", true))->bytes, QByteArray("RX;"));
    EXPECT_EQ(all.at(19).bytes, QByteArray("TX;"));
}

TEST(PollStateMachine, QueuedWhileClosedThenOnePerTickThenPolling)
{
    RigBench b;
    b.call("setDebugWindow");
    b.call("SetRadioType", {QStringLiteral("Kenwood - all")});
    for (int i = 0; i < 25; ++i)
        b.call("setRadioFrequency", {QStringLiteral("%1").arg(14000 + i)});
    EXPECT_EQ(b.rig().queue().size(), 20);
    int dropped = 0;
    for (const auto& l : b.rig().debugWindow()->lines())
        dropped += l.text.startsWith(QStringLiteral("Queue full: command dropped: FA000140"));
    EXPECT_EQ(dropped, 5);

    b.rig().timerTick(); // port closed: nothing happens
    EXPECT_EQ(b.rig().queue().size(), 20);

    b.sim = std::make_unique<RadioSimulator>(RadioSimulator::Kenwood);
    b.sim->assignToPort(RigBench::kPort);
    b.call("CommPort", {RigBench::kPort});
    ASSERT_EQ(b.call("PortOpen", {true}), QVariant(1));
    for (int i = 0; i < 20; ++i) {
        b.cycle();
        ASSERT_EQ(b.sim->commands().size(), i + 1);
        EXPECT_EQ(b.sim->commands().last(),
                  QStringLiteral("FA000%1").arg(14000 + i).toLatin1() + "000;");
    }
    EXPECT_EQ(b.sim->frequencyHz(), 14019000);
    b.cycle(); // idle: the poll is queued, nothing sent
    EXPECT_EQ(b.sim->commands().size(), 20);
    EXPECT_EQ(b.rig().queue().size(), 1);
    b.cycle(); // the poll goes out and is answered
    EXPECT_EQ(b.sim->commands().last(), QByteArray("IF;"));
    EXPECT_EQ(b.rig().stateTag(), QStringLiteral("FromFreq"));
    b.cycle();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14019")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("USB")));
    EXPECT_TRUE(b.rig().stateTag().isEmpty());
}

TEST(PollStateMachine, SilentRadioForcesResetOnTheTenthWaitingTick)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    b.call("setDebugWindow");
    b.sim->setSilent(true);
    b.rig().inputTestString(QStringLiteral("IF0001"));
    b.cycle(); // queue the poll
    b.cycle(); // send it
    ASSERT_EQ(b.rig().stateTag(), QStringLiteral("FromFreq"));
    for (int i = 1; i <= 9; ++i) {
        b.cycle();
        EXPECT_EQ(b.rig().stallCount(), i);
        EXPECT_EQ(b.rig().stateTag(), QStringLiteral("FromFreq"));
    }
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QString()));
    b.cycle();
    EXPECT_EQ(b.rig().stallCount(), 0);
    EXPECT_TRUE(b.rig().stateTag().isEmpty());
    EXPECT_TRUE(b.rig().replyBuffer().isEmpty());
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("0")));
    const auto lines = b.rig().debugWindow()->lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last().text, QStringLiteral("Timer Fired : Forced StateMachine reset (I got tired of waiting)."));
    EXPECT_EQ(lines.last().colour, DebugWindow::kMessageColour);
    b.cycle(); // a new poll is queued
    EXPECT_EQ(b.rig().queue().size(), 1);
    EXPECT_EQ(b.rig().queue().at(0).tag, QStringLiteral("FromFreq"));
}

TEST(PollStateMachine, StallCountStartsAgainWithEachReply)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    b.sim->setDelayPumps(5); // every answer five ticks late
    b.cycles(2);             // queue and send the first poll
    int replies = 0;
    for (int i = 0; i < 40; ++i) {
        const int before = b.rig().stallCount();
        b.cycle();
        if (b.rig().stallCount() < before) {
            ++replies;
            EXPECT_EQ(b.rig().stallCount(), 0);
            EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
        }
    }
    // Nine waiting ticks in all would have forced a reset; each answer ended its own wait.
    EXPECT_GE(replies, 5);
}

TEST(PollStateMachine, DirectCommandGoesBeforeTheNextPoll)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    b.cycles(2); // poll queued, then sent and answered
    b.call("setDirectRadioCommand", {QStringLiteral("FA00014071000;")});
    b.call("setPTTByCommandOn");
    b.cycle(); // the answer is taken and the direct command leaves in the same tick
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    ASSERT_EQ(b.sim->commands().size(), 2);
    EXPECT_EQ(b.sim->commands()[1], QByteArray("FA00014071000;"));
    b.cycle();
    EXPECT_EQ(b.sim->commands().last(), QByteArray("TX;"));
    EXPECT_TRUE(b.sim->ptt());
    b.cycles(3); // poll queued, sent, answered
    EXPECT_EQ(b.sim->commands().last(), QByteArray("IF;"));
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14071")));
}

TEST(PollStateMachine, PopOnEmptyQueueKeepsTheTag)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    b.sim->setSilent(true);
    b.cycles(2);
    ASSERT_EQ(b.rig().stateTag(), QStringLiteral("FromFreq"));
    EXPECT_FALSE(b.call("PopRadioMessage").isValid());
    EXPECT_EQ(b.rig().stateTag(), QStringLiteral("FromFreq"));
}

TEST(PollStateMachine, CivReplyTakenAndNextCommandSentInTheSameTick)
{
    RigBench b;
    b.connect(RadioSimulator::Icom, "Icom (not IC-735)");
    b.cycle(); // two poll rows queued
    EXPECT_EQ(b.rig().queue().size(), 2);
    b.cycle(); // 03 sent, answered
    EXPECT_EQ(b.sim->commands().size(), 1);
    b.cycle(); // answer taken, 04 sent in the same tick
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    ASSERT_EQ(b.sim->commands().size(), 2);
    EXPECT_EQ(hexText(b.sim->commands()[1]), QStringLiteral("FE FE 58 E0 04 FD"));
    b.cycle();
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("USB")));
}

TEST(PollStateMachine, PttIsNeverLostToAFullQueue)
{
    RigBench b;
    b.call("setDebugWindow");
    b.call("SetRadioType", {QStringLiteral("Yaesu FT-1000D")});
    for (int i = 0; i < 20; ++i)
        b.call("setRadioFrequency", {QStringLiteral("%1").arg(7000 + i)});
    b.call("setPTTByCommandOff");
    ASSERT_EQ(b.rig().queue().size(), 20);
    EXPECT_EQ(hexText(b.rig().queue().at(19).bytes), QStringLiteral("00 00 00 00 0F"));
    EXPECT_EQ(hexText(b.rig().queue().at(0).bytes), QStringLiteral("00 01 70 00 0A"));
    const auto lines = b.rig().debugWindow()->lines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].text, QStringLiteral("Queue full: command dropped: 00 00 70 00 0A "));
    EXPECT_EQ(lines[0].colour, DebugWindow::kMessageColour);
}

TEST(PollStateMachine, BufferOfTypesWithoutParserIsCapped)
{
    RigBench b;
    b.call("inputTestString", {QString(1000, u'a')});
    b.call("inputTestString", {QString(100, u'b')});
    EXPECT_EQ(b.rig().replyBuffer().size(), 1024);
    EXPECT_TRUE(b.rig().replyBuffer().endsWith(QByteArray(100, 'b')));
    EXPECT_TRUE(b.rig().replyBuffer().startsWith("aaa"));
    b.call("SetRadioType", {QStringLiteral("Kachina 505")});
    b.call("inputTestString", {QString(2000, u'c')});
    EXPECT_EQ(b.rig().replyBuffer(), QByteArray(1024, 'c'));
}

TEST(PollStateMachine, TypeChangeKeepsQueueAndTexts)
{
    RigBench b;
    b.call("SetRadioType", {QStringLiteral("Kenwood - all")});
    b.call("setPTTByCommandOn");
    b.call("inputTestString", {QStringLiteral("IF00014070150     +000000000020000000;")});
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    b.call("SetRadioType", {QStringLiteral("Bogus")});
    EXPECT_EQ(b.rig().queue().size(), 1);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("USB")));
}

} // namespace
