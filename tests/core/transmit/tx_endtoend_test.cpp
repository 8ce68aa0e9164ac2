// A whole PSK31 over: typed text goes through the real engine into a recording, the engine's
// reports run the switch-over and mark the sent text, and the engine's decoder reads the
// recording back.
#include "support/main_window_fixture.h"

#include "core/messages/hookmodule.h"
#include "core/transmit/labelcolors.h"
#include "core/transmit/switchover.h"
#include "core/transmit/txtyping.h"
#include "engines/psk/receive/receiver.h"
#include "engines/sound/wavfile.h"
#include "platform/processes/winmsg.h"
#include "platform/system/events.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/psk_api.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <vector>

namespace {

using TxEndToEnd = MainWindowFixture;

std::string decode(const QString& path, double hz)
{
    std::vector<std::int16_t> samples;
    if (sound::readWav(path.toStdString(), samples) != 0)
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

TEST_F(TxEndToEnd, TypedTextIsTransmittedEchoedAndDecoded)
{
    // Silence in, the transmitter recorded, eight times faster than real time.
    const QString in = home->file("in.wav");
    const QString out = home->file("out.wav");
    {
        sound::WavWriter silence;
        ASSERT_TRUE(silence.open(in.toStdString()));
        std::vector<float> zeros(800, 0.0f);
        silence.write(zeros.data(), int(zeros.size()));
    }
    qputenv("SONDREL_AUDIO", ("file:" + in + "," + out).toUtf8());
    qputenv("SONDREL_AUDIO_SPEED", "8");
    ResetPsk(); // the real engine, with nothing left queued by earlier tests
    Psk().fnClearTXBuffer();

    Sondrel& w = main();
    PSKModeActive = true;
    PSKMode = 0;
    TxActive = false;
    SplitOffset = 0;
    PTTMode = "Serial Port";
    NetOn = true; // the transmitter goes where the receiver listens
    LongSquelch = false;
    w.mnu("mnuLinewrap").setChecked(true);
    w.mnu("mnuTransmitBuffer").setChecked(true);
    TxTextColor = 0;
    TxBufferColor = "16711680";
    MainWindowHandle = win::registerWindow(&w, "Sondrel");
    HookMainWindow();

    ASSERT_EQ(Psk().fnSetClockErrorAdjustment(0), 0);
    ASSERT_EQ(Psk().fnSetRXFrequency(1000, 0, 0), 0);
    ASSERT_EQ(Psk().fnStartSoundCard(MainWindowHandle, -1, 1), 0);

    // The engine's ticks report where the receiver listens; Net sends the transmitter there.
    ASSERT_TRUE(waitFor([] { return EngineFreqParam == 1000; }, 10000));
    TxWindowKey({19, 0, 0}); // Pause: start
    ASSERT_TRUE(waitFor([&] { return TxActive; }, 10000));
    EXPECT_EQ(labelcolor::fore(w.TxRxBox), 0xFF);
    EXPECT_EQ(w.TxRxBox->text(), "Transmit");
    const QString typed = "cq cq de sondrel k";
    for (QChar c : typed)
        TxWindowKey({c.isLetter() ? c.toUpper().unicode() : 0, 0, c.unicode()});
    TxWindowKey({13, 0, 13});
    EXPECT_EQ(w.Tx->text(), typed + "\r\n");
    TxWindowKey({19, 0, 0}); // Pause: back to receive once the text is sent
    // Each character is marked as sent in the transmit window while it goes out. The first is
    // looked at: it stays marked for the whole transmission, so a loaded machine that polls
    // late still sees it (the last one is marked only for the moments before the switch-over).
    bool marked = false;
    EXPECT_TRUE(waitFor([&] {
        if (TxActive && w.Tx->length() >= typed.size()) {
            w.Tx->setSelection(0, 1);
            marked = marked || w.Tx->selColor() == 16711680;
            w.Tx->setSelStart(w.Tx->length());
        }
        return !TxActive;
    }, 30000));
    // The echo reaches the receive window at a following engine tick.
    EXPECT_TRUE(waitFor([&] { return w.Rx->text().contains(typed); }, 20000)) << w.Rx->text().toStdString();
    Psk().fnStopSoundCard();
    UnhookMainWindow();
    win::unregisterWindow(MainWindowHandle);
    MainWindowHandle = 0;
    qunsetenv("SONDREL_AUDIO");
    qunsetenv("SONDREL_AUDIO_SPEED");

    EXPECT_TRUE(marked);
    EXPECT_EQ(w.TxRxBox->text(), "Receive");
    EXPECT_EQ(w.Tx->text(), ""); // emptied by the switch-over
    const std::string decoded = decode(out, 1000);
    EXPECT_NE(decoded.find(typed.toStdString()), std::string::npos) << decoded;
}

} // namespace
