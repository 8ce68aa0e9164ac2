// Radios that misbehave, driven tick by tick on their simulators: silent while PTT must go,
// unplugged, holding the line with XOFF, answering garbage, broadcasting, refusing reads.
#include "hex.h"
#include "rig_bench.h"

#include "radio_control/radio_types.h"
#include "radio_control/reply_parsers.h"
#include "platform/vb/vbnum.h"

#include <functional>
#include <random>

using namespace varnel;

namespace {

QStringList messages(RigBench& b, const QString& containing)
{
    QStringList out;
    for (const auto& l : b.rig().debugWindow()->lines())
        if (l.colour == DebugWindow::kMessageColour && l.text.contains(containing))
            out << l.text;
    return out;
}

struct PttCase {
    const char* type;
    RadioSimulator::Model model;
    const char* on;  // hex
    const char* off; // hex
};

class PttBehindASilentPoll : public testing::TestWithParam<PttCase> {};

TEST_P(PttBehindASilentPoll, GoesAtTheNextTick)
{
    const PttCase c = GetParam();
    RigBench b;
    b.connect(c.model, c.type);
    b.sim->setSilent(true);
    b.cycles(2); // the poll is queued, then sent; no answer comes
    ASSERT_EQ(b.rig().stateTag(), QStringLiteral("FromFreq"));

    b.call("setPTTByCommandOn");
    b.cycle();
    EXPECT_EQ(hexText(b.sim->commands().last()), QString::fromLatin1(c.on));
    EXPECT_TRUE(b.sim->ptt());

    // A host command waits in the queue and a poll is again unanswered; the release goes
    // first, at the next tick, and a keying still queued behind it never goes.
    b.cycles(2);
    b.call("setRadioFrequency", {QStringLiteral("7040")});
    b.call("setPTTByCommandOn");
    b.call("setPTTByCommandOff");
    const qsizetype before = b.sim->commands().size();
    b.cycle();
    ASSERT_EQ(b.sim->commands().size(), before + 1);
    EXPECT_EQ(hexText(b.sim->commands().last()), QString::fromLatin1(c.off));
    EXPECT_FALSE(b.sim->ptt());
    EXPECT_TRUE(b.rig().stateTag().isEmpty());
    for (int i = 0; i < b.rig().queue().size(); ++i)
        EXPECT_FALSE(b.rig().queue().at(i).ptt);
    b.cycles(3);
    for (const QByteArray& sent : b.sim->commands().mid(before + 1))
        EXPECT_NE(hexText(sent), QString::fromLatin1(c.on));
}

const PttCase kEveryType[] = {
    {"Icom (not IC-735)", RadioSimulator::Icom, "FE FE 58 E0 1C 00 01 FD", "FE FE 58 E0 1C 00 00 FD"},
    {"Icom (IC-735 only)", RadioSimulator::Icom735, "FE FE 58 E0 1C 00 01 FD", "FE FE 58 E0 1C 00 00 FD"},
    {"Ten Tec Omni VI", RadioSimulator::OmniVI, "FE FE 58 E0 16 01 FD", "FE FE 58 E0 16 02 FD"},
    {"Kenwood - all", RadioSimulator::Kenwood, "54 58 3B", "52 58 3B"},
    {"Yaesu FT-1000D", RadioSimulator::FT1000D, "00 00 00 01 0F", "00 00 00 00 0F"},
    {"Yaesu FT-1000MP", RadioSimulator::FT1000MP, "00 00 00 01 0F", "00 00 00 00 0F"},
    {"Yaesu FT-990", RadioSimulator::FT990, "00 00 00 01 0F", "00 00 00 00 0F"},
    {"Yaesu FT-847", RadioSimulator::FT847, "00 00 00 00 08", "00 00 00 00 88"}};

// One type of each framing (the IC-735 takes no PTT command: only the wire tells).
INSTANTIATE_TEST_SUITE_P(EveryFraming, PttBehindASilentPoll,
                         testing::Values(kEveryType[0], kEveryType[2], kEveryType[3], kEveryType[5], kEveryType[7]));

// The port closed, or the component ended, while the radio transmits: the release is on the
// wire before the port closes, and a keying still queued never goes.
class PttWhenThePortCloses : public testing::TestWithParam<PttCase> {};

TEST_P(PttWhenThePortCloses, ReleaseGoesFirst)
{
    const PttCase c = GetParam();
    for (const bool componentEnds : {false, true}) {
        RigBench b;
        b.connect(c.model, c.type);
        b.call("setPTTByCommandOn");
        b.cycle();
        ASSERT_EQ(hexText(b.sim->commands().last()), QString::fromLatin1(c.on)) << c.type;
        b.call("setPTTByCommandOn");
        if (componentEnds)
            b.end();
        else
            EXPECT_EQ(b.call("PortOpen", {false}), QVariant(1));
        b.sim->pump(1, 1000);
        EXPECT_EQ(hexText(b.sim->commands().last()), QString::fromLatin1(c.off)) << c.type << componentEnds;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryType, PttWhenThePortCloses, testing::ValuesIn(kEveryType));

TEST(CivAddress, ZeroReachesTheRadio)
{
    RigBench b;
    b.connect(RadioSimulator::Icom, "Icom (not IC-735)");
    b.call("setDebugWindow");
    ASSERT_EQ(b.call("setIcomAddress", {QStringLiteral("00")}), QVariant(1));
    b.sim->setFrequencyHz(7040000);
    b.call("setRadioFrequency", {QStringLiteral("14070.15")});
    b.call("setPTTByCommandOn");
    b.cycles(8);
    EXPECT_TRUE(b.sim->commands().contains(hexBytes("FE FE 00 E0 05 50 01 07 14 00 FD")));
    EXPECT_TRUE(b.sim->commands().contains(hexBytes("FE FE 00 E0 1C 00 01 FD")));
    EXPECT_EQ(b.sim->frequencyHz(), 14070150);
    EXPECT_TRUE(b.sim->ptt());
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    EXPECT_TRUE(messages(b, QStringLiteral("CI-V address")).isEmpty());
}

TEST(PortGoesAway, ClosesReportsOnceAndCarriesOnWhenBack)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    b.call("setDebugWindow");
    b.cycles(3);
    ASSERT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    b.call("setPTTByCommandOn");
    b.cycle();
    ASSERT_TRUE(b.sim->ptt());

    b.sim->unplug();
    for (int i = 0; i < 5; ++i)
        b.cycle();
    EXPECT_EQ(b.call("getCommPortState"), QVariant(false));
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("0")));
    EXPECT_EQ(messages(b, QStringLiteral("went away")).size(), 1);
    EXPECT_TRUE(b.rig().reopenTimer().isActive());
    EXPECT_EQ(b.rig().reopenTimer().interval(), 2000);
    b.rig().retryLostPort(); // still away: nothing changes, nothing more is said
    EXPECT_EQ(b.call("getCommPortState"), QVariant(false));
    EXPECT_EQ(messages(b, QStringLiteral("Radio port")).size(), 1);

    // The adapter is back under the same port.
    ASSERT_TRUE(b.sim->replug());
    b.sim->assignToPort(RigBench::kPort);
    b.sim->clearRecord();
    b.sim->setFrequencyHz(7040000);
    b.rig().retryLostPort();
    EXPECT_EQ(b.call("getCommPortState"), QVariant(true));
    EXPECT_FALSE(b.rig().reopenTimer().isActive());
    b.cycle(); // the transmitter keyed before the loss is released first
    ASSERT_FALSE(b.sim->commands().isEmpty());
    EXPECT_EQ(b.sim->commands().first(), QByteArray("RX;"));
    b.cycles(3);
    EXPECT_EQ(b.sim->commands().last(), QByteArray("IF;"));
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("7040")));

    // Closing by the host ends the tries.
    b.sim->unplug();
    b.cycle();
    ASSERT_TRUE(b.rig().reopenTimer().isActive());
    EXPECT_EQ(b.call("PortOpen", {false}), QVariant(1));
    EXPECT_FALSE(b.rig().reopenTimer().isActive());
}

