// The transmitter never hangs keyed: unusable profile values, abort, quit and the sound thread's
// end all drop PTT (on a pseudo-terminal); text goes out so that every receiver prints it.
#include "engines/rtty/baudot.h"
#include "engines/rtty/engine.h"
#include "engines/rtty/engine_window.h"
#include "engines/rtty/fsk.h"
#include "platform/system/inifile.h"
#include "platform/processes/winmsg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <pty.h>
#include <random>
#include <unistd.h>

namespace {

using Note = std::pair<int, std::int32_t>;

// A pseudo-terminal named as COM9 in the block: the engine's PTT port.
struct PttTerminal {
    int master = -1, slave = -1;
    PttTerminal()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0)
            ::setenv("SONDREL_COM9", name, 1);
    }
    ~PttTerminal()
    {
        ::close(slave);
        ::close(master);
        ::unsetenv("SONDREL_COM9");
    }
};

struct Transmitter : ::testing::Test {
    PttTerminal pty;
    QTemporaryDir dir;
    QString profiles = dir.filePath("UserPara.INI");
    std::vector<unsigned char> block = std::vector<unsigned char>(21204, 0);
    std::vector<Note> notes;
    QStringList told;
    long long samplesOut = 0;
    std::vector<long long> echoAt; // samples out when each character was echoed
    std::vector<float> audio;

    std::unique_ptr<rtty::RttyEngine> makeEngine()
    {
        std::memcpy(block.data() + 132, "COM9", 5);
        auto e = std::make_unique<rtty::RttyEngine>(block.data(), profiles, [this](int code, std::int32_t v) {
            notes.emplace_back(code, v);
            if (code == rtty::kNoteChar)
                echoAt.push_back(samplesOut);
        });
        e->setTell([this](const QString& t) { told << t; });
        return e;
    }
    void run(rtty::RttyEngine& e, int blocks)
    {
        std::vector<float> in(256, 0.0f), out(256);
        for (int i = 0; i < blocks && e.transmitting(); ++i) {
            e.processBlock(in.data(), out.data(), 256);
            audio.insert(audio.end(), out.begin(), out.end());
            samplesOut += 256;
        }
    }
};

std::string decode(const std::vector<float>& audio, bool uos, bool reverse = false, double markHz = 2125)
{
    rtty::FskDemodulator demod;
    demod.setTones(markHz, markHz + 170);
    demod.setReverse(reverse);
    rtty::BaudotDecoder dec;
    dec.setUnshiftOnSpace(uos);
    std::vector<std::uint8_t> codes;
    std::vector<float> padded = audio;
    padded.resize(padded.size() + 3000, 0.0f);
    demod.process(padded.data(), static_cast<int>(padded.size()), codes);
    std::string text;
    for (auto c : codes)
        if (auto ch = dec.decode(c))
            text.push_back(static_cast<char>(*ch));
    return text;
}

