#pragma once
// The real program run as a separate process, operated through the stand-in of operator_shim.cpp,
// on a Kenwood radio simulator (COM1) and a PTT port with nothing but its lines (COM2), both
// pseudo-terminals. Set to transmit in a mode with a PTT kind, then ended by a way out.
#include "radio_control/radio_simulator.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

struct WayOut {
    const char* way;  // an operator's line ("menu mnuExit", "close") or a signal's name
    const char* mode; // "BPSK", "RTTY"
    const char* ptt;  // "Serial Port", "By Command", "By Shared Port"
};

class OperatedProgram {
public:
    // `executable`: another build of the program (empty: this build's).
    explicit OperatedProgram(const WayOut& c, const QString& executable = {});
    ~OperatedProgram();

    // Starts the program and clicks its "Receive" indicator until the transmitter is keyed;
    // false (with the reason in `failure`) when it never is.
    bool startTransmitting();
    // Takes the way out; the monotonic time it was taken, in nanoseconds.
    qint64 takeWayOut();
    // Waits for the program to end; false when it does not within the time.
    bool waitForEnd(int ms);
    // The transmitter as left: released, and when (monotonic nanoseconds; 0 when not known).
    // Waits up to `ms` for a release that comes late (the RTTY engine ends after the program).
    bool released(int ms, qint64* when = nullptr);

    QProcess& process() { return program_; }
    RadioSimulator& radio() { return radio_; }
    QString failure;

private:
    bool keyed();

    WayOut case_;
    QString executable_;
    bool serial_;
    bool command_;
    QTemporaryDir home_;
    RadioSimulator radio_{RadioSimulator::Kenwood};
    int lineMaster_ = -1;
    QString linePath_;
    QProcess program_;
};
