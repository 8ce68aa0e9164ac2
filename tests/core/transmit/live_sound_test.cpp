// The program's sound path on a live sound server: a private PulseAudio server of the test's own
// (scripts/private_pulse.sh: its own folder and socket, two null sinks at 8000 samples/s),
// reached as on a desktop through PortAudio and ALSA's pulse plug-in. A minute of BPSK31 from
// the program is recorded from the sink's monitor and has no silence inside it; the server
// killed during the transmission puts the program back to Receive with the radio's PTT
// released; started again, the receiver copies again by itself; a server that stops answering
// holds neither the engine's stop nor its start. Skipped only where pulseaudio is not installed.
#include "support/main_window_fixture.h"

#include "core/messages/hookmodule.h"
#include "core/transmit/txtyping.h"
#include "engines/sound/wavfile.h"
#include "platform/processes/winmsg.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/psk_api.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <vector>

namespace {

using LiveSound = MainWindowFixture;

void runFor(int ms)
{
    waitFor([] { return false; }, ms);
}

// The private server: started (again) in its folder, killed, stopped, stopped for good.
struct Server {
    QString folder;
    qint64 pid = 0;
    int start() // 0, or 2 when pulseaudio is not installed
    {
        QProcess p;
        p.start("bash", {SONDREL_SOURCE_DIR "/scripts/private_pulse.sh", "start", folder});
        p.waitForFinished(30000);
        for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                qputenv(line.left(eq).constData(), line.mid(eq + 1));
        }
        pid = qgetenv("PULSE_PID").toLongLong();
        return p.exitCode();
    }
    void signal(int s) const
    {
        if (pid > 0)
            ::kill(pid_t(pid), s);
    }
    ~Server()
    {
        QProcess::execute("bash", {SONDREL_SOURCE_DIR "/scripts/private_pulse.sh", "stop", folder});
    }
};

// Runs of 16 samples (2 ms) or more at digital silence between the first and last sound:
// where (seconds into the signal) and how long (ms).
struct Gap {
    double at, ms;
};
std::vector<Gap> gapsIn(const std::vector<std::int16_t>& s)
{
    std::vector<Gap> gaps;
    auto loud = [](std::int16_t v) { return std::abs(int(v)) > 300; };
    const auto first = std::find_if(s.begin(), s.end(), loud);
    const auto last = std::find_if(s.rbegin(), s.rend(), loud).base();
    std::size_t run = 0;
    for (auto it = first; it < last; ++it) {
        if (std::abs(int(*it)) <= 2) {
            ++run;
            continue;
        }
        if (run >= 16)
            gaps.push_back({double(it - first - std::ptrdiff_t(run)) / 8000.0, run / 8.0});
        run = 0;
    }
    return gaps;
}