TEST_F(Transmitter, UnusableProfileRatesAreRefusedAndNothingHangsKeyed)
{
    struct Case {
        const char* baud;
        double used;
        bool refused;
    } cases[] = {
        {"0", 45.45, true},   {"", 45.45, true},         {"45,45", 45, false},
        {"45.45 Bd", 45.45, false}, {"-45", 45.45, true}, {"1e-300", 45.45, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        notes.clear();
        told.clear();
        audio.clear();
        ini::write(profiles, "Define1", "Mark", "2125");
        ini::write(profiles, "Define1", "Shift", "170");
        ini::write(profiles, "Define1", "Baud", c.baud);
        auto e = makeEngine();
        e->command(21, 0);
        e->command(24, 1);
        EXPECT_DOUBLE_EQ(e->setup().baud, c.used);
        EXPECT_EQ(told.size(), c.refused ? 1 : 0);
        if (c.refused) {
            EXPECT_TRUE(told.value(0).contains("45.45 Bd is used")) << told.value(0).toStdString();
        }
        // A transmission with nothing queued: idle letters go out, keyed.
        e->command(3, 2);
        run(*e, 10);
        EXPECT_TRUE(e->pttKeyed());
        EXPECT_GT(std::count_if(audio.begin(), audio.end(), [](float v) { return v != 0.0f; }), 2000);
        e->command(3, 0); // abort
        EXPECT_FALSE(e->transmitting());
        EXPECT_FALSE(e->pttKeyed());
        EXPECT_EQ(notes.back(), Note(rtty::kNotePtt, 0));
        // Again, then quit (the engine stops): PTT drops.
        e->command(3, 2);
        run(*e, 3);
        EXPECT_TRUE(e->pttKeyed());
        e->stop();
        EXPECT_FALSE(e->pttKeyed());
        EXPECT_FALSE(e->transmitting());
    }
}

TEST_F(Transmitter, ACharacterIsEchoedOnlyOnceItsAudioHasGone)
{
    ini::write(profiles, "Define1", "Mark", "2125");
    ini::write(profiles, "Define1", "Baud", "0");
    auto e = makeEngine();
    e->command(24, 1);
    const std::string text = "RYRY 73";
    for (char c : text)
        e->command(4, c);
    e->command(3, 2);
    e->command(3, 1);
    run(*e, 400);
    ASSERT_FALSE(e->transmitting());
    ASSERT_EQ(echoAt.size(), text.size());
    // The preamble of eight mark bits, then at least one whole character per echo.
    const double bit = 8000 / 45.45;
    for (size_t i = 0; i < echoAt.size(); ++i)
        EXPECT_GE(static_cast<double>(echoAt[i]), (8 + 7.5 * static_cast<double>(i + 1)) * bit) << i;
    EXPECT_EQ(decode(audio, false), text);
}

// The shift goes again after each space, so receivers with and without unshift-on-space both
// print the text; Reverse sends the mark on the upper tone.
TEST_F(Transmitter, TextPrintsRightOnEveryReceiver)
{
    const std::string text = "CQ de N0CALL RST 599 599 73";
    const std::string printed = "CQ DE N0CALL RST 599 599 73";
    struct Case {
        const char* what;
        std::int32_t switches;
        bool rxUos, rxReverse;
    } cases[] = {
        {"receiver UOS off", 0, false, false},
        {"receiver UOS on", 0, true, false},
        {"own UOS on, receiver off", rtty::kSwUos, false, false},
        {"reverse", rtty::kSwReverse, true, true},
    };
    for (const Case& c : cases) {
        audio.clear();
        auto e = makeEngine();
        e->command(11, c.switches);
        for (char ch : text)
            e->command(4, ch);
        e->command(3, 2);
        e->command(3, 1);
        run(*e, 400);
        EXPECT_EQ(decode(audio, c.rxUos, c.rxReverse), printed) << c.what;
        if (!c.rxReverse) {
            EXPECT_NE(decode(audio, c.rxUos, true), printed) << c.what;
        }
    }
}

// Tone of the first transmitted samples (the mark preamble), from its first and last zero
// crossings.
double preambleHz(const std::vector<float>& audio)
{
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = 1; i < 1280 && i < audio.size(); ++i)
        if ((audio[i - 1] < 0) != (audio[i] < 0)) {
            const double at = static_cast<double>(i - 1) + audio[i - 1] / (audio[i - 1] - audio[i]);
            (first < 0 ? first : last) = at;
            ++crossings;
        }
    return last > first && first >= 0 ? (crossings - 1) / 2.0 / ((last - first) / 8000.0) : 0;
}