TEST(PortGoesAway, Ft847GetsCatOnAgainWhenBack)
{
    RigBench b;
    b.connect(RadioSimulator::FT847, "Yaesu FT-847");
    b.cycles(3);
    b.sim->unplug();
    b.cycle();
    ASSERT_TRUE(b.sim->replug());
    b.sim->assignToPort(RigBench::kPort);
    b.sim->clearRecord();
    b.rig().retryLostPort();
    b.call("setPTTByCommandOn");
    b.cycle();
    EXPECT_EQ(hexText(b.sim->received()), QStringLiteral("00 00 00 00 00 00 00 00 00 08"));
    EXPECT_TRUE(b.sim->ptt());
}

TEST(FlowControl, XoffNeverBlocksAndStaleCommandsGo)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    ASSERT_EQ(b.call("Handshaking", {1}), QVariant(1)); // XON/XOFF
    b.call("setDebugWindow");
    b.cycles(3);
    b.cycle(); // a poll is queued
    b.sim->holdOff();
    QThread::msleep(30); // the line discipline takes the XOFF

    b.sim->clearRecord();
    QElapsedTimer clock;
    const auto timed = [&](const std::function<void()>& call) {
        clock.start();
        call();
        EXPECT_LT(clock.elapsed(), 50);
    };
    timed([&] { b.rig().timerTick(); });
    timed([&] { b.call("setRadioFrequency", {QStringLiteral("7040")}); });
    timed([&] { b.rig().timerTick(); });
    timed([&] { b.call("setPTTByCommandOn"); });
    timed([&] { b.rig().timerTick(); });
    timed([&] { b.call("setPTTByCommandOff"); });
    for (int i = 0; i < 5; ++i)
        timed([&] { b.rig().timerTick(); });
    timed([&] { b.call("NowOutputToRadio", {QStringLiteral("FA00003500000;"), QStringLiteral("False")}); });
    timed([&] { b.rig().timerTick(); });

    EXPECT_TRUE(b.rig().holdingOff());
    EXPECT_EQ(messages(b, QStringLiteral("holds off")).size(), 1);
    b.sim->pump(0, 0);
    EXPECT_TRUE(b.sim->received().isEmpty());
    // The poll went stale and was dropped; the keying is superseded by the release.
    ASSERT_EQ(b.rig().queue().size(), 2);
    EXPECT_EQ(b.rig().queue().at(0).bytes, QByteArray("FA00007040000;"));
    EXPECT_EQ(b.rig().queue().at(1).bytes, QByteArray("RX;"));

    b.sim->resume();
    QThread::msleep(30);
    b.cycle(); // what was written before goes first, then the release
    b.cycles(4);
    ASSERT_GE(b.sim->commands().size(), 4);
    EXPECT_EQ(b.sim->commands()[0], QByteArray("FA00003500000;"));
    EXPECT_EQ(b.sim->commands()[1], QByteArray("RX;"));
    EXPECT_EQ(b.sim->commands()[2], QByteArray("FA00007040000;"));
    EXPECT_EQ(b.sim->commands()[3], QByteArray("IF;"));
    EXPECT_FALSE(b.rig().holdingOff());
    b.cycle();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("7040")));
}