TEST_F(LiveSound, TransmitsWithoutAGapSurvivesTheServerAndCopiesWhenItIsBack)
{
    QTemporaryDir dir;
    Server server{dir.filePath("pulse")};
    if (server.start() == 2)
        GTEST_SKIP() << "pulseaudio is not installed";
    ASSERT_GT(server.pid, 0);
    qunsetenv("SONDREL_AUDIO"); // the default devices: ALSA's, which lead to the server

    Sondrel& w = main();
    ResetPsk();
    Psk().fnClearTXBuffer();
    PSKModeActive = true;
    PSKMode = 0;
    TxActive = false;
    SplitOffset = 0;
    PTTMode = "By Command";
    w.mnu("mnuStandalone").setChecked(true); // PTT by the radio control component
    NetOn = true;
    LongSquelch = false;
    MainWindowHandle = win::registerWindow(&w, "Sondrel");
    HookMainWindow();

    QProcess recorder;
    recorder.start("parec", {"-d", "tx.monitor", "--rate=8000", "--channels=1", "--format=s16le", "--raw",
                             "--latency-msec=20"});
    ASSERT_TRUE(recorder.waitForStarted(5000));
    ASSERT_EQ(Psk().fnSetRXFrequency(1000, 0, 0), 0);
    ASSERT_EQ(Psk().fnStartSoundCard(MainWindowHandle, -1, 1), 0);
    ASSERT_TRUE(waitFor([] { return EngineFreqParam == 1000; }, 5000)); // the engine ticks
    runFor(1000);

    // A minute of transmitting.
    TxWindowKey({19, 0, 0}); // Pause: start
    ASSERT_TRUE(waitFor([] { return TxActive; }, 3000));
    const QString typed = "cq cq de sondrel sondrel k ";
    for (int i = 0; i < 3; ++i)
        for (QChar c : typed)
            TxWindowKey({c.isLetter() ? c.toUpper().unicode() : 0, 0, c.unicode()});
    runFor(60000);
    ASSERT_TRUE(TxActive);

    // The server killed: back to Receive, the radio's PTT released, within a second.
    calls.clear();
    QElapsedTimer killed;
    server.signal(SIGKILL);
    killed.start();
    EXPECT_TRUE(waitFor([&] { return !TxActive && calls.contains("rig.setPTTByCommandOff"); }, 3000));
    EXPECT_LT(killed.elapsed(), 1000);
    EXPECT_EQ(w.TxRxBox->text(), "Receive");
    ASSERT_TRUE(waitFor([&] { return boxes.messages().size() >= 2; }, 3000));
    EXPECT_EQ(boxes.messages()[0].title, "DLL Error  11");
    EXPECT_TRUE(boxes.messages()[1].text.contains("receives again by itself")) << boxes.messages()[1].text.toStdString();

    recorder.waitForFinished(3000);
    const QByteArray raw = recorder.readAllStandardOutput();
    std::vector<std::int16_t> sent(std::size_t(raw.size() / 2));
    std::memcpy(sent.data(), raw.constData(), sent.size() * 2);
    EXPECT_GT(sent.size(), std::size_t(60 * 8000));
    const std::vector<Gap> gaps = gapsIn(sent);
    EXPECT_TRUE(gaps.empty()) << gaps.size() << " gaps, the first of " << gaps.front().ms << " ms at "
                              << gaps.front().at << " s into the signal, the last at " << gaps.back().at << " s";

    // The server again: the receiver comes back by itself and copies what is played into it.
    ASSERT_EQ(server.start(), 0);
    const QString replay = dir.filePath("replay.wav");
    {
        sound::WavWriter wav;
        ASSERT_TRUE(wav.open(replay.toStdString()));
        std::vector<float> head(sent.begin(), sent.begin() + std::ptrdiff_t(std::min<std::size_t>(sent.size(), 20 * 8000)));
        wav.write(head.data(), int(head.size()));
    }
    const QString before = w.Rx->text();
    runFor(3000); // the engine's next try opens it
    QProcess player;
    player.start("paplay", {"-d", "rx", replay});
    EXPECT_TRUE(waitFor([&] { return w.Rx->text().mid(before.size()).contains("sondrel"); }, 30000))
        << w.Rx->text().mid(before.size()).toStdString();
    player.waitForFinished(30000);

    // A server that stops answering holds neither a stop nor a start.
    server.signal(SIGSTOP);
    runFor(1000);
    QElapsedTimer held;
    held.start();
    Psk().fnStopSoundCard();
    EXPECT_LT(held.elapsed(), 1000);
    held.restart();
    EXPECT_EQ(Psk().fnStartSoundCard(MainWindowHandle, -1, 1), 0); // still opening: it goes on
    EXPECT_LT(held.elapsed(), 2000);
    held.restart();
    Psk().fnStopSoundCard();
    EXPECT_LT(held.elapsed(), 1000);
    server.signal(SIGCONT);

    UnhookMainWindow();
    win::unregisterWindow(MainWindowHandle);
    MainWindowHandle = 0;
}

} // namespace
