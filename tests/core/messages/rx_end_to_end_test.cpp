// The program as the operator starts it, with a PSK31 recording made by the engine's own
// transmitter as its sound: the saved mode starts the engine, and the received text appears in
// the receive window.
// (The transmitter's header comes before any Qt header: it has a member named like a Qt keyword.)
#include "engines/sound/wavfile.h"
#include "engines/psk/transmit/transmitter.h"

#include "support/receive_fixture.h"

#include "core/radio/ptt.h"
#include "platform/system/events.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"
#include "state/psk_api.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <pty.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kText = "CQ CQ de TEST0 TEST0 pse k\r\n";

// One whole transmission at 1500 Hz, with a little silence before it.
bool writeRecording(const QString& path, int mode)
{
    psk::Transmitter tx(8000.0);
    tx.setFrequency(1500);
    for (const char* c = kText; *c; ++c)
        tx.queueCharacter(static_cast<std::uint8_t>(*c));
    tx.queueControl(1);
    tx.start(mode);
    std::vector<float> sound(32000, 0.0f), block(1024); // 4 s of silence: the engine is set up before the signal
    std::vector<psk::TxEvent> events;
    do {
        tx.fill(block.data(), static_cast<int>(block.size()), events);
        sound.insert(sound.end(), block.begin(), block.end());
    } while (tx.active());
    sound::WavWriter w;
    if (!w.open(path.toStdString()))
        return false;
    w.write(sound.data(), static_cast<int>(sound.size()));
    w.close();
    return true;
}

class EndToEnd : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        // The real engine and the real links, as the program has them.
        ResetPsk();
        ResetLinks();
        PSKModeActive = false;
        previousAudio = qgetenv("SONDREL_AUDIO");
    }
    void TearDown() override
    {
        ReceiveFixture::TearDown();
        qputenv("SONDREL_AUDIO", previousAudio);
        qunsetenv("SONDREL_AUDIO_SPEED");
    }
    QByteArray previousAudio;
};

TEST_F(EndToEnd, DecodesARecordingInTheSavedMode)
{
    struct Case {
        const char* saved;
        int mode;
        const char* item;
    };
    for (const Case& c : {Case{"BPSK", 0, "mnuBPSK"}, Case{"QPSK", 1, "mnuQPSK"}, Case{"QPSK-I", 2, "mnuQPSKInv"}}) {
        SCOPED_TRACE(c.saved);
        const QString wav = home->file(QStringLiteral("%1.wav").arg(c.mode));
        ASSERT_TRUE(writeRecording(wav, c.mode));
        ini::write(home->file("Sondrel.INI"), "Mode", "Mode", c.saved);
        ini::write(home->file("Sondrel.INI"), "Settings", "Slashed Zero", "Slashed Zero False");
        qputenv("SONDREL_AUDIO", ("file:" + wav).toLocal8Bit());
        qputenv("SONDREL_AUDIO_SPEED", "4");
        ModeName.clear();
        PSKModeActive = false;
        SpectrumHold = false; // a fresh start after the last one closed
        events::SetProgramClosing(false);

        ASSERT_TRUE(main().Form_Load());
        EXPECT_EQ(main().ModeLabel->text(), c.saved);
        EXPECT_TRUE(main().mnu(c.item).checked());
        QElapsedTimer clock;
        clock.start();
        while (!rxText().contains("TEST0 TEST0 pse k\r\n") && clock.elapsed() < 90000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_TRUE(rxText().contains("TEST0 TEST0 pse k\r\n")) << rxText().toStdString();
        EXPECT_TRUE(boxes.messages().isEmpty());
        main().Form_Unload();
        Sondrel::destroyInstance();
    }
}

TEST_F(EndToEnd, TheModeMenuAndLabelSwitchTheRunningEngine)
{
    qputenv("SONDREL_AUDIO", "null");
    ini::write(home->file("Sondrel.INI"), "Mode", "Mode", "BPSK");
    ASSERT_TRUE(main().Form_Load());
    EXPECT_EQ(main().ModeLabel->text(), "BPSK");
    main().mnu("mnuQPSKInv").click();
    EXPECT_EQ(main().ModeLabel->text(), "QPSK-I");
    EXPECT_TRUE(main().mnu("mnuQPSKInv").checked());
    EXPECT_FALSE(main().mnu("mnuBPSK").checked());
    main().mnu("mnuTune").click();
    EXPECT_EQ(main().ModeLabel->text(), "Tune");
    main().mnu("mnuBPSK").click();
    EXPECT_EQ(ini("Mode", "Mode"), "BPSK");
    EXPECT_TRUE(boxes.messages().isEmpty());
}

TEST_F(EndToEnd, PttSetupOpensThePortThroughTheEngine)
{
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    qputenv("SONDREL_COM3", name);
    qputenv("SONDREL_COM4", QDir(home->path()).filePath("no-such-port").toLocal8Bit());
    PSKModeActive = true;
    struct Case {
        int port;
        bool failed;
    };
    for (const Case& c : {Case{3, false}, Case{4, true}, Case{0, false}}) {
        PTTPortNum = c.port;
        PTTPortFailed = !c.failed;
        doPTTSetup();
        EXPECT_EQ(PTTPortFailed, c.failed) << c.port;
    }
    qunsetenv("SONDREL_COM3");
    qunsetenv("SONDREL_COM4");
    ::close(slave);
    ::close(master);
}

} // namespace

TEST_F(EndToEnd, ASoundCardNamedWrongSaysWhichDevicesThereAre)
{
    qputenv("SONDREL_AUDIO", "device:No Such Radio Interface");
    main().Form_Load(); // the engine's start fails; start-up ends the program
    const auto said = boxes.messages();
    ASSERT_EQ(said.size(), 2);
    EXPECT_EQ(said[0].title, "DLL Error  21");
    EXPECT_EQ(said[1].title, "Sound device");
    EXPECT_TRUE(said[1].text.contains("\"No Such Radio Interface\"")) << said[1].text.toStdString();
}
