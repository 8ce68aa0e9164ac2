// The component as the program calls it: late-bound members, variant arguments and results,
// the radio type table and the serial-port setters with their error texts.
#include "hex.h"
#include "rig_bench.h"

#include "radio_control/radio_types.h"

using namespace varnel;

namespace {

TEST(Dispatch, RadioTypeTable)
{
    RigBench b;
    const struct {
        const char* name;
        int code;
    } known[] = {{"No Radio", 0}, {"Icom (not IC-735)", 11}, {"Icom (IC-735 only)", 12},
                 {"Kenwood - all", 21}, {"Yaesu FT-1000D", 31}, {"Yaesu FT-1000MP", 34},
                 {"Yaesu FT-990", 39}, {"Yaesu FT-847", 35}, {"Ten Tec Omni VI", 42},
                 {"Kachina 505", 61}};
    for (const auto& k : known) {
        EXPECT_EQ(b.call("SetRadioType", {QString::fromLatin1(k.name)}), QVariant(true)) << k.name;
        EXPECT_EQ(b.rig().radioCode(), k.code) << k.name;
    }
    EXPECT_TRUE(b.boxes.calls().isEmpty());

    for (const char* unknown : {"kenwood - all", "Yaesu FT-1000", "", "Icom (not IC-735) "}) {
        b.call("SetRadioType", {QStringLiteral("Kenwood - all")});
        b.boxes.clear();
        EXPECT_EQ(b.call("SetRadioType", {QString::fromLatin1(unknown)}), QVariant(false));
        EXPECT_EQ(b.rig().radioCode(), 0);
        ASSERT_EQ(b.boxes.calls().size(), 1);
        EXPECT_EQ(b.boxes.calls()[0].text,
                  QStringLiteral("Radio Type %1 is not supported by this .OCX").arg(QString::fromLatin1(unknown)));
        EXPECT_EQ(b.boxes.calls()[0].title, QStringLiteral("Unsupported Radio type"));
        EXPECT_EQ(b.boxes.calls()[0].style, dlg::OKOnly);
    }
}

TEST(Dispatch, SettersGiveOneOrZeroWithTheErrorText)
{
    RigBench b;
    RadioSimulator radio(RadioSimulator::Kenwood);
    radio.assignToPort(5);
    qputenv("SONDREL_COM9", "/nonexistent/tty9");
    const struct {
        const char* member;
        QVariant arg;
        int result;
        const char* error;
    } steps[] = {
        {"CommPort", 9, 1, ""},
        {"PortOpen", true, 0, "Error # 8002 Invalid Port Number"},
        {"CommPort", 0, 0, "Error # 8002 Invalid Port Number"},
        {"CommPort", 5, 1, ""},
        {"Handshaking", 2, 1, ""},
        {"Handshaking", 4, 0, "Error # 380 Invalid property value"},
        {"Handshaking", 0, 1, ""},
        {"Settings", QStringLiteral("4800,E,7,2"), 1, ""},
        {"Settings", QStringLiteral("9600,X,8,1"), 0, "Error # 380 Invalid property value"},
        {"Settings", QStringLiteral("9601,N,8,1"), 0, "Error # 380 Invalid property value"},
        {"Settings", QStringLiteral("9600,N,8"), 0, "Error # 380 Invalid property value"},
        {"Settings", QStringLiteral("14400,N,8,1"), 1, ""},
        {"setPollInterval", 0, 1, ""},
        {"setPollInterval", -5, 0, "Error # 380 Invalid property value"},
        {"setIcomAddress", QStringLiteral("zz"), 1, ""},
        {"setIcomAddress", QStringLiteral("58"), 1, ""},
        {"DTREnable", true, 1, ""},
        {"RTSEnable", false, 1, ""},
        {"PortOpen", true, 1, ""},
        {"PortOpen", true, 0, "Error # 8005 Port already open"},
        {"CommPort", 6, 0, "Error # 8000 Operation not valid while the port is opened"},
        {"Settings", QStringLiteral("9600,N,8,1"), 1, ""},
        {"Handshaking", 1, 1, ""},
        {"DTREnable", false, 1, ""},
        {"RTSEnable", true, 1, ""},
        {"PortOpen", false, 1, ""},
        {"PortOpen", false, 1, ""},
    };
    for (const auto& s : steps) {
        b.boxes.clear();
        EXPECT_EQ(b.call(s.member, {s.arg}), QVariant(s.result)) << s.member << " " << s.arg.toString().toStdString();
        if (*s.error) {
            ASSERT_EQ(b.boxes.calls().size(), 1) << s.member;
            EXPECT_EQ(b.boxes.calls()[0].text, QString::fromLatin1(s.error));
            EXPECT_EQ(b.boxes.calls()[0].title, QStringLiteral("Varnel"));
            EXPECT_EQ(b.boxes.calls()[0].style, dlg::OKOnly);
        } else {
            EXPECT_TRUE(b.boxes.calls().isEmpty()) << s.member;
        }
    }
    EXPECT_EQ(b.call("getCommPortNumber"), QVariant(5));
    EXPECT_EQ(b.call("getCommPortState"), QVariant(false));
    qunsetenv("SONDREL_COM9");
}

TEST(Dispatch, LinesSetBeforeOpenAreKeptAndApplied)
{
    RigBench b;
    RadioSimulator radio(RadioSimulator::Kenwood);
    radio.assignToPort(5);
    b.call("CommPort", {5});
    EXPECT_FALSE(b.rig().port().dtrEnable());
    EXPECT_FALSE(b.rig().port().rtsEnable());
    EXPECT_EQ(b.call("DTREnable", {true}), QVariant(1));
    EXPECT_EQ(b.call("PortOpen", {true}), QVariant(1));
    EXPECT_EQ(b.call("getCommPortState"), QVariant(true));
    EXPECT_TRUE(b.rig().port().dtrEnable());
    EXPECT_FALSE(b.rig().port().rtsEnable());
    EXPECT_EQ(b.call("RTSEnable", {true}), QVariant(1));
    EXPECT_TRUE(b.rig().port().rtsEnable());
}

TEST(Dispatch, ResultsAndTexts)
{
    RigBench b;
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QString()));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QString()));
    EXPECT_FALSE(b.call("PutRadioFileName", {QStringLiteral("  /tmp/radio.dat  ")}).isValid());
    EXPECT_EQ(b.rig().radioDataFile(), QStringLiteral("/tmp/radio.dat"));
    EXPECT_EQ(b.call("getDebugWindowState"), QVariant(0));
    EXPECT_EQ(b.call("setDebugWindow"), QVariant(0));
    const QVariant shown = b.call("getDebugWindowState");
    EXPECT_EQ(shown.typeId(), QMetaType::Int);
    EXPECT_EQ(shown, QVariant(1));
    b.call("setDebugWindow");
    EXPECT_EQ(b.call("getDebugWindowState"), QVariant(0));
    EXPECT_EQ(b.call("getCommPortNumber"), QVariant(1));
    EXPECT_FALSE(b.call("doStateMachineReset").isValid());
}

