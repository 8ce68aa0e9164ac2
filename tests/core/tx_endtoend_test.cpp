// A whole PSK31 over: typed text goes through the real engine into a recording, the engine's
// reports run the switch-over, and the engine's decoder reads the recording back.
#include "support/main_window_fixture.h"

#include "core/psk_api.h"
#include "core/switchover.h"
#include "core/txtyping.h"
#include "engines/psk/receiver.h"
#include "engines/psk/wavfile.h"
#include "platform/events.h"
#include "platform/menuitem.h"
#include "platform/richtext.h"
#include "platform/winmsg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <vector>

namespace {

using TxEndToEnd = MainWindowFixture;

std::string decode(const QString& path, double hz)
{
    std::vector<std::int16_t> samples;
    if (psk::readWav(path.toStdString(), samples) != 0)
        return "<unreadable>";
    psk::Receiver rx;
    rx.setChannelCount(1);
    rx.channel(0).setMode(0);
    rx.channel(0).setFrequency(hz, 0);
    std::string text;
    std::vector<float> block;
    std::array<psk::RxOutput, psk::Receiver::kChannels> out;
    for (std::size_t pos = 0; pos < samples.size(); pos += 1024) {
        const std::size_t n = std::min<std::size_t>(1024, samples.size() - pos);
        block.assign(samples.begin() + std::ptrdiff_t(pos), samples.begin() + std::ptrdiff_t(pos + n));
        out = {};
        rx.process(block.data(), int(n), out);
        for (int c : out[0].chars)
            text += char(c);
    }
    return text;
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST_F(TxEndToEnd, TypedTextIsTransmittedEchoedAndDecoded)
{
    // Silence in, the transmitter recorded, eight times faster than real time.
    const QString in = home->file("in.wav");
    const QString out = home->file("out.wav");
    {
        psk::WavWriter silence;
        ASSERT_TRUE(silence.open(in.toStdString()));
        std::vector<float> zeros(800, 0.0f);
        silence.write(zeros.data(), int(zeros.size()));
    }
    qputenv("SONDREL_AUDIO", ("file:" + in + "," + out).toUtf8());
    qputenv("SONDREL_AUDIO_SPEED", "8");
    ResetPsk(); // the real engine

    Sondrel& w = main();
    PSKModeActive = true;
    PSKMode = 0;
    TxActive = false;
    SplitOffset = 0;
    PTTMode = "Serial Port";
    w.mnu("mnuLinewrap").setChecked(true);
    w.mnu("mnuTransmitBuffer").setChecked(false);

    // The engine's status and echo reports reach the program as the window procedure hands them on.
    MainWindowHandle = win::registerWindow(&w, "Sondrel");
    QString echoed;
    int transmitReports = 0, receiveReports = 0;
    win::MessageHook hook;
    hook.install(&w, [&](std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) -> std::optional<std::intptr_t> {
        if (msg == 2026 && wParam == 1) {
            ++transmitReports;
            GoToTransmit();
        } else if (msg == 2026 && wParam == 0) {
            ++receiveReports;
            GoToReceive();
        } else if (msg == 2025 && lParam == -1) {
            echoed += QChar(int(wParam));
        } else if (msg < 2024 || msg > 2027) {
            return std::nullopt;
        }
        return 0;
    });

    ASSERT_EQ(Psk().fnSetTXFrequency(1000), 0);
    ASSERT_EQ(Psk().fnStartSoundCard(MainWindowHandle, -1, 1), 0);

    TxWindowKey({19, 0, 0}); // Pause: start
    ASSERT_TRUE(waitFor([&] { return TxActive; }, 10000));
    EXPECT_EQ(w.TxRxBox->text(), "Transmit");
    const QString typed = "cq cq de sondrel k";
    for (QChar c : typed)
        TxWindowKey({c.isLetter() ? c.toUpper().unicode() : 0, 0, c.unicode()});
    TxWindowKey({13, 0, 13});
    EXPECT_EQ(w.Tx->text(), typed + "\r\n");
    TxWindowKey({19, 0, 0}); // Pause: back to receive once the text is sent
    EXPECT_TRUE(waitFor([&] { return !TxActive; }, 30000));
    Psk().fnStopSoundCard();
    hook.remove();
    win::unregisterWindow(MainWindowHandle);
    MainWindowHandle = 0;
    qunsetenv("SONDREL_AUDIO");
    qunsetenv("SONDREL_AUDIO_SPEED");

    EXPECT_EQ(transmitReports, 1);
    EXPECT_EQ(receiveReports, 1);
    EXPECT_EQ(w.TxRxBox->text(), "Receive");
    EXPECT_EQ(w.Tx->text(), ""); // emptied by the switch-over
    EXPECT_TRUE(echoed.startsWith(typed)) << echoed.toStdString();
    EXPECT_NE(decode(out, 1000).find(typed.toStdString()), std::string::npos) << decode(out, 1000);
}

} // namespace
