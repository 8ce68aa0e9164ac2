// Time from each way out of a transmission to the transmitter's release: the real program,
// transmitting in PSK or RTTY with PTT on a serial line, by command or on the radio's own
// port, ended by File > Exit, its window closed, SIGTERM, SIGINT, SIGHUP (and SIGKILL, where
// only the RTTY engine's own line can be released). Prints one row per case: milliseconds from
// the way out to the release ("never" when the transmitter was left keyed) and to the end of
// the program.
//
//   bench_release_on_exit [runs] [program]   (program: another build of sondrel to measure)
#include "app/operated_program.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const QString program = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    std::vector<WayOut> cases;
    for (const char* way : {"menu mnuExit", "close", "SIGTERM", "SIGINT", "SIGHUP"})
        for (const char* mode : {"BPSK", "RTTY"})
            for (const char* ptt : {"Serial Port", "By Command", "By Shared Port"})
                cases.push_back({way, mode, ptt});
    cases.push_back({"SIGKILL", "RTTY", "Serial Port"});

    std::printf("%-14s %-5s %-15s %12s %12s\n", "way out", "mode", "PTT", "release ms", "end ms");
    for (const WayOut& c : cases) {
        std::vector<double> release, end;
        bool never = false;
        for (int r = 0; r < runs; ++r) {
            OperatedProgram p(c, program);
            if (!p.startTransmitting()) {
                std::printf("%-14s %-5s %-15s  not keyed: %s\n", c.way, c.mode, c.ptt, qPrintable(p.failure.left(200)));
                never = true;
                break;
            }
            const qint64 out = p.takeWayOut();
            qint64 at = 0;
            const bool released = p.released(5000, &at);
            p.waitForEnd(20000);
            timespec now{};
            ::clock_gettime(CLOCK_MONOTONIC, &now);
            end.push_back((qint64(now.tv_sec) * 1000000000LL + now.tv_nsec - out) / 1e6);
            if (!released) {
                never = true;
                continue;
            }
            release.push_back((at - out) / 1e6);
        }
        auto worst = [](const std::vector<double>& v) { return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()); };
        char rel[32];
        if (never)
            std::snprintf(rel, sizeof rel, "never");
        else
            std::snprintf(rel, sizeof rel, "%.0f", worst(release));
        std::printf("%-14s %-5s %-15s %12s %12.0f\n", c.way, c.mode, c.ptt, rel, worst(end));
        std::fflush(stdout);
    }
    return 0;
}
