// The real engine program, started beside the program and linked over the peer link: it
// answers the hello, decodes a recording and quits when told.
#include "support/receive_fixture.h"

#include "core/rtty/rtty_link.h"
#include "engines/sound/wavfile.h"
#include "engines/rtty/baudot.h"
#include "engines/rtty/fsk.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

namespace {

class RttyProcess : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
        ResetRttyLinks();
        previousAudio = qgetenv("SONDREL_AUDIO");
        previousSpeed = qgetenv("SONDREL_AUDIO_SPEED");
    }
    void TearDown() override
    {
        qputenv("SONDREL_AUDIO", previousAudio);
        qputenv("SONDREL_AUDIO_SPEED", previousSpeed);
        ReceiveFixture::TearDown();
    }
    template <class F> static bool waitFor(F done, int ms = 20000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    QByteArray previousAudio, previousSpeed;
};

TEST_F(RttyProcess, EngineDecodesARecordingAndQuits)
{
    if (!QFileInfo(RttyEngineProgram()).isExecutable())
        GTEST_SKIP() << "no engine program beside the tests";
    // A recording of a short call.
    const QString wav = home->file("call.wav");
    {
        rtty::FskModulator mod;
        rtty::BaudotEncoder enc;
        std::vector<float> audio;
        mod.idle(40, audio);
        for (char c : std::string("CQ CQ DE K1ABC K"))
            for (auto code : enc.encode(static_cast<unsigned char>(c)))
                mod.code(code, audio);
        mod.idle(200, audio);
        sound::WavWriter w;
        ASSERT_TRUE(w.open(wav.toStdString()));
        w.write(audio.data(), static_cast<int>(audio.size()));
    }
    qputenv("SONDREL_AUDIO", "file:" + wav.toLocal8Bit());
    qputenv("SONDREL_AUDIO_SPEED", "4");

    int number = 0;
    QString text;
    ASSERT_TRUE(StartEngineProcess(QStringLiteral("MMTTY.EXE -m -p"), number, text)) << number;
    const win::WinHandle engineWindow = win::FindWindow(QStringLiteral("MMTTY Engine"));
    ASSERT_NE(engineWindow, 0);
    EXPECT_NE(win::baseOf(engineWindow), 0); // a window of another process

    MMTTYhWnd = engineWindow;
    PSKModeActive = false;
    PostMMTTY(0, MainWindowHandle);
    PostMMTTY(1, 0);
    ASSERT_TRUE(waitFor([] { return RTTYShiftHz == 170 && RTTYMarkHz == 2125; }));
    // The engine's ticks move the text from the pending buffer into the receive window.
    ASSERT_TRUE(waitFor([this] { return (rxText() + RxCharBuffer).contains(QLatin1String("K1ABC K")); }))
        << (rxText() + RxCharBuffer).toStdString();
    EXPECT_TRUE((rxText() + RxCharBuffer).contains(QLatin1String("CQ CQ DE K1ABC K")));

    PostMMTTY(2, 0);
    EXPECT_TRUE(waitFor([] { return win::FindWindow(QStringLiteral("MMTTY Engine")) == 0; }));
}

} // namespace
