#include "radio_control/serial_port.h"

#include "platform/system/places.h"
#include "platform/system/ptt_guard.h"

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace varnel {

namespace comm {
VbError error(int number)
{
    switch (number) {
    case kInvalidPropertyValue: return {number, QStringLiteral("Invalid property value")};
    case kPortOpen: return {number, QStringLiteral("Operation not valid while the port is opened")};
    case kPortInvalid: return {number, QStringLiteral("Invalid Port Number")};
    case kPortAlreadyOpen: return {number, QStringLiteral("Port already open")};
    case kHardwareLocked:
        return {number, QStringLiteral("The hardware is not available (locked by another device)")};
    case kSetCommStateFailed: return {number, QStringLiteral("Could not set comm state")};
    case kPortNotOpen: return {number, QStringLiteral("Operation valid only when the port is open")};
    case kDeviceBusy: return {number, QStringLiteral("Device busy")};
    case kReadError: return {number, QStringLiteral("Error reading comm device")};
    case kWriteError: return {number, QStringLiteral("Error writing comm device")};
    default: return vberror::fromNumber(number);
    }
}
} // namespace comm

namespace {

// Bytes kept for a radio that holds off before further output is refused.
constexpr qsizetype kPendingLimit = 4096;
// How long closing lets output already handed to the device drain.
constexpr int kCloseDrainMs = 30;

bool parseSettings(const QString& text, tty::LineSettings& out)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return false;
    static const int rates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800,
                                38400, 56000, 57600, 115200, 128000, 256000};
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (!ok || std::find(std::begin(rates), std::end(rates), baud) == std::end(rates))
        return false;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity.size() != 1 || !QStringLiteral("NOEMS").contains(parity))
        return false;
    const int data = parts[2].trimmed().toInt(&ok);
    if (!ok || data < 4 || data > 8)
        return false;
    const QString stop = parts[3].trimmed();
    double stopBits = 0;
    if (stop == u"1")
        stopBits = 1;
    else if (stop == u"1.5")
        stopBits = 1.5;
    else if (stop == u"2")
        stopBits = 2;
    else
        return false;
    out.baud = baud;
    out.parity = parity[0].toLatin1();
    out.dataBits = data;
    out.stopBits = stopBits;
    return true;
}

} // namespace

SerialPort::~SerialPort()
{
    closeDevice(kCloseDrainMs);
}

QString SerialPort::deviceName() const
{
    return places::serialPortDevice(port_);
}

VbError SerialPort::setCommPort(int n)
{
    if (isOpen())
        return comm::error(comm::kPortOpen);
    if (n < 1 || n > 255)
        return comm::error(comm::kPortInvalid);
    port_ = n;
    return {};
}

VbError SerialPort::setSettings(const QString& text)
{
    tty::LineSettings next = line_;
    if (!parseSettings(text, next))
        return comm::error(comm::kInvalidPropertyValue);
    if (isOpen() && tty::configure(fd_, next) != 0)
        return comm::error(comm::kSetCommStateFailed);
    line_ = next;
    settingsText_ = text;
    return {};
}

VbError SerialPort::setHandshaking(int type)
{
    if (type < 0 || type > 3)
        return comm::error(comm::kInvalidPropertyValue);
    tty::LineSettings next = line_;
    next.handshaking = type;
    if (isOpen()) {
        if (tty::configure(fd_, next) != 0)
            return comm::error(comm::kSetCommStateFailed);
        line_ = next;
        applyModemLines();
        return {};
    }
    line_ = next;
    return {};
}

VbError SerialPort::setPortOpen(bool open)
{
    if (!open) {
        closeDevice(kCloseDrainMs);
        return {};
    }
    if (isOpen())
        return comm::error(comm::kPortAlreadyOpen);
    const QByteArray device = deviceName().toLocal8Bit();
    const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case EBUSY: return comm::error(comm::kPortAlreadyOpen);
        case EACCES:
        case EPERM: return comm::error(comm::kHardwareLocked);
        default: return comm::error(comm::kPortInvalid);
        }
    }
    if (!isatty(fd)) {
        ::close(fd);
        return comm::error(comm::kPortInvalid);
    }
    // Nobody else may open the port while we hold it.
    ioctl(fd, TIOCEXCL);
    if (tty::configure(fd, line_) != 0) {
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        return comm::error(comm::kSetCommStateFailed);
    }
    fd_ = fd;
    // The device raised DTR and RTS on open, which would key a transmitter wired to them.
    applyModemLines();
    ioctl(fd_, TCFLSH, 2 /* TCIOFLUSH */);
    return {};
}

