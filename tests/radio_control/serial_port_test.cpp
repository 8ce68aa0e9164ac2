// The serial port on a pseudo-terminal: every byte both ways, errors by number and text.
#include "radio_control/serial_port.h"
#include "radio_simulator.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace varnel;

namespace {

TEST(SerialPort, CarriesEveryByteBothWays)
{
    RadioSimulator radio(RadioSimulator::Kenwood); // reads whatever comes; answers "?;"
    radio.assignToPort(7);
    SerialPort port;
    ASSERT_EQ(port.setCommPort(7).number, 0);
    ASSERT_EQ(port.setPortOpen(true).number, 0);
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    all.append("\r\n\x00\x11\x13;", 6); // line ends, NUL and XON/XOFF unchanged without flow control
    ASSERT_EQ(port.output(all).number, 0);
    EXPECT_EQ(port.bytesWritten(), all.size());
    radio.pump(int(all.size()));
    EXPECT_EQ(radio.received(), all);

    // The radio's "?;" answers to the two ';'-ended chunks come back byte for byte.
    ASSERT_TRUE(port.waitForReadyRead(1000));
    QByteArray in;
    QElapsedTimer clock;
    clock.start();
    while (in.size() < 4 && clock.elapsed() < 1000) {
        QByteArray more;
        ASSERT_EQ(port.input(more).number, 0);
        in += more;
        QThread::msleep(1);
    }
    EXPECT_EQ(in, QByteArray("?;?;"));
    int waiting = -1;
    EXPECT_EQ(port.inBufferCount(waiting).number, 0);
    EXPECT_EQ(waiting, 0);
}

TEST(SerialPort, ErrorsWhileClosed)
{
    SerialPort port;
    int n = 0;
    QByteArray data;
    EXPECT_EQ(port.inBufferCount(n).text(), QStringLiteral("Error # 8018 Operation valid only when the port is open"));
    EXPECT_EQ(port.input(data).number, 8018);
    EXPECT_EQ(port.output("x").number, 8018);
    EXPECT_EQ(port.setPortOpen(false).number, 0);
    EXPECT_EQ(port.setCommPort(256).number, 8002);
    EXPECT_EQ(port.commPort(), 1);
    qputenv("SONDREL_COM8", "/dev/null"); // not a serial device
    port.setCommPort(8);
    EXPECT_EQ(port.setPortOpen(true).text(), QStringLiteral("Error # 8002 Invalid Port Number"));
    EXPECT_FALSE(port.isOpen());
    qunsetenv("SONDREL_COM8");
}

TEST(SerialPort, SettingsAreCheckedAndKept)
{
    SerialPort port;
    const struct {
        const char* text;
        bool ok;
    } cases[] = {{"9600,N,8,1", true}, {"300,e,7,2", true}, {"28800,O,8,1", true}, {"110,M,5,1.5", true},
                 {"9600,N,8,3", false}, {"9600,N,9,1", false}, {"96OO,N,8,1", false}, {"9600;N;8;1", false},
                 {"", false}, {"9600,NN,8,1", false}};
    for (const auto& c : cases) {
        const VbError e = port.setSettings(QString::fromLatin1(c.text));
        EXPECT_EQ(e.number, c.ok ? 0 : 380) << c.text;
        if (c.ok) {
            EXPECT_EQ(port.settings(), QString::fromLatin1(c.text));
        }
    }
    EXPECT_EQ(port.settings(), QStringLiteral("110,M,5,1.5"));
}

TEST(SerialPort, OpenWithEveryOfferedSpeed)
{
    RadioSimulator radio(RadioSimulator::FT847);
    radio.assignToPort(7);
    SerialPort port;
    port.setCommPort(7);
    for (const char* s : {"300,N,8,2", "14400,N,8,1", "28800,E,7,1", "38400,N,8,1", "115200,N,8,1"}) {
        ASSERT_EQ(port.setSettings(QString::fromLatin1(s)).number, 0) << s;
        ASSERT_EQ(port.setPortOpen(true).number, 0) << s;
        EXPECT_EQ(port.setSettings(QStringLiteral("4800,N,8,1")).number, 0) << s;
        EXPECT_EQ(port.setPortOpen(false).number, 0);
    }
}

TEST(SerialPort, SecondOpenerIsRefused)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "exclusive opens do not bind the superuser";
    RadioSimulator radio(RadioSimulator::FT847);
    radio.assignToPort(7);
    SerialPort first, second;
    first.setCommPort(7);
    second.setCommPort(7);
    ASSERT_EQ(first.setPortOpen(true).number, 0);
    EXPECT_EQ(second.setPortOpen(true).text(), QStringLiteral("Error # 8005 Port already open"));
    first.setPortOpen(false);
    EXPECT_EQ(second.setPortOpen(true).number, 0);
}

} // namespace
