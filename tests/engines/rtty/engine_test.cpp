// The engine as the program drives it: commands in, notifications and audio out.
#include "engines/rtty/baudot.h"
#include "engines/rtty/engine.h"
#include "engines/rtty/engine_window.h"
#include "engines/rtty/fsk.h"

#include "platform/system/inifile.h"
#include "platform/processes/winmsg.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Note = std::pair<int, std::int32_t>;

struct EngineTest : ::testing::Test {
    QTemporaryDir dir;
    std::vector<unsigned char> block = std::vector<unsigned char>(21204, 0);
    std::vector<Note> notes;
    rtty::RttyEngine engine{block.data(), dir.filePath("UserPara.INI"),
                            [this](int code, std::int32_t v) { notes.emplace_back(code, v); }};

    std::vector<Note> without(int code) const
    {
        std::vector<Note> out;
        for (const Note& n : notes)
            if (n.first != code)
                out.push_back(n);
        return out;
    }
    // Runs the engine until the transmission ends; returns the audio it sent.
    std::vector<float> runTransmission(int maxBlocks = 2000)
    {
        std::vector<float> sent, in(256, 0.0f), out(256);
        for (int i = 0; i < maxBlocks && (i == 0 || engine.transmitting()); ++i) {
            engine.processBlock(in.data(), out.data(), 256);
            sent.insert(sent.end(), out.begin(), out.end());
        }
        return sent;
    }
};

TEST_F(EngineTest, CommandsAreReportedBack)
{
    struct Case {
        int code;
        std::int32_t value;
        std::vector<Note> expected;
    } cases[] = {
        {9, 1275, {{7, 1275}, {8, 2295}, {0x12, 1020}}},
        {10, 1445, {{7, 1275}, {8, 1445}, {0x12, 170}}},
        {11, 0x4000 | 0x100 | 0x20, {{9, 0x4000 | 0x100 | 0x20}}},
        {14, 0x1000 | 0x40, {{0x0A, 0x1040}}},
        {23, 1800, {{0x11, 1800}}},
        {23, 200, {}},  // no notch outside the passband
        {12, 0, {{7, 1275}, {8, 1445}, {0x12, 170}}},
        {13, 0, {}},
    };
    for (const Case& c : cases) {
        notes.clear();
        engine.command(c.code, c.value);
        EXPECT_EQ(notes, c.expected) << "command " << c.code;
    }
}

TEST_F(EngineTest, TransmissionKeysSendsEchoesAndReturns)
{
    for (char c : std::string("CQ DE K1ABC"))
        engine.command(4, c);
    engine.command(3, 2);
    engine.command(3, 1);
    const std::vector<float> sent = runTransmission();
    ASSERT_FALSE(engine.transmitting());
    std::vector<Note> expected{{4, 1}};
    for (char c : std::string("CQ DE K1ABC"))
        expected.emplace_back(3, c);
    expected.emplace_back(4, 0);
    EXPECT_EQ(without(0x0B), expected);

    // What went out decodes to the text.
    rtty::FskDemodulator demod;
    rtty::BaudotDecoder dec;
    std::vector<std::uint8_t> codes;
    demod.process(sent.data(), static_cast<int>(sent.size()), codes);
    std::string text;
    for (auto c : codes)
        if (auto ch = dec.decode(c))
            text.push_back(static_cast<char>(*ch));
    EXPECT_EQ(text, "CQ DE K1ABC");
}

TEST_F(EngineTest, AbortClearsAndWatchdogEnds)
{
    for (int i = 0; i < 50; ++i)
        engine.command(4, 'R');
    engine.command(3, 2);
    std::vector<float> in(256), out(256);
    engine.processBlock(in.data(), out.data(), 256);
    engine.command(3, 0);
    EXPECT_FALSE(engine.transmitting());
    EXPECT_EQ(notes.back(), Note(4, 0));

    // Watchdog: one second of idle transmission, then back to receive by itself.
    notes.clear();
    engine.command(25, 1);
    engine.command(3, 2);
    for (int i = 0; i < 40 && engine.transmitting(); ++i)
        engine.processBlock(in.data(), out.data(), 256);
    EXPECT_FALSE(engine.transmitting());
    EXPECT_EQ(without(0x0B), (std::vector<Note>{{4, 1}, {4, 0}}));
}

TEST_F(EngineTest, WordModeHoldsAWordUntilItEnds)
{
    engine.command(11, 0x20000);
    for (char c : std::string("AB"))
        engine.command(4, c);
    engine.command(3, 2);
    std::vector<float> in(256), out(256);
    for (int i = 0; i < 60; ++i)
        engine.processBlock(in.data(), out.data(), 256);
    EXPECT_EQ(without(0x0B).size(), 2u); // switch word and PTT on only: no echo yet
    engine.command(4, ' ');
    for (int i = 0; i < 60; ++i)
        engine.processBlock(in.data(), out.data(), 256);
    const auto n = without(0x0B);
    ASSERT_EQ(n.size(), 5u);
    EXPECT_EQ(n[2], Note(3, 'A'));
    EXPECT_EQ(n[4], Note(3, ' '));
}