void SerialPort::closeDevice(int drainMs)
{
    if (fd_ < 0) {
        pending_.clear();
        return;
    }
    // A held line (XOFF, CTS low) would keep close() waiting for the output to drain: give
    // it a moment, then drop what is left.
    if (!drain(drainMs))
        ioctl(fd_, TCFLSH, 1 /* TCOFLUSH */);
    pending_.clear();
    pttguard::forget(fd_);
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

bool SerialPort::drain(int ms)
{
    if (fd_ < 0)
        return false;
    for (int waited = 0;; waited += 2) {
        qsizetype done = 0;
        if (!pending_.isEmpty() && !failed(writeSome(pending_.constData(), pending_.size(), done)))
            pending_.remove(0, done);
        int queued = 0;
        if (pending_.isEmpty() && (ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0))
            return true;
        if (waited >= ms)
            return false;
        pollfd p{-1, 0, 0};
        ::poll(&p, 0, 2);
    }
}

int SerialPort::transferMs(qsizetype bytes) const
{
    constexpr int kBitsPerCharacter = 12; // start, 8 data, parity, 2 stop at most
    constexpr int kMarginMs = 100;
    return kMarginMs + int((bytes + pending_.size()) * kBitsPerCharacter * 1000 / std::max(1, line_.baud));
}

void SerialPort::keepReleaseCommand(const QByteArray& command)
{
    pttguard::setReleaseCommand(fd_, command);
}

void SerialPort::applyModemLines()
{
    if (fd_ < 0)
        return;
    // Pseudo-terminals have no modem lines and refuse these calls; the state is kept anyway.
    int dtr = TIOCM_DTR;
    ioctl(fd_, dtr_ ? TIOCMBIS : TIOCMBIC, &dtr);
    if (line_.handshaking < 2) {
        int rts = TIOCM_RTS;
        ioctl(fd_, rts_ ? TIOCMBIS : TIOCMBIC, &rts);
    }
    // A raised line may key the transmitter (PTT on the radio's own port).
    pttguard::setLines(fd_, (dtr_ ? TIOCM_DTR : 0) | (rts_ && line_.handshaking < 2 ? TIOCM_RTS : 0));
}

VbError SerialPort::setDTREnable(bool on)
{
    dtr_ = on;
    applyModemLines();
    return {};
}

VbError SerialPort::setRTSEnable(bool on)
{
    rts_ = on;
    applyModemLines();
    return {};
}

VbError SerialPort::inBufferCount(int& count) const
{
    count = 0;
    if (!isOpen())
        return comm::error(comm::kPortNotOpen);
    int n = 0;
    if (ioctl(fd_, FIONREAD, &n) != 0)
        return comm::error(comm::kReadError);
    count = n;
    return {};
}

VbError SerialPort::input(QByteArray& data)
{
    data.clear();
    if (!isOpen())
        return comm::error(comm::kPortNotOpen);
    char chunk[512];
    for (;;) {
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got > 0) {
            data.append(chunk, got);
            continue;
        }
        if (got == 0 || errno == EAGAIN || errno == EWOULDBLOCK)
            return {};
        if (errno == EINTR)
            continue;
        return comm::error(comm::kReadError);
    }
}

VbError SerialPort::writeSome(const char* data, qsizetype size, qsizetype& done)
{
    done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd_, data + done, size_t(size - done));
        if (put > 0) {
            done += put;
            written_ += put;
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put == 0 || errno == EAGAIN || errno == EWOULDBLOCK)
            return {}; // the line takes no more now
        return comm::error(comm::kWriteError);
    }
    return {};
}

VbError SerialPort::flushOutput()
{
    if (!isOpen())
        return comm::error(comm::kPortNotOpen);
    if (pending_.isEmpty())
        return {};
    qsizetype done = 0;
    const VbError e = writeSome(pending_.constData(), pending_.size(), done);
    pending_.remove(0, done);
    return e;
}

VbError SerialPort::output(const QByteArray& data)
{
    if (!isOpen())
        return comm::error(comm::kPortNotOpen);
    VbError e = flushOutput();
    if (failed(e))
        return e;
    if (!pending_.isEmpty()) {
        if (pending_.size() + data.size() > kPendingLimit)
            return comm::error(comm::kDeviceBusy);
        pending_ += data;
        return {};
    }
    qsizetype done = 0;
    e = writeSome(data.constData(), data.size(), done);
    if (!failed(e))
        pending_ = data.mid(done);
    return e;
}

VbError SerialPort::send(const QByteArray& data, qsizetype& accepted)
{
    accepted = 0;
    if (!isOpen())
        return comm::error(comm::kPortNotOpen);
    VbError e = flushOutput();
    if (failed(e) || !clearToSend())
        return e;
    qsizetype done = 0;
    e = writeSome(data.constData(), data.size(), done);
    if (failed(e) || done == 0)
        return e;
    // Once begun, a command is finished: half a command would throw the radio out of step.
    pending_ = data.mid(done);
    accepted = data.size();
    return {};
}

bool SerialPort::clearToSend() const
{
    if (!isOpen() || !pending_.isEmpty())
        return false;
    int queued = 0;
    return ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0;
}

VbError SerialPort::checkLine() const
{
    if (!isOpen())
        return comm::error(comm::kPortNotOpen);
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return comm::error(comm::kReadError);
    return {};
}

void SerialPort::closeAfterLoss()
{
    dtr_ = false;
    rts_ = false;
    pending_.clear();
    if (fd_ < 0)
        return;
    pttguard::forget(fd_);
    ::close(fd_);
    fd_ = -1;
}

bool SerialPort::waitForReadyRead(int ms) const
{
    if (!isOpen())
        return false;
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0 && (p.revents & POLLIN);
}

} // namespace varnel
