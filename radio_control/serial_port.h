#pragma once
// The component's one serial port, with the properties, error numbers and texts of the
// serial control the program was written against. Every operation returns a VbError whose
// number is 0 on success.
#include "platform/vb/vberror.h"
#include "radio_control/tty_config.h"

#include <QByteArray>
#include <QString>

namespace varnel {

namespace comm {
constexpr int kInvalidPropertyValue = 380;
constexpr int kPortOpen = 8000;         // "Operation not valid while the port is opened"
constexpr int kPortInvalid = 8002;      // "Invalid Port Number"
constexpr int kPortAlreadyOpen = 8005;  // "Port already open"
constexpr int kHardwareLocked = 8010;
constexpr int kSetCommStateFailed = 8015;
constexpr int kDeviceBusy = 8019;
constexpr int kPortNotOpen = 8018;
constexpr int kReadError = 8020;
constexpr int kWriteError = 8021;
VbError error(int number);
} // namespace comm

inline bool failed(const VbError& e) { return e.number != 0; }

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Port n is the device places::serialPortDevice(n). Not while open.
    VbError setCommPort(int n);
    int commPort() const { return port_; }

    // "9600,N,8,1": speed, parity letter, data bits, stop bits.
    VbError setSettings(const QString& text);
    QString settings() const { return settingsText_; }

    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both.
    VbError setHandshaking(int type);
    int handshaking() const { return line_.handshaking; }

    // Opening puts DTR and RTS to their set states at once (the device raises both on open).
    VbError setPortOpen(bool open);
    bool isOpen() const { return fd_ >= 0; }

    // The line states are kept whether or not the port is open and applied on open. Devices
    // without modem lines (pseudo-terminals) keep the state without complaint.
    VbError setDTREnable(bool on);
    VbError setRTSEnable(bool on);
    bool dtrEnable() const { return dtr_; }
    bool rtsEnable() const { return rts_; }

    VbError inBufferCount(int& count) const;
    // Everything waiting, every byte as received.
    VbError input(QByteArray& data);

    // Writing never waits for the radio. `output` takes every byte (0x00 included): what the
    // line does not take now is kept and goes out, in order, before anything else.
    VbError output(const QByteArray& data);
    // Sends a command only when the line is clear: `accepted` is 0 when nothing was taken
    // (the caller keeps the command), else the whole command, whose unwritten rest is kept.
    VbError send(const QByteArray& data, qsizetype& accepted);
    // Writes what is kept, as far as the line takes it.
    VbError flushOutput();
    // Writes what is kept and waits until the device has sent everything, at most `ms`
    // (a line the radio holds stays held); true when all of it went.
    bool drain(int ms);
    // The command that releases the transmitter keyed by a command on this port, kept where it
    // can be sent directly should the program end before it can (empty: nothing is keyed).
    void keepReleaseCommand(const QByteArray& command);
    // About how long `bytes` take on the line at its speed, with a margin for the device.
    int transferMs(qsizetype bytes) const;
    // Nothing kept and nothing left in the device's own output queue.
    bool clearToSend() const;
    qsizetype pendingOutput() const { return pending_.size(); }

    // An error when the device has hung up or gone away (unplugged adapter).
    VbError checkLine() const;
    // Closes a device that went away. The line states drop: a transmitter keyed by DTR or
    // RTS is not keyed again when the port reopens.
    void closeAfterLoss();

    // For tests: waits up to `ms` until input is waiting.
    bool waitForReadyRead(int ms) const;
    qint64 bytesWritten() const { return written_; }
    QString deviceName() const;

private:
    void applyModemLines();
    // Lets what was handed to the device go out (at most drainMs), then closes it.
    void closeDevice(int drainMs);
    // Non-blocking write of as much as the line takes; `done` counts what went.
    VbError writeSome(const char* data, qsizetype size, qsizetype& done);

    int fd_ = -1;
    int port_ = 1;
    tty::LineSettings line_;
    QString settingsText_ = QStringLiteral("9600,N,8,1");
    bool dtr_ = false;
    bool rts_ = false;
    qint64 written_ = 0;
    QByteArray pending_; // taken but not yet written
};

} // namespace varnel