// Random bytes, now and then shaped like the start of a reply, arriving in pieces.
struct NoiseCase {
    int code;
    qsizetype block;  // a status block's exact length; 0 for the framed replies
    double lowestKHz, highestKHz;
};

TEST(Replies, RandomBytesNeverBecomeAFrequency)
{
    const NoiseCase cases[] = {
        {IcomCiv, 0, 0, 0}, {Icom735, 0, 0, 0}, {TenTecOmniVI, 0, 0, 0}, {Kenwood, 0, 0, 0},
        {YaesuFT1000D, 16, 100, 30000}, {YaesuFT1000MP, 16, 100, 30000}, {YaesuFT990, 32, 100, 30000},
        {YaesuFT847, 5, 100, 512000},
    };
    std::mt19937 random(12);
    const auto byte = [&random](int upTo = 255) { return static_cast<char>(random() % (upTo + 1)); };
    for (const NoiseCase& c : cases) {
        SCOPED_TRACE(c.code);
        for (int n = 0; n < 300; ++n) {
            QByteArray noise;
            const int length = 1 + int(random() % 64);
            if (c.code == Kenwood && random() % 2)
                noise = "IF";
            while (noise.size() < length) {
                const int pick = int(random() % 8);
                // CI-V framing bytes and the controller's address come often.
                noise.append(pick == 0 ? '\xFE' : pick == 1 ? '\xFD' : pick == 2 ? '\xE0' : byte());
            }
            RigBench b;
            for (const QString& name : radioTypeNames())
                if (radioCodeForName(name) == c.code)
                    b.call("SetRadioType", {name});
            bool blockAtABoundary = false;
            qsizetype at = 0;
            while (at < noise.size()) {
                const QByteArray piece = noise.mid(at, 1 + qsizetype(random() % 24));
                QString chars;
                for (char ch : piece)
                    chars += QChar(static_cast<unsigned char>(ch));
                blockAtABoundary |= c.block && b.rig().replyBuffer().size() + piece.size() == c.block;
                b.rig().inputTestString(chars);
                at += piece.size();
            }
            const QString f = b.call("getRadioFreq").toString();
            if (!blockAtABoundary) {
                EXPECT_TRUE(f.isEmpty()) << hexText(noise).toStdString() << " gave " << f.toStdString();
            } else if (!f.isEmpty()) {
                // A block of exactly the right length is only believed with a frequency the
                // radio can have.
                EXPECT_GE(vb::Val(f), c.lowestKHz);
                EXPECT_LE(vb::Val(f), c.highestKHz);
            }
        }
    }
    // Twenty random bytes once gave an FT-1000MP 618790.090625 kHz.
    RigBench b;
    b.call("SetRadioType", {QStringLiteral("Yaesu FT-1000MP")});
    b.rig().inputTestString(QString::fromLatin1("\x3A\xFC\x16\x9B\x11\x0E\xC4\x7D\x52\xA8\x01\xEE\x90\x33\x5F\x6C\xD1\x08\x77\x2B"));
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QString()));
}