// Over after over, with AFC on: a station 10 Hz above the tones set (or only noise) is answered
// on the receiver's tones with Net on, and on the tones set with Net off.
TEST_F(Transmitter, TransmitTonesFollowTheReceiverOnlyWithNet)
{
    struct Case {
        const char* what;
        bool net, station;
        double expectHz;
    } cases[] = {
        {"Net on, station 10 Hz high", true, true, 1425},
        {"Net off, station 10 Hz high", false, true, 1415},
        {"Net off, only noise", false, false, 1415},
    };
    for (const Case& c : cases) {
        auto e = makeEngine();
        e->command(11, rtty::kSwAfc | (c.net ? rtty::kSwNet : 0));
        e->command(9, 1415);
        e->command(10, 1585);
        rtty::FskModulator far;
        far.setTones(1425, 1595);
        rtty::BaudotEncoder enc;
        std::mt19937 rng(9);
        std::normal_distribution<float> noise(0, 1500);
        for (int over = 0; over < 4; ++over) {
            std::vector<float> heard;
            far.idle(10, heard);
            for (int i = 0; i < 12; ++i)
                for (char ch : std::string("RYRY "))
                    for (auto code : enc.encode(static_cast<unsigned char>(ch)))
                        far.code(code, heard);
            for (float& v : heard)
                v = (c.station ? v : 0.0f) + noise(rng);
            std::vector<float> out(256);
            for (size_t at = 0; at + 256 <= heard.size(); at += 256)
                e->processBlock(heard.data() + at, out.data(), 256);
            audio.clear();
            e->command(3, 2);
            run(*e, 6);
            e->command(3, 0);
            EXPECT_NEAR(preambleHz(audio), c.expectHz, c.net ? 1.5 : 0.2) << c.what << ", over " << over;
        }
    }
}

// No station, only band noise, with the engine's own defaults (AFC and Net on): the tones stay
// where they were set, transmission after transmission.
TEST_F(Transmitter, TonesDoNotCreepInNoise)
{
    auto e = makeEngine();
    e->command(9, 1415);
    e->command(10, 1585);
    std::mt19937 rng(5);
    std::normal_distribution<float> noise(0, 3000);
    std::vector<float> hiss(256), out(256);
    for (int round = 0; round < 12; ++round) {
        for (int i = 0; i < 100; ++i) {
            for (float& v : hiss)
                v = noise(rng);
            e->processBlock(hiss.data(), out.data(), 256);
        }
        e->command(3, 2);
        run(*e, 4);
        e->command(3, 0);
    }
    int mark = 0;
    for (const Note& n : notes)
        if (n.first == rtty::kNoteMark)
            mark = n.second;
    EXPECT_NEAR(mark, 1415, 1);
    audio.clear();
    e->command(3, 2);
    run(*e, 6);
    EXPECT_NEAR(preambleHz(audio), 1415, 4);
}

// The engine's window, driven by window messages with a real sound thread on silence: quit
// stops it and drops PTT, however it was transmitting.
TEST_F(Transmitter, QuitThroughTheWindowDropsPtt)
{
    qputenv("SONDREL_AUDIO", "null");
    std::memcpy(block.data() + 4, "Safety RTTY Engine", 19);
    std::memcpy(block.data() + 132, "COM9", 5);
    ini::write(profiles, "Define0", "Mark", "2125");
    ini::write(profiles, "Define0", "Baud", "1e-300");
    rtty::EngineWindow window(block.data(), profiles);
    const win::WinHandle me = window.open();
    ASSERT_NE(me, 0);
    bool quit = false;
    QObject::connect(&window, &rtty::EngineWindow::quitRequested, [&] { quit = true; });
    ASSERT_EQ(window.startSound(), 0);
    const std::uint32_t msg = win::RegisterWindowMessage("MMTTY");
    win::PostMessage(me, msg, 21, 0);
    win::PostMessage(me, msg, 3, 2);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(window.engine().pttKeyed());
    win::PostMessage(me, msg, 2, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(quit);
    EXPECT_FALSE(window.engine().pttKeyed());
    EXPECT_FALSE(window.engine().transmitting());
    QCoreApplication::sendPostedEvents(); // the words the engine said on its way
    EXPECT_TRUE(window.messages().join(" ").contains("not a usable baud rate"));
    qunsetenv("SONDREL_AUDIO");
}

} // namespace
