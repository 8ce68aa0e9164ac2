// The real engine program, started by the program: a sound device it cannot use is shown in
// words in a box of the program (not on a terminal), and a termination signal while it
// transmits ends it in good order (its normal shut-down drops PTT).
#include "support/receive_fixture.h"

#include "core/rtty/rtty_link.h"
#include "state/declarations.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <csignal>

namespace {

class RttyEngineErrors : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
        ResetRttyLinks();
        previousAudio = qgetenv("SONDREL_AUDIO");
    }
    void TearDown() override
    {
        qputenv("SONDREL_AUDIO", previousAudio);
        ReceiveFixture::TearDown();
    }
    QByteArray previousAudio;
};

TEST_F(RttyEngineErrors, ASoundDeviceThatCannotBeUsedIsShownInWords)
{
    if (!QFileInfo(RttyEngineProgram()).isExecutable())
        GTEST_SKIP() << "no engine program beside the tests";
    qputenv("SONDREL_AUDIO", "file:" + home->file("missing.wav").toLocal8Bit());
    int number = 0;
    QString text;
    ASSERT_TRUE(StartEngineProcess(QStringLiteral("MMTTY.EXE -m -p"), number, text)) << number;
    MMTTYhWnd = win::FindWindow(QStringLiteral("MMTTY Engine"));
    ASSERT_NE(MMTTYhWnd, 0);
    PSKModeActive = false;
    PostMMTTY(0, MainWindowHandle); // the hello starts the sound
    QElapsedTimer t;
    t.start();
    while (boxes.messages().isEmpty() && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(boxes.messages().size(), 1);
    const dlg::BoxCall box = boxes.messages().first();
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Sound device error: the recording \"%1\" cannot be read").arg(home->file("missing.wav"))))
        << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QLatin1String("Setup")));
    EXPECT_EQ(box.style, dlg::OKOnly | dlg::Exclamation);

    PostMMTTY(2, 0);
    t.restart();
    while (win::FindWindow(QStringLiteral("MMTTY Engine")) != 0 && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(win::FindWindow(QStringLiteral("MMTTY Engine")), 0);
}

TEST_F(RttyEngineErrors, ATerminationSignalWhileTransmittingEndsTheEngineInOrder)
{
    if (!QFileInfo(RttyEngineProgram()).isExecutable())
        GTEST_SKIP() << "no engine program beside the tests";
    qputenv("SONDREL_AUDIO", "null");
    ASSERT_TRUE(EnsurePeerServer());
    QProcess engine;
    engine.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    engine.start(RttyEngineProgram(), {QStringLiteral("-m"), QStringLiteral("-p")});
    ASSERT_TRUE(engine.waitForStarted(5000));
    QElapsedTimer t;
    t.start();
    while (win::FindWindow(QStringLiteral("MMTTY Engine")) == 0 && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    MMTTYhWnd = win::FindWindow(QStringLiteral("MMTTY Engine"));
    ASSERT_NE(MMTTYhWnd, 0);
    PSKModeActive = false;
    PostMMTTY(0, MainWindowHandle);
    PostMMTTY(3, 2); // transmit, nothing queued
    t.restart();
    while (!TxActive && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(TxActive);
    ::kill(static_cast<pid_t>(engine.processId()), SIGTERM);
    ASSERT_TRUE(engine.waitForFinished(10000));
    EXPECT_EQ(engine.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(engine.exitCode(), 0);
}

} // namespace