struct CivCase {
    const char* name;
    int code;
    QByteArray buffer;
    std::optional<unsigned char> address, awaited;
    ParseResult::Kind kind;
    const char* freq;
    const char* mode;
};

TEST(Replies, CivFramesTransceiveAndRefusals)
{
    const CivCase cases[] = {
        {"broadcast alone is a report", IcomCiv, hexBytes("FE FE 00 58 00 00 00 04 07 00 FD"), 0x58, std::nullopt,
         ParseResult::Report, "7040", ""},
        {"broadcast answers the frequency read", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE 00 58 00 00 00 04 07 00 FD"),
         0x58, 0x03, ParseResult::Taken, "7040", ""},
        {"broadcast during the mode read", IcomCiv, hexBytes("FE FE 00 58 00 00 00 04 07 00 FD"), 0x58, 0x04,
         ParseResult::Report, "7040", ""},
        {"broadcast of four bytes on the IC-735", Icom735, hexBytes("FE FE 00 04 00 00 00 04 07 FD"), std::nullopt,
         std::nullopt, ParseResult::Report, "7040", ""},
        {"broadcast with no BCD digits", IcomCiv, hexBytes("FE FE 00 58 00 00 0A 04 07 00 FD"), 0x58, 0x03,
         ParseResult::Dropped, "", ""},
        {"broadcast of another radio", IcomCiv, hexBytes("FE FE 00 60 00 00 00 04 07 00 FD"), 0x58, 0x03,
         ParseResult::Dropped, "", ""},
        {"address 00 hears any radio", IcomCiv, hexBytes("FE FE 00 60 00 00 00 04 07 00 FD"), 0x00, 0x03,
         ParseResult::Taken, "7040", ""},
        {"broadcast between echo and reply", IcomCiv,
         hexBytes("FE FE 58 E0 03 FD FE FE 00 58 00 00 00 04 07 00 FD FE FE E0 58 03 50 01 07 14 00 FD"), 0x58, 0x03,
         ParseResult::Taken, "14070.15", ""},
        {"reply of another radio", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE E0 60 03 50 01 07 14 00 FD"), 0x58,
         0x03, ParseResult::Dropped, "", ""},
        {"late frequency reply during the mode read", IcomCiv, hexBytes("FE FE E0 58 03 50 01 07 14 00 FD"), 0x58,
         0x04, ParseResult::Report, "14070.15", ""},
        {"FA to the mode read ends the wait", TenTecOmniVI, hexBytes("FE FE 58 E0 04 FD FE FE E0 58 FA FD"), 0x58,
         0x04, ParseResult::Taken, "", ""},
        {"FA to the frequency read does not", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE E0 58 FA FD"), 0x58, 0x03,
         ParseResult::Dropped, "", ""},
        {"frame broken by a new preamble, then a reply", IcomCiv,
         hexBytes("FE FE E0 58 03 50 FE FE E0 58 03 50 01 07 14 00 FD"), 0x58, 0x03, ParseResult::Taken,
         "14070.15", ""},
    };
    for (const CivCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ParseResult r = parseReply(c.code, c.buffer, ReplyContext{c.address, c.awaited});
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.freqText, QString::fromLatin1(c.freq));
        EXPECT_EQ(r.mode, QString::fromLatin1(c.mode));
    }
}

