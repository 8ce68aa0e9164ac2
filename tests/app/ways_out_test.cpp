// Every way out of a transmission releases the transmitter: the real program, transmitting in
// PSK or RTTY with PTT on a serial line, by command or on the radio's own port, is ended by
// File > Exit, its window closed or a signal. By command, the last PTT command on the radio's
// wire is the release.
#include "app/operated_program.h"

#include <gtest/gtest.h>

namespace {

class WaysOut : public testing::TestWithParam<WayOut> {};

TEST_P(WaysOut, ReleaseTheTransmitter)
{
    const WayOut c = GetParam();
    const std::string what = QStringLiteral("%1, %2, PTT %3").arg(c.way, c.mode, c.ptt).toStdString();
    OperatedProgram program(c);
    ASSERT_TRUE(program.startTransmitting()) << what << ": " << program.failure.toStdString();
    program.takeWayOut();
    ASSERT_TRUE(program.waitForEnd(20000)) << what;
    if (QLatin1String(c.way) != QLatin1String("SIGKILL")) {
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << what;
        EXPECT_EQ(program.process().exitCode(), 0) << what;
    }
    // The RTTY engine is a process of its own, which may end a moment after the program.
    EXPECT_TRUE(program.released(5000)) << what << ": still keyed";
    if (QLatin1String(c.ptt) == QLatin1String("By Command")) {
        QByteArray last;
        for (const QByteArray& sent : program.radio().commands())
            if (sent == "TX;" || sent == "RX;")
                last = sent;
        EXPECT_EQ(last, QByteArray("RX;")) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, WaysOut,
    testing::Values(WayOut{"menu mnuExit", "BPSK", "By Command"}, WayOut{"SIGTERM", "BPSK", "By Command"},
                    WayOut{"close", "BPSK", "Serial Port"}, WayOut{"SIGHUP", "BPSK", "By Shared Port"},
                    WayOut{"SIGINT", "BPSK", "By Command"}, WayOut{"menu mnuExit", "RTTY", "Serial Port"},
                    WayOut{"SIGTERM", "RTTY", "By Command"}, WayOut{"close", "RTTY", "By Shared Port"},
                    WayOut{"SIGHUP", "RTTY", "Serial Port"}, WayOut{"SIGINT", "RTTY", "By Shared Port"},
                    // The program killed outright: the engine it started releases its own line.
                    WayOut{"SIGKILL", "RTTY", "Serial Port"}));

} // namespace
