// The radio control settings dialog, the port set-up and the radio menu commands.
#include "radio_support.h"

#include "core/radio/frmradiocommand.h"
#include "core/radio/radio_port.h"
#include "settings/inistuff.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

namespace {

using RadioSettings = RadioFixture;

const QString kPollText = "The Radio polling interval is adjustable between 0 and 5000.  A setting of 0 is no "
                          "polling.  A setting of 5000 is 5 seconds.";
const QString kIcomText = "The Icom address must be a Hex number between 0 and 7F.";

void chooseType(frmRadioCommand& d, const QString& type)
{
    d.Combo->setCurrentIndex(d.Combo->findText(type));
    d.Combo_Click();
}

QList<int> checkedOptions(const frmRadioCommand& d)
{
    QList<int> on;
    for (int i = 0; i <= 30; ++i)
        if (d.Option1[static_cast<std::size_t>(i)] && d.Option1[static_cast<std::size_t>(i)]->isChecked())
            on << i;
    return on;
}

TEST_F(RadioSettings, TheDialogShowsTheSettingsAndWaitsForAChange)
{
    RadioPortNumber = "3";
    RadioBaudRate = "19200";
    RadioFlowControl = "2";
    RadioDataBits = "7";
    RadioParity = "E";
    RadioStopBits = "2";
    RadioModel = "Kenwood - all";
    RadioPollInterval = 250;
    IcomAddress = "58";
    RadioDataFileName = "radio.dat";
    {
        frmRadioCommand d;
        EXPECT_EQ(d.windowTitle(), "RigControl setup");
        EXPECT_EQ(checkedOptions(d), QList<int>({3, 11, 19, 22, 24, 29}));
        EXPECT_EQ(d.Combo->currentText(), "Kenwood - all");
        EXPECT_EQ(d.Combo->count(), 10);
        EXPECT_EQ(d.Combo->itemText(3), "Kachina 505");
        EXPECT_EQ(d.PollingIntervalBox->text(), "250");
        EXPECT_EQ(d.IcomAddressBox->text(), "58");
        EXPECT_EQ(d.RadioDataBox->text(), "radio.dat");
        EXPECT_FALSE(d.OKButton->isEnabled());
    }
    // Values the dialog does not offer select nothing; an unknown radio leaves "No Radio".
    RadioBaudRate = "1234";
    RadioParity = "n";
    RadioModel = "Bogus";
    {
        frmRadioCommand d;
        EXPECT_EQ(checkedOptions(d), QList<int>({3, 19, 22, 29}));
        EXPECT_EQ(d.Combo->currentText(), "No Radio");
    }

    const std::function<void(frmRadioCommand&)> changes[] = {
        [](frmRadioCommand& d) { chooseType(d, "Yaesu FT-847"); },
        [](frmRadioCommand& d) { d.Option1[5]->click(); },
        [](frmRadioCommand& d) { d.Option1[13]->click(); },
        [](frmRadioCommand& d) { d.PollingIntervalBox->setText("100"); },
        [](frmRadioCommand& d) { d.IcomAddressBox->setText("7F"); },
        [](frmRadioCommand& d) { d.RadioDataBox->setText("other"); },
    };
    int n = 0;
    for (const auto& change : changes) {
        frmRadioCommand d;
        change(d);
        EXPECT_TRUE(d.OKButton->isEnabled()) << n++;
    }
}

TEST_F(RadioSettings, OkChecksTheEntriesInOrder)
{
    struct Case {
        const char* poll;
        const char* icom;
        int port;    // option 0..8
        int pttPort;
        QString title; // empty: accepted
    };
    const Case cases[] = {
        {"-1", "00", 0, 0, "Incorrect polling interval"},
        {"5001", "zz", 3, 3, "Incorrect polling interval"}, // the first failing check speaks
        {"0", "7F", 0, 0, ""},
        {"5000", "0", 0, 0, ""},
        {"abc", "00", 0, 0, ""},                            // no number is 0
        {"500", "80", 0, 0, "Incorrect Icom address"},
        {"500", "G1", 3, 3, "Incorrect Icom address"},
        {"500", "100", 0, 0, "Incorrect Icom address"},
        {"500", "", 0, 0, "Incorrect Icom address"},
        {"500", "00", 3, 3, "No can do..."},
        {"500", "00", 0, 0, ""},                            // no port never conflicts
    };
    for (const Case& c : cases) {
        boxes.clear();
        PTTPortNum = c.pttPort;
        frmRadioCommand d;
        d.PollingIntervalBox->setText(c.poll);
        d.IcomAddressBox->setText(c.icom);
        d.Option1[static_cast<std::size_t>(c.port)]->click();
        d.OKButton->click();
        const std::string what = QString("%1 %2 %3").arg(c.poll, c.icom).arg(c.port).toStdString();
        if (c.title.isEmpty()) {
            EXPECT_EQ(d.result(), QDialog::Accepted) << what;
            EXPECT_TRUE(boxes.messages().isEmpty()) << what;
            continue;
        }
        EXPECT_NE(d.result(), QDialog::Accepted) << what;
        ASSERT_EQ(boxes.messages().size(), 1) << what;
        const dlg::BoxCall box = boxes.messages()[0];
        EXPECT_EQ(box.title, c.title) << what;
        EXPECT_EQ(box.style, dlg::OKOnly) << what;
        if (c.title == "Incorrect polling interval")
            EXPECT_EQ(box.text, kPollText);
        else if (c.title == "Incorrect Icom address")
            EXPECT_EQ(box.text, kIcomText);
        else
            EXPECT_EQ(box.text, "There is a conflict.  You have both the dedicated PTT serial port, and the Radio "
                                "control serial port set to Comm 3, this isn't going to work.");
    }
}

TEST_F(RadioSettings, RadiosWithoutTheSerialPortCloseItAndStoreNoPort)
{
    for (const char* type : {"No Radio", "Kachina 505"}) {
        rig.clear();
        QFile::remove(home->file("Sondrel.INI"));
        RadioModel = "No Radio";
        answers["getCommPortState"] = true;
        frmRadioCommand d;
        chooseType(d, type);
        d.Option1[4]->click();
        d.PollingIntervalBox->setText("250");
        d.RadioDataBox->setText("radio.dat");
        d.OKButton->click();
        EXPECT_EQ(d.result(), QDialog::Accepted) << type;
        QStringList expected{"getCommPortState()", "PortOpen(False)"};
        if (QString(type) != "No Radio")
            expected << QString("SetRadioType(%1)").arg(type);
        expected << "setPollInterval(250)" << "PutRadioFileName(radio.dat)";
        EXPECT_EQ(rig, expected) << type;
        EXPECT_EQ(RadioPortNumber, "0");
        EXPECT_EQ(RadioModel, type);
        EXPECT_EQ(RadioPollInterval, 250);
        EXPECT_EQ(RadioDataFileName, "radio.dat");
        // All ten keys, in their order.
        const QString text = iniText();
        qsizetype at = text.indexOf("[Radio Control]");
        ASSERT_GE(at, 0);
        for (const char* line : {"Parity=N", "Flow Control=0", "Data Bits=8", "Stop Bits=1", "Port Number=0",
                                 "Baud Rate=9600", "Radio Type=", "Poll Interval=250", "Icom Address=00",
                                 "Radio Data File Name=radio.dat"}) {
            const qsizetype next = text.indexOf(line, at);
            EXPECT_GT(next, at) << line;
            at = next;
        }
    }
}

TEST_F(RadioSettings, AnOpenPortIsClosedAndReopenedOnlyWhenTheOperatorSaysYes)
{
    RadioModel = "Kenwood - all";
    PTTMode = "By Command";
    PTTKeyingLine = "RTS & DTR";
    answers["getCommPortState"] = true;
    answers["getCommPortNumber"] = 3;
    const QString question = "The radio control port, Comm  3, is already open.  Do you want me to close the port "
                             "and adjust the settings?";
    const QStringList asked{"getCommPortState()", "getCommPortNumber()"};
    const QStringList pushed{"RTSEnable(False)", "DTREnable(False)", "CommPort(5)", "setIcomAddress(00)",
                             "setPollInterval(500)", "Handshaking(0)", "Settings(9600,N,8,1)"};
    struct Case {
        int answer;
        int port;
        QVariant reopen; // PortOpen's answer
        QStringList calls;
        bool stored;
    };
    const Case cases[] = {
        {dlg::No, 5, 1, asked, false},
        {dlg::Yes, 5, 1, asked + QStringList{"PortOpen(False)"} + pushed + QStringList{"PortOpen(True)"}, true},
        {dlg::Yes, 5, 0, asked + QStringList{"PortOpen(False)"} + pushed + QStringList{"PortOpen(True)"}, false},
        {dlg::Yes, 0, 1, asked + QStringList{"PortOpen(False)"}, true},
    };
    for (const Case& c : cases) {
        rig.clear();
        boxes.clear();
        QFile::remove(home->file("Sondrel.INI"));
        answers["PortOpen"] = c.reopen;
        boxes.answerMessage(c.answer);
        frmRadioCommand d;
        d.Option1[static_cast<std::size_t>(c.port)]->click();
        d.OKButton->click();
        EXPECT_EQ(rig, c.calls) << c.answer << c.port;
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_EQ(boxes.messages()[0].text, question);
        EXPECT_EQ(boxes.messages()[0].title, "Port options");
        EXPECT_EQ(boxes.messages()[0].style, dlg::YesNo);
        EXPECT_EQ(d.result() == QDialog::Accepted, c.stored) << c.answer << c.port;
        EXPECT_EQ(ini("Radio Control", "Port Number"), c.stored ? QString::number(c.port) : "<missing>");
    }
}

TEST_F(RadioSettings, AClosedPortIsOfferedToBeOpenedAfterTheSettingsWentIn)
{
    RadioModel = "Icom (not IC-735)";
    const QString question = "The Radio control port was not open.  The settings have been changed.  Do you want "
                             "the port, Comm 2, opened?";
    const QStringList pushed{"getCommPortState()", "CommPort(2)", "setIcomAddress(5E)", "setPollInterval(500)",
                             "Handshaking(1)", "Settings(4800,O,6,2)"};
    struct Case {
        int answer;
        QVariant commPort;
        QStringList calls;
        int questions;
        bool stored;
    };
    const Case cases[] = {
        {dlg::Yes, 1, pushed + QStringList{"PortOpen(True)"}, 1, true},
        {dlg::No, 1, pushed, 1, true},
        {dlg::Yes, 0, {"getCommPortState()", "CommPort(2)"}, 0, false}, // the component refused the port
    };
    for (const Case& c : cases) {
        rig.clear();
        boxes.clear();
        QFile::remove(home->file("Sondrel.INI"));
        answers["CommPort"] = c.commPort;
        boxes.answerMessage(c.answer);
        frmRadioCommand d;
        for (int option : {2, 13, 20, 23, 25, 29})
            d.Option1[static_cast<std::size_t>(option)]->click();
        d.IcomAddressBox->setText("5E");
        d.OKButton->click();
        EXPECT_EQ(rig, c.calls) << c.answer;
        ASSERT_EQ(boxes.messages().size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(boxes.messages()[0].text, question);
        }
        EXPECT_EQ(d.result() == QDialog::Accepted, c.stored);
        EXPECT_EQ(ini("Radio Control", "Baud Rate"), c.stored ? "4800" : "<missing>");
        EXPECT_EQ(ini("Radio Control", "Icom Address"), c.stored ? "5E" : "<missing>");
    }
}

TEST_F(RadioSettings, ARadioTypeTheComponentRefusesStoresNothing)
{
    answers["SetRadioType"] = false;
    frmRadioCommand d;
    chooseType(d, "Yaesu FT-990");
    d.OKButton->click();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(rig, QStringList({"getCommPortState()", "SetRadioType(Yaesu FT-990)"}));
    EXPECT_EQ(RadioModel, "No Radio");
    EXPECT_EQ(ini("Radio Control", "Radio Type"), "<missing>");
}

TEST_F(RadioSettings, PortSetUpRunsItsStepsInOrder)
{
    // The start-up link is the real set-up.
    const ProgramLinks fakes = Links();
    ResetLinks();
    const auto setup = Links().SetupRadioPort;
    Links() = fakes;
    Links().SetupRadioPort = setup;
    struct Case {
        const char* port;
        bool open;
        const char* pttMode;
        const char* line;
        QVariant commPort;
        QStringList calls;
    };
    const QStringList line{"setIcomAddress(10)", "setPollInterval(0)", "Handshaking(2)", "Settings(38400,E,7,2)"};
    const Case cases[] = {
        {"0", true, "By Command", "RTS", 1, {}},
        {"", true, "Serial Port", "RTS", 1, {}},
        {"4", false, "Serial Port", "RTS", 1,
         QStringList{"getCommPortState()", "CommPort(4)"} + line + QStringList{"PortOpen(True)"}},
        {"4", true, "By Command", "RTS", 1,
         QStringList{"getCommPortState()", "PortOpen(False)", "RTSEnable(False)", "CommPort(4)"} + line
             + QStringList{"PortOpen(True)"}},
        {"4", false, "By Command", "DTR", 1,
         QStringList{"getCommPortState()", "DTREnable(False)", "CommPort(4)"} + line + QStringList{"PortOpen(True)"}},
        // A refused port stops the line settings; the port is opened all the same.
        {"7", false, "By Command", "RTS & DTR", 0,
         {"getCommPortState()", "RTSEnable(False)", "DTREnable(False)", "CommPort(7)", "PortOpen(True)"}},
    };
    RadioPollInterval = 0;
    IcomAddress = "10";
    RadioFlowControl = "2";
    RadioBaudRate = "38400";
    RadioParity = "E";
    RadioDataBits = "7";
    RadioStopBits = "2";
    for (const Case& c : cases) {
        rig.clear();
        RadioPortNumber = c.port;
        answers["getCommPortState"] = c.open;
        answers["CommPort"] = c.commPort;
        PTTMode = c.pttMode;
        PTTKeyingLine = c.line;
        Links().SetupRadioPort();
        EXPECT_EQ(rig, c.calls) << c.port << c.pttMode << c.line;
    }
}

TEST_F(RadioSettings, MenuCommandsOfThePortAndTheDebugWindow)
{
    RadioPortNumber = "0";
    main().mnu("mnuPortState").click();
    EXPECT_TRUE(rig.isEmpty());
    RadioPortNumber = "2";
    main().mnu("mnuPortState").click();
    answers["getCommPortState"] = true;
    main().mnu("mnuPortState").click();
    main().mnu("mnuShowRadioDebug").click();
    EXPECT_EQ(rig, QStringList({"getCommPortState()", "PortOpen(True)", "getCommPortState()", "PortOpen(False)",
                                "setDebugWindow()"}));
}

TEST_F(RadioSettings, TheMenuShowsTheDialogAndCancelChangesNothing)
{
    int shown = 0;
    dlg::setModalRunner([&](QDialog& dialog) {
        ++shown;
        auto& d = dynamic_cast<frmRadioCommand&>(dialog);
        d.Option1[6]->click();
        d.CancelBurron->click();
        return d.result();
    });
    main().mnu("mnuRadioControl").click();
    dlg::setModalRunner({});
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(RadioPortNumber, "0");
    EXPECT_TRUE(rig.isEmpty());
    EXPECT_EQ(ini("Radio Control", "Port Number"), "<missing>");
}

} // namespace
