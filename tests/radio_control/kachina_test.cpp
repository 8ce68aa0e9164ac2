// The Kachina 505's radio data file: read on ticks while the port is closed, written in place.
#include "hex.h"
#include "rig_bench.h"


#include <QFile>
#include <QTemporaryDir>

using namespace varnel;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct KachinaBench : RigBench {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("radio.dat"));
    KachinaBench()
    {
        call("SetRadioType", {QStringLiteral("Kachina 505")});
        call("PutRadioFileName", {file});
    }
};

// Bytes 3-6 86 B1 D6 00 = 14070150 Hz; byte 11 the mode; the rest marks to see them kept.
const char* kRecord = "A1 A2 86 B1 D6 00 A7 A8 A9 AA 04 AC AD AE AF B0 B1 B2 B3 B4 B5 B6 B7 B8 B9";

TEST(Kachina, ReadsTheRecordOnTicksWhileClosed)
{
    KachinaBench b;
    writeFile(b.file, hexBytes(kRecord));
    b.rig().timerTick();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.150")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("USB")));
    EXPECT_EQ(b.rig().kachinaRecord().size(), 23);

    const struct {
        const char* record;
        const char* freq;
        const char* mode;
    } cases[] = {
        {"00 00 86 B1 D6 00 00 00 00 00 03", "14070.150", "USB"}, // mode 3: left as it was
        {"00 00 20 A1 07 00 00 00 00 00 05", "500.000", "LSB"},
        {"00 00 F4 01 00 00 00 00 00 00 01", ".500", "AM"},
        {"00 00 40 6B 6B 00 00 00 02", "7039.808", "AM"},      // too short for the mode
        {"00 00 10", "7039.808", "AM"},                        // too short for the frequency
    };
    for (const auto& c : cases) {
        writeFile(b.file, hexBytes(c.record));
        b.rig().timerTick();
        EXPECT_EQ(b.call("getRadioFreq"), QVariant(QString::fromLatin1(c.freq))) << c.record;
        EXPECT_EQ(b.call("getRadioMode"), QVariant(QString::fromLatin1(c.mode))) << c.record;
    }
    EXPECT_EQ(b.rig().kachinaRecord(), hexBytes("00 00 10"));

    QFile::remove(b.file);
    b.rig().timerTick();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("7039.808")));
}

TEST(Kachina, WritesTheFrequencyInPlaceKeepingEveryOtherByte)
{
    KachinaBench b;
    writeFile(b.file, hexBytes(kRecord) + "tail");
    EXPECT_EQ(b.call("setRadioFrequency", {QStringLiteral("7040.25")}), QVariant(0));
    // 7040250 Hz = 00 6B 6C FA.
    EXPECT_EQ(hexText(readFile(b.file)),
              hexText(hexBytes("A1 A2 FA 6C 6B 00 A7 A8 A9 AA 04 AC FA 6C 6B 00 FA 6C 6B 00 B5 B6 B7 B8 B9")
                      + "tail"));
    EXPECT_EQ(b.rig().kachinaRecord(), readFile(b.file).left(23));
    EXPECT_TRUE(b.rig().queue().isEmpty());

    b.call("setRadioFrequency", {QStringLiteral("14070.15")});
    EXPECT_EQ(hexText(readFile(b.file).mid(2, 4)), QStringLiteral("86 B1 D6 00"));
    b.rig().timerTick();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QStringLiteral("14070.150")));
    EXPECT_EQ(b.call("getRadioMode"), QVariant(QStringLiteral("USB")));
}

TEST(Kachina, WritesAMissingOrShortFileAsAFullRecord)
{
    KachinaBench b;
    b.call("setRadioFrequency", {QStringLiteral("14070.15")});
    EXPECT_EQ(hexText(readFile(b.file)),
              QStringLiteral("00 00 86 B1 D6 00 00 00 00 00 00 00 86 B1 D6 00 86 B1 D6 00 00 00 00"));
    writeFile(b.file, hexBytes("11 22 33"));
    b.call("setRadioFrequency", {QStringLiteral("14070")});
    EXPECT_EQ(hexText(readFile(b.file)),
              QStringLiteral("11 22 F0 B0 D6 00 00 00 00 00 00 00 F0 B0 D6 00 F0 B0 D6 00 00 00 00"));
}

TEST(Kachina, PortOpenStopsReadingButNotWriting)
{
    KachinaBench b;
    RadioSimulator radio(RadioSimulator::Kenwood);
    radio.assignToPort(4);
    b.call("CommPort", {4});
    ASSERT_EQ(b.call("PortOpen", {true}), QVariant(1));
    writeFile(b.file, hexBytes(kRecord));
    b.rig().timerTick();
    EXPECT_EQ(b.call("getRadioFreq"), QVariant(QString()));
    EXPECT_TRUE(b.rig().queue().isEmpty()); // no poll for this type
    b.call("setRadioFrequency", {QStringLiteral("3550")});
    EXPECT_EQ(hexText(readFile(b.file).mid(2, 4)), QStringLiteral("30 2B 36 00"));
    EXPECT_EQ(readFile(b.file).at(10), '\x04');
}

TEST(Kachina, RefusesAndReportsWhatCannotBeWritten)
{
    KachinaBench b;
    b.call("setDebugWindow");
    writeFile(b.file, hexBytes(kRecord));
    b.call("setRadioFrequency", {QStringLiteral("seven")});
    b.call("setRadioFrequency", {QStringLiteral("5000000")}); // over 4294967295 Hz
    b.call("PutRadioFileName", {b.dir.filePath(QStringLiteral("no/such/folder/radio.dat"))});
    EXPECT_EQ(b.call("setRadioFrequency", {QStringLiteral("7040")}), QVariant(0));
    EXPECT_EQ(readFile(b.file), hexBytes(kRecord));
    const auto lines = b.rig().debugWindow()->lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].colour, DebugWindow::kMessageColour);
    EXPECT_EQ(lines[1].colour, DebugWindow::kMessageColour);
    EXPECT_EQ(lines[2].text, QStringLiteral("Write Kachina TX freq : 7040"));
    EXPECT_EQ(lines[2].colour, DebugWindow::kTxColour);
    EXPECT_EQ(lines[3].colour, DebugWindow::kMessageColour);
}

} // namespace