TEST(Dispatch, CommandsQueueTheirBytes)
{
    RigBench b;
    b.call("SetRadioType", {QStringLiteral("Kenwood - all")});
    EXPECT_EQ(b.call("setDirectRadioCommand", {QStringLiteral("  IF; ")}), QVariant(0));
    EXPECT_EQ(b.call("setDirectRadioCommandHEX", {QStringLiteral("IF;")}), QVariant(0));
    // Bytes 0x80..0xFF and 0x00 cross as one Windows-1252 character each.
    EXPECT_EQ(b.call("setDirectRadioCommandHEX", {QString(QChar(0xFE)) + QChar(0x20AC) + QChar(0) + QChar(0xFD)}),
              QVariant(0));
    EXPECT_EQ(b.call("setDirectRadioCommand", {QStringLiteral("   ")}), QVariant(0)); // nothing
    ASSERT_EQ(b.rig().queue().size(), 3);
    EXPECT_EQ(b.rig().queue().at(0).bytes, QByteArray("IF;"));
    EXPECT_FALSE(b.rig().queue().at(0).hex);
    EXPECT_EQ(b.rig().queue().at(1).bytes, QByteArray("IF;"));
    EXPECT_TRUE(b.rig().queue().at(1).hex);
    EXPECT_EQ(b.rig().queue().at(2).bytes, QByteArray("\xFE\x80\x00\xFD", 4));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(b.rig().queue().at(i).tag.isEmpty());
}

TEST(Dispatch, SetFrequencyLeavesTheCallersTextOnEveryType)
{
    for (const QString& type : radioTypeNames()) {
        RigBench b;
        b.call("SetRadioType", {type});
        b.call("setIcomAddress", {QStringLiteral("58")});
        QVariantList args{QStringLiteral("14070.15")};
        QString error;
        EXPECT_EQ(b.control.invoke(QStringLiteral("setRadioFrequency"), args, error), QVariant(0)) << qPrintable(type);
        EXPECT_EQ(args, QVariantList{QStringLiteral("14070.15")}) << qPrintable(type);
        const bool serial = type != u"No Radio" && type != u"Kachina 505";
        EXPECT_EQ(b.rig().queue().size(), serial ? 1 : 0) << qPrintable(type);
    }
}