TEST(Replies, RadioThatOnlyBroadcastsShowsItsFrequency)
{
    RigBench b;
    b.connect(RadioSimulator::Icom, "Icom (not IC-735)");
    b.sim->setSilent(true);
    b.cycles(3);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QString()));
    b.sim->setFrequencyHz(7040000);
    b.sim->broadcastFrequency();
    b.settle(11);
    b.cycle();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("7040")));
    // The frequency read has its answer: the mode read follows in the same tick.
    EXPECT_EQ(hexText(b.sim->commands().last()), QStringLiteral("FE FE 58 E0 04 FD"));
}

TEST(Replies, RadioWithoutModeReadIsNoStall)
{
    RigBench b;
    b.connect(RadioSimulator::OmniVI, "Ten Tec Omni VI");
    b.call("setDebugWindow");
    b.sim->setNoModeRead(true);
    for (int i = 0; i < 40; ++i) {
        b.cycle();
        EXPECT_EQ(b.rig().stallCount(), 0);
    }
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    EXPECT_TRUE(messages(b, QStringLiteral("Forced StateMachine reset")).isEmpty());
}

struct RangeCase {
    const char* type;
    RadioSimulator::Model model;
    QStringList beyond; // kHz the radio cannot tune
};

TEST(SetFrequency, EveryRadioRefusesWhatItCannotTune)
{
    const QList<RangeCase> cases = {
        {"Icom (IC-735 only)", RadioSimulator::Icom735, {"144300", "1296100.000"}},
        {"Icom (not IC-735)", RadioSimulator::Icom, {"4000000", "10368100"}},
        {"Ten Tec Omni VI", RadioSimulator::OmniVI, {"144300", "40000"}},
        {"Kenwood - all", RadioSimulator::Kenwood, {"100000", "2400000"}},
        {"Yaesu FT-1000D", RadioSimulator::FT1000D, {"144300", "50.5"}},
        {"Yaesu FT-1000MP", RadioSimulator::FT1000MP, {"144300.00", "50100"}},
        {"Yaesu FT-990", RadioSimulator::FT990, {"144300", "30000.01"}},
        {"Yaesu FT-847", RadioSimulator::FT847, {"1296100", "90000"}},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.type);
        RigBench b;
        b.connect(c.model, c.type);
        b.call("setDebugWindow");
        for (const QString& f : c.beyond) {
            // Refused with 1, and a box for the operator (its words: the codec tests).
            EXPECT_EQ(b.call("setRadioFrequency", {f}), QVariant(1)) << f.toStdString();
            EXPECT_TRUE(b.rig().queue().isEmpty()) << f.toStdString();
        }
        ASSERT_EQ(b.boxes.messages().size(), c.beyond.size());
        EXPECT_EQ(b.boxes.messages()[0].title, "Frequency not set");
        EXPECT_EQ(messages(b, QStringLiteral("the radio was not tuned")).size(), c.beyond.size());
        b.cycles(6);
        EXPECT_EQ(b.sim->frequencyHz(), 14070150);
        EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    }
}

struct LateCase {
    const char* name;
    const char* type;
    RadioSimulator::Model model;
    int delayTicks; // an answer begins this many ticks after its poll
    int pieces;     // and comes in this many pieces, one a tick
    bool silent;
};

