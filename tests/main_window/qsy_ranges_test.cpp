// The program asks its radio for a frequency (the QSY of a macro, preset or split) with every
// one of its own links: the radio control component loaded by its ProgID, its port on a
// simulated radio. What the radio type cannot carry or no radio of it tunes is refused and
// nothing reaches the line; everything else goes out as the radio's command.
#include "core/transmit/transmit.h"
#include "main_window/sondrel.h"
#include "platform/system/events.h"
#include "platform/system/inifile.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/scripted_dialogs.h"
#include "radio_control/hex.h"
#include "radio_control/radio_simulator.h"
#include "state/declarations.h"
#include "support/temp_home.h"

#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct QsyCase {
    const char* type;
    RadioSimulator::Model model;
    const char* kHz;
    const char* sent; // hex of the command on the line; empty: refused
};

// A set-frequency command, as opposed to the polls around it.
bool setsFrequency(RadioSimulator::Model model, const QByteArray& command)
{
    switch (model) {
    case RadioSimulator::Kenwood: return command.startsWith("FA") && command.size() == 14;
    case RadioSimulator::FT847: return command.size() == 5 && command[4] == 0x01;
    default: return command.size() > 5 && static_cast<unsigned char>(command[4]) == 0x05;
    }
}

QStringList frequencyCommands(const RadioSimulator& radio, RadioSimulator::Model model)
{
    QStringList out;
    for (const QByteArray& c : radio.commands())
        if (setsFrequency(model, c))
            out << hexText(c);
    return out;
}

class QsyRanges : public testing::Test {
protected:
    void SetUp() override
    {
        events::SetProgramClosing(false);
        dlg::setModalRunner([](QDialog& d) {
            d.reject();
            return d.result();
        });
    }
    void TearDown() override
    {
        stop();
        dlg::setModalRunner({});
    }

    // The program started on this radio type, its port on a simulator of the model.
    void start(const QsyCase& c)
    {
        stop();
        radio = std::make_unique<RadioSimulator>(c.model);
        ASSERT_TRUE(radio->isOpen());
        radio->assignToPort(1);
        radio->startAutomatic(2);
        const QString ini = home.file("Sondrel.INI");
        ini::write(ini, "Radio Control", "Radio Type", c.type);
        ini::write(ini, "Radio Control", "Port Number", "1");
        ini::write(ini, "Radio Control", "Icom Address", "58");
        ini::write(ini, "Radio Control", "Poll Interval", "40");
        ASSERT_TRUE(Sondrel::instance().Form_Load());
        ASSERT_NE(Sondrel::instance().RigControl, nullptr) << Sondrel::instance().RigControlError.toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !radio->commands().isEmpty(); }, 5000)) << "no poll";
    }
    void stop()
    {
        if (Sondrel* w = Sondrel::existing()) {
            if (w->loaded() && !w->unloaded())
                w->Form_Unload();
            Sondrel::destroyInstance();
        }
        radio.reset();
    }

    TempHome home;
    dlg::ScriptedDialogs boxes;
    std::unique_ptr<RadioSimulator> radio;
};

TEST_F(QsyRanges, FamilyTypesRefuseOnlyWhatNoneOfTheirRadiosTakes)
{
    const QsyCase cases[] = {
        // Icom CI-V, five-byte field: the wide-band receivers to 3335 MHz, the IC-905 at 5.7 GHz.
        {"Icom (not IC-735)", RadioSimulator::Icom, "200000", "FE FE 58 E0 05 00 00 00 00 02 FD"},
        {"Icom (not IC-735)", RadioSimulator::Icom, "446006.25", "FE FE 58 E0 05 50 62 00 46 04 FD"},
        {"Icom (not IC-735)", RadioSimulator::Icom, "1090000", "FE FE 58 E0 05 00 00 00 90 10 FD"},
        {"Icom (not IC-735)", RadioSimulator::Icom, "3335000", "FE FE 58 E0 05 00 00 00 35 33 FD"},
        {"Icom (not IC-735)", RadioSimulator::Icom, "5760100", "FE FE 58 E0 05 00 00 10 60 57 FD"},
        {"Icom (not IC-735)", RadioSimulator::Icom, "4.999", ""},
        {"Icom (not IC-735)", RadioSimulator::Icom, "3335000.001", ""},
        {"Icom (not IC-735)", RadioSimulator::Icom, "10368100", ""}, // needs the six-byte field
        // Kenwood FA: 4 m on the TS-890S, the R-5000's VHF converter from 108 MHz.
        {"Kenwood - all", RadioSimulator::Kenwood, "70200", "46 41 30 30 30 37 30 32 30 30 30 30 30 3B"},
        {"Kenwood - all", RadioSimulator::Kenwood, "108000", "46 41 30 30 31 30 38 30 30 30 30 30 30 3B"},
        {"Kenwood - all", RadioSimulator::Kenwood, "1296200", "46 41 30 31 32 39 36 32 30 30 30 30 30 3B"},
        {"Kenwood - all", RadioSimulator::Kenwood, "65000", ""},
        {"Kenwood - all", RadioSimulator::Kenwood, "98500", ""},
        {"Kenwood - all", RadioSimulator::Kenwood, "2400000", ""},
        // Single models keep their own coverage.
        {"Icom (IC-735 only)", RadioSimulator::Icom735, "14070.15", "FE FE 58 E0 05 50 01 07 14 FD"},
        {"Icom (IC-735 only)", RadioSimulator::Icom735, "200000", ""},
        {"Ten Tec Omni VI", RadioSimulator::OmniVI, "70200", ""},
        {"Yaesu FT-847", RadioSimulator::FT847, "70200", "07 02 00 00 01"},
        {"Yaesu FT-847", RadioSimulator::FT847, "1296200", ""},
    };
    QString running;
    for (const QsyCase& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.kHz);
        if (running != QLatin1String(c.type)) {
            start(c);
            running = QString::fromLatin1(c.type);
        }
        ASSERT_TRUE(radio);
        radio->clearRecord();
        boxes.clear();
        const qint64 before = radio->frequencyHz();
        EXPECT_EQ(RequestRadioFrequency(QString::fromLatin1(c.kHz)), *c.sent != 0);
        // A refusal is told in the program, naming the frequency and the type (and its ranges).
        EXPECT_EQ(boxes.messages().size(), *c.sent ? 0 : 1);
        if (!*c.sent && !boxes.messages().isEmpty()) {
            EXPECT_TRUE(boxes.messages()[0].text.startsWith(QStringLiteral("Frequency %1 kHz is outside what the radio "
                                                                           "type \"%2\" can be tuned to (")
                                                                .arg(c.kHz, c.type)));
        }
        if (*c.sent) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !frequencyCommands(*radio, c.model).isEmpty(); }, 5000));
            EXPECT_EQ(frequencyCommands(*radio, c.model), QStringList{QString::fromLatin1(c.sent)});
        } else {
            // Polls go on past the request, and no frequency reaches the radio.
            EXPECT_TRUE(QTest::qWaitFor([&] { return radio->commands().size() >= 4; }, 5000));
            EXPECT_TRUE(frequencyCommands(*radio, c.model).isEmpty());
            EXPECT_EQ(radio->frequencyHz(), before);
        }
    }
}

} // namespace