TEST(Dispatch, NoRadioQueuesNothing)
{
    RigBench b;
    EXPECT_EQ(b.call("setRadioFrequency", {QStringLiteral("14070.15")}), QVariant(0));
    EXPECT_EQ(b.call("setPTTByCommandOn"), QVariant(0));
    EXPECT_EQ(b.call("setPTTByCommandOff"), QVariant(0));
    EXPECT_TRUE(b.rig().queue().isEmpty());
}

TEST(Dispatch, RefusedAddressAndFrequencyShowRedAndQueueNothing)
{
    RigBench b;
    b.call("setDebugWindow");
    b.call("SetRadioType", {QStringLiteral("Icom (not IC-735)")});
    EXPECT_EQ(b.call("setIcomAddress", {QStringLiteral("80")}), QVariant(1));
    b.call("setRadioFrequency", {QStringLiteral("14070.15")});
    b.call("setPTTByCommandOn");
    b.call("setIcomAddress", {QStringLiteral("58")});
    b.call("setRadioFrequency", {QStringLiteral("14,070.15")});
    EXPECT_TRUE(b.rig().queue().isEmpty());
    const auto lines = b.rig().debugWindow()->lines();
    ASSERT_EQ(lines.size(), 4);
    for (const auto& l : lines)
        EXPECT_EQ(l.colour, DebugWindow::kMessageColour) << qPrintable(l.text);
    EXPECT_TRUE(lines[3].text.contains(QStringLiteral("14,070.15")));
}

TEST(Dispatch, IdentifiersNamesAndArgumentErrors)
{
    RigBench b;
    const struct {
        const char* name;
        int index;
    } ids[] = {{"inputTestString", 0}, {"setPTTByCommandOff", 1}, {"getRadioFreq", 5},
               {"PutRadioFileName", 7}, {"CommPort", 10}, {"RTSEnable", 17}, {"getCommPortNumber", 19},
               {"doStateMachineReset", 21}, {"SetRadioType", 22}, {"NowOutputToRadio", 23},
               {"PopRadioMessage", 24}, {"setRadioFrequency", 26}, {"SETRADIOTYPE", 22}};
    for (const auto& id : ids)
        EXPECT_EQ(b.control.dispatchId(QString::fromLatin1(id.name)), 0x60030000 + id.index) << id.name;
    EXPECT_EQ(b.control.dispatchId(QStringLiteral("Timer_Timer")), -1);

    QString error;
    QVariantList args{QStringLiteral("Kenwood - all")};
    EXPECT_EQ(b.control.invokeId(0x60030016, args, error), QVariant(true));
    EXPECT_TRUE(error.isEmpty());
    for (int hidden : {0x60030014, 0x60030019}) {
        QVariantList none;
        EXPECT_FALSE(b.control.invokeId(hidden, none, error).isValid());
        EXPECT_EQ(error, QStringLiteral("Error # 438 Object doesn't support this property or method"));
    }
    const struct {
        const char* member;
        QVariantList args;
        const char* error;
    } bad[] = {
        {"NoSuchMember", {}, "Error # 438 Object doesn't support this property or method"},
        {"CommPort", {}, "Error # 450 Wrong number of arguments or invalid property assignment"},
        {"getRadioFreq", {1}, "Error # 450 Wrong number of arguments or invalid property assignment"},
        {"CommPort", {QStringLiteral("three")}, "Error # 13 Type mismatch"},
        {"CommPort", {40000}, "Error # 6 Overflow"},
        {"PortOpen", {QStringLiteral("maybe")}, "Error # 13 Type mismatch"},
    };
    for (const auto& c : bad) {
        QVariantList a = c.args;
        EXPECT_FALSE(b.control.invoke(QString::fromLatin1(c.member), a, error).isValid());
        EXPECT_EQ(error, QString::fromLatin1(c.error)) << c.member;
    }
    // Conversions as late binding makes them.
    EXPECT_EQ(b.call("CommPort", {QStringLiteral(" 4 ")}), QVariant(1));
    EXPECT_EQ(b.call("getCommPortNumber"), QVariant(4));
    EXPECT_EQ(b.call("CommPort", {2.5}), QVariant(1));
    EXPECT_EQ(b.call("getCommPortNumber"), QVariant(2));
    b.call("setIcomAddress", {88});
    EXPECT_EQ(b.rig().icomAddress(), QStringLiteral("88"));
    EXPECT_TRUE(b.boxes.calls().isEmpty());
}

TEST(Dispatch, InstancesShareOneState)
{
    RigControl first;
    RigControl second;
    QString error;
    QVariantList args{QStringLiteral("Yaesu FT-847")};
    first.invoke(QStringLiteral("SetRadioType"), args, error);
    EXPECT_EQ(&first.rig(), &second.rig());
    EXPECT_EQ(second.rig().radioCode(), 35);
}

} // namespace
