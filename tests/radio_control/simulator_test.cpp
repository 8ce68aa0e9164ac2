// Every radio type end to end on its simulator: set frequency, PTT on and off, raw text and
// hex commands, and the polled frequency and mode back.
#include "hex.h"
#include "rig_bench.h"

using namespace varnel;

namespace {

struct RadioCase {
    const char* type;
    RadioSimulator::Model model;
    int lsbCode;           // the radio's own code for LSB
    const char* pttOnHex;  // a PTT-on command, sent raw through setDirectRadioCommandHEX
    bool pttByCommand;     // the radio takes the component's PTT command
};

QString chars(const char* hex)
{
    QString s;
    for (char c : hexBytes(hex))
        s += QChar(static_cast<unsigned char>(c)); // Windows-1252 code = Latin-1 for these
    return s;
}

class EndToEnd : public testing::TestWithParam<RadioCase> {};

TEST_P(EndToEnd, DrivesTheRadio)
{
    const RadioCase c = GetParam();
    RigBench b;
    b.connect(c.model, c.type);

    // Polled frequency and mode.
    b.sim->setFrequencyHz(7040000);
    b.sim->setModeCode(c.lsbCode);
    b.cycles(6);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("7040")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("LSB")));

    // Set frequency; whatever the acknowledge frames, the text is never anything else.
    b.call("setRadioFrequency", {QStringLiteral("14070.15")});
    QSet<QString> seen;
    for (int i = 0; i < 8; ++i) {
        b.cycle();
        seen << b.call("getRadioFreq").toString();
    }
    EXPECT_EQ(b.sim->frequencyHz(), 14070150);
    seen.remove(QStringLiteral("7040"));
    EXPECT_EQ(seen, QSet<QString>{QStringLiteral("14070.15")});

    // PTT by command.
    b.call("setPTTByCommandOn");
    b.cycles(4);
    EXPECT_EQ(b.sim->ptt(), c.pttByCommand);
    b.call("setPTTByCommandOff");
    b.cycles(4);
    EXPECT_FALSE(b.sim->ptt());

    // Raw commands: bytes 0x00 and 0x80..0xFF go as they are.
    b.sim->clearRecord();
    b.call("setDirectRadioCommandHEX", {chars(c.pttOnHex)});
    b.cycles(4);
    EXPECT_TRUE(b.sim->commands().contains(hexBytes(c.pttOnHex)));
    EXPECT_TRUE(b.sim->ptt());
    b.call("setPTTByCommandOff");
    b.cycles(4);
    EXPECT_FALSE(b.sim->ptt());

    // The radio moves; the poll follows.
    b.sim->setFrequencyHz(21080000);
    b.sim->setModeCode(c.lsbCode + 1); // USB on every model
    b.cycles(8);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("21080")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("USB")));
}

INSTANTIATE_TEST_SUITE_P(EveryType, EndToEnd, testing::Values(
    RadioCase{"Icom (not IC-735)", RadioSimulator::Icom, 0, "FE FE 58 E0 1C 00 01 FD", true},
    RadioCase{"Ten Tec Omni VI", RadioSimulator::OmniVI, 0, "FE FE 58 E0 16 01 FD", true},
    RadioCase{"Kenwood - all", RadioSimulator::Kenwood, 1, "54 58 3B", true},
    RadioCase{"Yaesu FT-1000D", RadioSimulator::FT1000D, 0, "00 00 00 01 0F", true},
    RadioCase{"Yaesu FT-1000MP", RadioSimulator::FT1000MP, 0, "00 00 00 01 0F", true},
    RadioCase{"Yaesu FT-990", RadioSimulator::FT990, 0, "00 00 00 01 0F", true},
    RadioCase{"Yaesu FT-847", RadioSimulator::FT847, 0, "00 00 00 00 08", true}));

TEST(EndToEnd, Ic735TunesAndPolls)
{
    RigBench b;
    b.connect(RadioSimulator::Icom735, "Icom (IC-735 only)");
    b.sim->setModeCode(3);
    b.cycles(6);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("CW")));
    b.call("setRadioFrequency", {QStringLiteral("3580.5")});
    for (int i = 0; i < 8; ++i) {
        b.cycle();
        const QString f = b.call("getRadioFreq").toString();
        EXPECT_TRUE(f == u"14070.15" || f == u"3580.5") << qPrintable(f);
    }
    EXPECT_EQ(hexText(b.sim->commands()[4]), QStringLiteral("FE FE 58 E0 05 00 05 58 03 FD"));
    EXPECT_EQ(b.sim->frequencyHz(), 3580500);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("3580.5")));
}

TEST(EndToEnd, KenwoodReplyInTwoPiecesAndTextCommand)
{
    RigBench b;
    b.connect(RadioSimulator::Kenwood, "Kenwood - all");
    b.sim->setPieces(2);
    b.cycles(2); // poll queued, sent; the first half arrives
    EXPECT_EQ(b.rig().replyBuffer().size(), 0);
    b.cycle();   // first half read, second half arrives
    EXPECT_EQ(b.rig().replyBuffer().size(), 19);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QString()));
    b.cycle();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("USB")));

    b.call("setDirectRadioCommand", {QStringLiteral(" TX; ")});
    b.cycles(5); // behind the poll that was queued with the answer
    EXPECT_TRUE(b.sim->commands().contains(QByteArray("TX;")));
    EXPECT_TRUE(b.sim->ptt());
}

TEST(EndToEnd, CivRepliesInPiecesAndOtherAddresses)
{
    RigBench b;
    b.connect(RadioSimulator::Icom, "Icom (not IC-735)");
    b.sim->setPieces(2);
    b.sim->setModeCode(5);
    b.cycles(2); // poll queued; 03 sent, first half back
    b.cycle();
    EXPECT_EQ(b.rig().replyBuffer().size(), 8);
    b.cycle(); // the whole answer: taken, 04 sent
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
    b.cycles(2);
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("FM")));

    // A radio at another address ignores the frames; only the echo comes back, and the
    // wait ends in a forced reset.
    b.sim->setPieces(1);
    b.sim->setCivAddress(0x60);
    b.cycles(14);
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("0")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("FM")));
}

TEST(EndToEnd, GarbageNeverBecomesAFrequency)
{
    for (auto model : {RadioSimulator::Icom, RadioSimulator::FT847}) {
        RigBench b;
        b.connect(model, model == RadioSimulator::Icom ? "Icom (not IC-735)" : "Yaesu FT-847");
        b.sim->setGarbage(true);
        for (int i = 0; i < 14; ++i) {
            b.cycle();
            const QString f = b.call("getRadioFreq").toString();
            EXPECT_TRUE(f.isEmpty() || f == u"0") << qPrintable(f);
        }
    }
}

TEST(EndToEnd, Ft847NeedsCatOn)
{
    RigBench b;
    b.connect(RadioSimulator::FT847, "Yaesu FT-847");
    EXPECT_FALSE(b.sim->catOn());
    b.cycles(3);
    EXPECT_TRUE(b.sim->catOn());
    EXPECT_EQ(hexText(b.sim->received()), QStringLiteral("00 00 00 00 00 00 00 00 00 03"));
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.15")));
}

} // namespace
