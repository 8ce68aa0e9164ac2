// The real plug-in, found by its ProgID beside this program and called late-bound, driving a
// simulated radio on its own poll timer.
#include "platform/system/comobject.h"
#include "platform/widgets/scripted_dialogs.h"
#include "hex.h"
#include "radio_simulator.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

QVariant call(ComObject& o, const char* member, QVariantList args = {})
{
    QString error;
    const QVariant r = o.call(QString::fromLatin1(member), args, &error);
    EXPECT_TRUE(error.isEmpty()) << member << ": " << error.toStdString();
    return r;
}

TEST(Plugin, UnknownProgIdSaysSo)
{
    QString error;
    EXPECT_FALSE(ComObject::create(QStringLiteral("Nobody.Nothing"), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("The component Nobody.Nothing is not installed"))) << qPrintable(error);
}

TEST(Plugin, DrivesAnIcomEndToEnd)
{
    dlg::ScriptedDialogs boxes;
    QString error;
    auto rig = ComObject::create(QStringLiteral("Varnel.RigControl"), &error);
    ASSERT_TRUE(rig) << qPrintable(error);
    EXPECT_EQ(rig->dispatchId(QStringLiteral("setRadioFrequency")), 0x6003001A);

    RadioSimulator radio(RadioSimulator::Icom);
    radio.assignToPort(6);
    radio.startAutomatic(2);

    // The start-up order of the program.
    EXPECT_EQ(call(*rig, "setPollInterval", {20}), QVariant(1));
    EXPECT_FALSE(call(*rig, "PutRadioFileName", {QStringLiteral("No Data File entered")}).isValid());
    EXPECT_EQ(call(*rig, "SetRadioType", {QStringLiteral("Icom (not IC-735)")}), QVariant(true));
    EXPECT_EQ(call(*rig, "getCommPortState"), QVariant(false));
    EXPECT_EQ(call(*rig, "RTSEnable", {false}), QVariant(1));
    EXPECT_EQ(call(*rig, "DTREnable", {false}), QVariant(1));
    EXPECT_EQ(call(*rig, "CommPort", {6}), QVariant(1));
    EXPECT_EQ(call(*rig, "setIcomAddress", {QStringLiteral("58")}), QVariant(1));
    EXPECT_EQ(call(*rig, "Handshaking", {0}), QVariant(1));
    EXPECT_EQ(call(*rig, "Settings", {QStringLiteral("9600,N,8,1")}), QVariant(1));
    EXPECT_EQ(call(*rig, "PortOpen", {true}), QVariant(1));

    EXPECT_TRUE(QTest::qWaitFor([&] { return call(*rig, "getRadioMode") == QVariant(QStringLiteral("USB")); }, 5000));
    EXPECT_EQ(call(*rig, "getRadioFreq"), QVariant(QStringLiteral("14070.15")));

    QVariantList freq{QStringLiteral("7040.5")};
    EXPECT_EQ(rig->call(QStringLiteral("setRadioFrequency"), freq), QVariant(0));
    EXPECT_EQ(freq, QVariantList{QStringLiteral("7040.5")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return call(*rig, "getRadioFreq") == QVariant(QStringLiteral("7040.5")); }, 5000));
    EXPECT_EQ(radio.frequencyHz(), 7040500);

    call(*rig, "setPTTByCommandOn");
    EXPECT_TRUE(QTest::qWaitFor([&] { return radio.ptt(); }, 5000));
    call(*rig, "setPTTByCommandOff");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !radio.ptt(); }, 5000));

    QString raw;
    for (char c : hexBytes("FE FE 58 E0 1C 00 01 FD"))
        raw += QChar(static_cast<unsigned char>(c));
    call(*rig, "setDirectRadioCommandHEX", {raw});
    EXPECT_TRUE(QTest::qWaitFor([&] { return radio.ptt(); }, 5000));
    call(*rig, "setDirectRadioCommand", {QString(raw).replace(QChar(1), QChar(0))});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !radio.ptt(); }, 5000));

    radio.setFrequencyHz(18100000);
    radio.setModeCode(3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return call(*rig, "getRadioMode") == QVariant(QStringLiteral("CW")); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return call(*rig, "getRadioFreq") == QVariant(QStringLiteral("18100")); }, 5000));

    EXPECT_EQ(call(*rig, "PortOpen", {false}), QVariant(1));
    EXPECT_EQ(call(*rig, "setPollInterval", {0}), QVariant(1));
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST(Plugin, BoxesGoThroughTheProgramsDialogs)
{
    dlg::ScriptedDialogs boxes;
    auto rig = ComObject::create(QStringLiteral("varnel.rigcontrol"));
    ASSERT_TRUE(rig);
    EXPECT_EQ(call(*rig, "SetRadioType", {QStringLiteral("Flex")}), QVariant(false));
    EXPECT_EQ(call(*rig, "CommPort", {0}), QVariant(0));
    ASSERT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(boxes.calls()[0].title, QStringLiteral("Unsupported Radio type"));
    EXPECT_EQ(boxes.calls()[1].text, QStringLiteral("Error # 8002 Invalid Port Number"));
    EXPECT_EQ(boxes.calls()[1].title, QStringLiteral("Varnel"));

    QString error;
    EXPECT_FALSE(rig->call(QStringLiteral("Frobnicate"), {}, &error).isValid());
    EXPECT_EQ(error, QStringLiteral("Error # 438 Object doesn't support this property or method"));
}

TEST(Plugin, InstancesShareOneState)
{
    dlg::ScriptedDialogs boxes;
    auto first = ComObject::create(QStringLiteral("Varnel.RigControl"));
    auto second = ComObject::create(QStringLiteral("Varnel.RigControl"));
    ASSERT_TRUE(first && second);
    call(*first, "SetRadioType", {QStringLiteral("Kenwood - all")});
    call(*first, "inputTestString", {QStringLiteral("IF00007040000     +000000000010000000;")});
    EXPECT_EQ(call(*second, "getRadioFreq"), QVariant(QStringLiteral("7040")));
    EXPECT_EQ(call(*second, "getRadioMode"), QVariant(QStringLiteral("LSB")));
}

} // namespace