TEST_F(EngineTest, SpectrumAndLevelGoToTheBlock)
{
    rtty::FskModulator mod;
    std::vector<float> tone;
    mod.idle(40, tone);
    std::vector<float> out(256);
    notes.clear();
    for (size_t at = 0; at + 256 <= tone.size(); at += 256)
        engine.processBlock(tone.data() + at, out.data(), 256);
    std::int32_t ready = 0;
    std::memcpy(&ready, block.data() + 152, 4);
    EXPECT_EQ(ready, 1);
    // The bin of 2125 Hz (8000/2047 Hz per bin) stands out; drawn as raw² / 1000.
    auto bin = [&](int i) {
        std::int32_t v = 0;
        std::memcpy(&v, block.data() + 156 + 4 * i, 4);
        return v;
    };
    const int peak = static_cast<int>(2125 / (8000.0 / 2047) + 0.5);
    EXPECT_GT(bin(peak) * static_cast<double>(bin(peak)) / 1000, 50);
    EXPECT_LT(bin(peak - 100), bin(peak) / 2);
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.back().first, 0x0B);
    EXPECT_GT(notes.back().second & 0xFFFF, 900);
}

TEST_F(EngineTest, ProfilesAreStoredSelectedAndDeleted)
{
    const char name[32] = "Contest 45";
    std::memcpy(block.data() + 12500 + 64 * 3, name, sizeof name);
    engine.command(9, 1275);
    engine.command(10, 1475);
    engine.command(24, 65536 + 3);
    const QString file = dir.filePath("UserPara.INI");
    EXPECT_EQ(ini::read(file, "Define3", "Name", "", 100), "Contest 45");
    engine.command(12, 0); // back to 170 Hz
    notes.clear();
    engine.command(24, 3);
    ASSERT_GE(notes.size(), 3u);
    EXPECT_EQ(notes[0], Note(7, 1275));
    EXPECT_EQ(notes[1], Note(8, 1475));
    engine.command(24, 131072 + 3);
    EXPECT_EQ(ini::read(file, "Define3", "Name", "x", 100), "");
}

// The window: hello, state report and quit through window messages.
class Sink : public QObject {
public:
    std::vector<std::pair<std::intptr_t, std::intptr_t>> got;
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        got.emplace_back(m->wParam(), m->lParam());
        return true;
    }
};

TEST(EngineWindow, HelloStateAndQuit)
{
    std::vector<unsigned char> block(21204, 0);
    std::memcpy(block.data() + 4, "Test RTTY Engine", 17);
    QTemporaryDir dir;
    rtty::EngineWindow window(block.data(), dir.filePath("UserPara.INI"));
    const win::WinHandle me = window.open();
    ASSERT_NE(me, 0);
    EXPECT_EQ(win::FindWindow("Test RTTY Engine"), me);
    Sink program;
    const win::WinHandle programHandle = win::registerWindow(&program);
    bool quit = false;
    QObject::connect(&window, &rtty::EngineWindow::quitRequested, [&] { quit = true; });
    const std::uint32_t msg = win::RegisterWindowMessage("MMTTY");
    win::PostMessage(me, msg, 0, programHandle);
    win::PostMessage(me, msg, 1, 0);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    ASSERT_GE(program.got.size(), 6u);
    EXPECT_EQ(program.got[0], std::make_pair(std::intptr_t{0x8000}, std::intptr_t{me}));
    EXPECT_EQ(program.got[1], std::make_pair(std::intptr_t{0x8007}, std::intptr_t{2125}));
    EXPECT_EQ(program.got[2], std::make_pair(std::intptr_t{0x8008}, std::intptr_t{2295}));
    EXPECT_EQ(program.got[3], std::make_pair(std::intptr_t{0x8012}, std::intptr_t{170}));
    EXPECT_EQ(program.got[4].first, 0x8009);
    EXPECT_EQ(program.got[5].first, 0x800A);
    win::PostMessage(me, msg, 2, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(quit);
    win::unregisterWindow(programHandle);
}

} // namespace

// The squelch line the operator places on the level bar is the level a character must reach, and
// the engine reports its squelch back at the same place on the bar.
TEST_F(EngineTest, SquelchFollowsTheLineOnTheLevelBar)
{
    rtty::FskModulator mod;
    rtty::BaudotEncoder enc;
    std::vector<float> clean;
    mod.idle(30, clean);
    for (unsigned char ch : std::string("RYRY THE QUICK BROWN FOX "))
        for (std::uint8_t c : enc.encode(ch))
            mod.code(c, clean);
    struct Case {
        double lineY; // from the top of the 65-step bar
        bool printed;
    } cases[] = {{0, false}, {13, true}, {52, true}, {65, true}};
    for (const Case& c : cases) {
        engine.command(15, static_cast<std::int32_t>(std::lround((100 - c.lineY * 1.5384) * 10.25)));
        notes.clear();
        std::vector<float> out(256);
        for (size_t at = 0; at + 256 <= clean.size(); at += 256)
            engine.processBlock(clean.data() + at, out.data(), 256);
        int chars = 0;
        std::int32_t level = 0;
        for (const Note& n : notes) {
            chars += n.first == rtty::kNoteChar;
            if (n.first == rtty::kNoteLevel)
                level = n.second;
        }
        EXPECT_NEAR(65 - (level >> 16) / 16.0, c.lineY, 0.1) << "line at " << c.lineY;
        EXPECT_EQ(chars > 10, c.printed) << "line at " << c.lineY << ": " << chars << " characters";
    }
}
