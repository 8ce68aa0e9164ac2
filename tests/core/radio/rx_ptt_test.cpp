// PTT keying options: the engine set-up and the "Radio PTT selection" dialog.
#include "support/receive_fixture.h"

#include "core/radio/frmserialport.h"
#include "core/radio/ptt.h"
#include "platform/widgets/menuitem.h"
#include "state/mmtty_block.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

using Ptt = ReceiveFixture;

TEST_F(Ptt, SetupHandsPortAndLineToThePskEngine)
{
    load();
    struct Case {
        const char* mode;
        int port;
        const char* line;
        std::int32_t engineResult;
        QString call;
        bool failed;
        QString storedPort;
    };
    const Case cases[] = {
        {"Serial Port", 3, "RTS", 1, "fnSetComPort(3,1)", false, "<missing>"},
        {"Serial Port", 3, "DTR", 0, "fnSetComPort(3,2)", true, "<missing>"}, // the port did not open
        {"Serial Port", 0, "RTS & DTR", 0, "fnSetComPort(0,3)", false, "<missing>"},
        {"Serial Port", 2, "CTS", 1, "fnSetComPort(2,0)", false, "<missing>"},
        {"By Command", 3, "DTR", 0, "fnSetComPort(0,2)", false, "0"},
        {"By Shared Port", 5, "RTS", 1, "fnSetComPort(0,1)", false, "0"},
    };
    for (const Case& c : cases) {
        QFile::remove(home->file("Sondrel.INI"));
        psk.clear();
        PTTMode = c.mode;
        PTTPortNum = c.port;
        PTTKeyingLine = c.line;
        PTTPortFailed = !c.failed;
        comPortResult = c.engineResult;
        doPTTSetup();
        EXPECT_EQ(psk, QStringList({c.call})) << c.mode << c.port << c.line;
        EXPECT_EQ(PTTPortFailed, c.failed) << c.mode << c.port << c.line;
        EXPECT_EQ(ini("PTT", "PTT Port Num"), c.storedPort) << c.mode;
    }
}

TEST_F(Ptt, SetupInRttyWritesThePortNameAndTellsTheEngine)
{
    load();
    PSKModeActive = false;
    MessageSink engine;
    MMTTYhWnd = engine.handle;
    for (const auto& [port, name] : {std::pair{4, QByteArray("COM4\0   ", 8)}, std::pair{0, QByteArray("NONE\0   ", 8)}}) {
        engine.got.clear();
        PTTPortNum = port;
        PTTPortFailed = true;
        doPTTSetup();
        deliver();
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(MMTTYView) + mmtty::kPortName, 8), name);
        ASSERT_EQ(engine.got.size(), 1);
        EXPECT_EQ(engine.got[0].w, 21);
        EXPECT_EQ(engine.got[0].l, 0);
        EXPECT_FALSE(PTTPortFailed);
    }
    EXPECT_TRUE(psk.isEmpty());
    MMTTYhWnd = 0;
}

TEST_F(Ptt, TheDialogShowsTheSettingsInForce)
{
    struct Case {
        int port;
        const char* line;
        const char* mode;
        int portOption;
        const char* lineOption; // "" none
        const char* modeOption;
        bool framesOn;
    };
    const Case cases[] = {
        {3, "RTS", "Serial Port", 3, "Option2", "Option4", true},
        {0, "RTS & DTR", "Serial Port", 0, "Option5", "Option4", true},
        {12, "DTR", "Serial Port", 0, "Option3", "Option4", true}, // a port it does not offer: "None"
        {-1, "DTR", "Serial Port", 0, "Option3", "Option4", true},
        {4, "Both", "By Command", 0, "", "Option6", false},
        {4, "DTR", "By Shared Port", 0, "Option3", "Option7", false},
    };
    for (const Case& c : cases) {
        PTTPortNum = c.port;
        PTTKeyingLine = c.line;
        PTTMode = c.mode;
        frmSerialPort d;
        EXPECT_EQ(d.windowTitle(), "Radio PTT selection");
        EXPECT_TRUE(d.Option1[c.portOption]->isChecked()) << c.port;
        EXPECT_EQ(d.pendingPort(), c.portOption);
        for (QRadioButton* o : {d.Option2, d.Option3, d.Option5})
            EXPECT_EQ(o->isChecked(), o->objectName() == c.lineOption) << c.line;
        for (QRadioButton* o : {d.Option4, d.Option6, d.Option7})
            EXPECT_EQ(o->isChecked(), o->objectName() == c.modeOption) << c.mode;
        EXPECT_EQ(d.Frame1->isEnabled(), c.framesOn);
        EXPECT_EQ(d.Frame2->isEnabled(), c.framesOn);
    }
}

TEST_F(Ptt, OkStoresAndAppliesByCommandKeepsNoPort)
{
    load();
    PTTPortNum = 3;
    frmSerialPort d;
    d.Option6->click();
    EXPECT_TRUE(d.Option1[0]->isChecked());
    d.OK->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(PTTMode, "By Command");
    EXPECT_EQ(PTTPortNum, 0);
    EXPECT_EQ(ini("PTT", "PTT Port Num"), "0");
    EXPECT_EQ(ini("PTT", "PTT Keying Line"), "DTR");
    EXPECT_EQ(ini("PTT", "PTT Mode"), "By Command");
    EXPECT_EQ(psk, QStringList({"fnSetComPort(0,2)"}));

    // Back to the serial port: the port in force is selected again.
    PTTPortNum = 5;
    frmSerialPort again;
    again.Option4->click();
    EXPECT_TRUE(again.Option1[5]->isChecked());
    EXPECT_TRUE(again.Frame1->isEnabled());
}

TEST_F(Ptt, TheRadioPortCannotAlsoKeyPtt)
{
    load();
    RadioPortNumber = "2";
    for (int mode : {4, 7}) {
        frmSerialPort d;
        (mode == 4 ? d.Option4 : d.Option7)->click();
        if (mode == 4)
            d.Option1[2]->click();
        else
            d.Option1_Click(2); // the frame is disabled; the port still counts
        d.OK->click();
        EXPECT_NE(d.result(), QDialog::Accepted);
    }
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages()[0].text,
              "There is a conflict.  You have both the dedicated PTT serial port, and the Radio control serial port "
              "set to Comm 2, this isn't going to work.");
    EXPECT_EQ(boxes.messages()[0].title, "No can do...");
    EXPECT_EQ(ini("PTT", "PTT Mode"), "<missing>");
    EXPECT_TRUE(psk.isEmpty());

    frmSerialPort none;
    none.Option1[0]->click();
    none.OK->click();
    EXPECT_EQ(none.result(), QDialog::Accepted);
    EXPECT_EQ(boxes.messages().size(), 2);
}

TEST_F(Ptt, CancelStoresNothingAndTheMenuShowsTheDialogModally)
{
    load();
    int shown = 0;
    dlg::setModalRunner([&](QDialog& d) {
        ++shown;
        auto& f = dynamic_cast<frmSerialPort&>(d);
        f.Option5->click();
        f.Cancel->click();
        return d.result();
    });
    main().mnu("mnuPTTOptions").click();
    dlg::setModalRunner({});
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(PTTKeyingLine, "DTR");
    EXPECT_EQ(ini("PTT", "PTT Keying Line"), "<missing>");
}

} // namespace