// 120 ticks: a minute at a 500 ms poll.
TEST(PollStateMachine, LateAnswersKeepTheFrequencySilenceResets)
{
    const LateCase cases[] = {
        {"Kenwood 0.7 s late", "Kenwood - all", RadioSimulator::Kenwood, 1, 1, false},
        {"IC-735 0.7 s late", "Icom (IC-735 only)", RadioSimulator::Icom735, 1, 1, false},
        {"Omni VI 0.7 s late", "Ten Tec Omni VI", RadioSimulator::OmniVI, 1, 1, false},
        {"FT-1000MP 0.7 s late", "Yaesu FT-1000MP", RadioSimulator::FT1000MP, 1, 1, false},
        {"FT-990 0.7 s late", "Yaesu FT-990", RadioSimulator::FT990, 1, 1, false},
        {"Kenwood in pieces", "Kenwood - all", RadioSimulator::Kenwood, 0, 3, false},
        {"FT-990 in pieces", "Yaesu FT-990", RadioSimulator::FT990, 0, 4, false},
        {"silent", "Kenwood - all", RadioSimulator::Kenwood, 0, 1, true},
    };
    for (const LateCase& c : cases) {
        SCOPED_TRACE(c.name);
        RigBench b;
        b.connect(c.model, c.type);
        b.call("setDebugWindow");
        b.sim->setDelayPumps(c.delayTicks);
        b.sim->setPieces(c.pieces);
        b.sim->setSilent(c.silent);
        b.cycles(6); // the first answer is in
        int zeros = 0;
        for (int i = 0; i < 120; ++i) {
            b.cycle();
            zeros += b.call("getRadioFreq") == QVariant(QStringLiteral("0"));
        }
        const qsizetype resets = messages(b, QStringLiteral("Forced StateMachine reset")).size();
        if (c.silent) {
            EXPECT_GE(resets, 10);
            EXPECT_GT(zeros, 100); // from the first reset on
        } else {
            EXPECT_EQ(resets, 0);
            EXPECT_EQ(zeros, 0);
            EXPECT_EQ(b.rig().debugWindow()->frequencyLabel(), QStringLiteral("FREQ :  14070.15"));
        }
    }
}

struct GoneCase {
    const char* name;
    std::function<void(RigBench&)> lose;
};

TEST(DebugWindow, ShowsTheFrequencyTheProgramGets)
{
    const GoneCase cases[] = {
        {"port went away", [](RigBench& b) { b.sim->unplug(); b.cycle(); }},
        {"forced reset", [](RigBench& b) { b.sim->setSilent(true); b.cycles(12); }},
    };
    for (const GoneCase& c : cases) {
        SCOPED_TRACE(c.name);
        RigBench b;
        b.connect(RadioSimulator::Kenwood, "Kenwood - all");
        b.call("setDebugWindow");
        b.cycles(3);
        ASSERT_EQ(b.rig().debugWindow()->frequencyLabel(), QStringLiteral("FREQ :  14070.15"));
        c.lose(b);
        EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("0")));
        EXPECT_EQ(b.rig().debugWindow()->frequencyLabel(), QStringLiteral("FREQ :  0"));
    }
}

TEST(Ft847, CatOnGoesBeforeTheFirstCommandAndAfterAForcedReset)
{
    RigBench b;
    b.connect(RadioSimulator::FT847, "Yaesu FT-847");
    b.call("setRadioFrequency", {QStringLiteral("7040")});
    b.cycle();
    EXPECT_EQ(hexText(b.sim->received()), QStringLiteral("00 00 00 00 00 00 70 40 00 01"));
    EXPECT_EQ(b.sim->frequencyHz(), 7040000);
    b.cycles(3); // the poll carries its own CAT ON
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("7040")));

    // The radio forgets CAT and goes silent until a forced reset.
    b.sim->setCatOn(false);
    b.sim->setSilent(true);
    b.cycles(12);
    ASSERT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("0")));
    b.sim->setCatOn(false);
    b.sim->clearRecord();
    b.call("setPTTByCommandOn");
    b.cycle();
    EXPECT_EQ(hexText(b.sim->received()), QStringLiteral("00 00 00 00 00 00 00 00 00 08"));
    EXPECT_TRUE(b.sim->ptt());
    b.call("setPTTByCommandOff");
    b.cycle(); // CAT ON only once
    EXPECT_EQ(hexText(b.sim->commands().last()), QStringLiteral("00 00 00 00 88"));
    EXPECT_FALSE(b.sim->ptt());

    // After the host reopens the port.
    b.call("PortOpen", {false});
    b.sim->setCatOn(false);
    b.call("PortOpen", {true});
    b.sim->clearRecord();
    b.call("setPTTByCommandOn");
    b.cycle();
    EXPECT_EQ(hexText(b.sim->received()), QStringLiteral("00 00 00 00 00 00 00 00 00 08"));
    EXPECT_TRUE(b.sim->ptt());
}

} // namespace
