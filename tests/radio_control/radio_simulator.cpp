#include "radio_simulator.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

char bcd(int value) // 0..99
{
    return static_cast<char>(((value / 10) << 4) | (value % 10));
}

int fromBcd(unsigned char b)
{
    return (b >> 4) * 10 + (b & 0xF);
}

QByteArray hexOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

} // namespace

RadioSimulator::RadioSimulator(Model model, QObject* parent)
    : QObject(parent)
    , model_(model)
{
    mode_ = model == Kenwood ? 2 : 1; // USB
    openPty();
}

bool RadioSimulator::openPty()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return false;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        ::close(master_);
        master_ = -1;
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(ptsname(master_));
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Hold the far end open so the master never sees a hang-up between the component's
    // opens; raw, so nothing is echoed or translated before the component sets it up.
    slave_ = ::open(slavePath_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ >= 0) {
        termios t {};
        tcgetattr(slave_, &t);
        cfmakeraw(&t);
        tcsetattr(slave_, TCSANOW, &t);
    }
    return true;
}

void RadioSimulator::unplug()
{
    delete notifier_;
    notifier_ = nullptr;
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
    rx_.clear();
    outbox_.clear();
}

bool RadioSimulator::replug()
{
    unplug();
    return openPty();
}

void RadioSimulator::sendRaw(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (errno != EAGAIN && errno != EINTR)
            break;
    }
}

void RadioSimulator::broadcastFrequency()
{
    QByteArray frame = hexOf({0xFE, 0xFE, 0x00, civAddress_, 0x00});
    qint64 hz = hz_;
    for (int i = 0; i < (model_ == Icom735 ? 4 : 5); ++i, hz /= 100)
        frame.append(bcd(int(hz % 100)));
    frame.append('\xFD');
    sendRaw(frame);
}

RadioSimulator::~RadioSimulator()
{
    delete notifier_;
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

void RadioSimulator::assignToPort(int n) const
{
    qputenv(qPrintable(QStringLiteral("SONDREL_COM%1").arg(n)), slavePath_.toLocal8Bit());
}

void RadioSimulator::startAutomatic(int periodMs)
{
    if (master_ < 0 || notifier_)
        return;
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { pump(); });
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { pump(); });
    timer_->start(periodMs);
}

int RadioSimulator::pump(int expect, int timeoutMs)
{
    if (master_ < 0)
        return 0;
    QElapsedTimer clock;
    clock.start();
    int got = 0;
    for (;;) {
        char chunk[256];
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n > 0) {
            rx_.append(chunk, n);
            received_.append(chunk, n);
            got += int(n);
            continue;
        }
        if (got >= expect || clock.elapsed() >= timeoutMs)
            break;
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, 5);
    }
    handle();

    int written = 0;
    while (!outbox_.isEmpty() && outbox_.front().wait <= 0) {
        const QByteArray bytes = outbox_.takeFirst().bytes;
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else if (errno != EAGAIN && errno != EINTR)
                break;
        }
        written += int(done);
    }
    for (Piece& p : outbox_)
        --p.wait;
    return written;
}

void RadioSimulator::answer(QByteArray bytes, QByteArray echo)
{
    if (silent_)
        bytes.clear();
    if (garbage_)
        for (char& c : bytes)
            c = static_cast<char>(c ^ 0x5A);
    const QByteArray all = echo + bytes;
    if (all.isEmpty())
        return;
    const int n = std::min<int>(pieces_, int(all.size()));
    qsizetype from = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype to = all.size() * (i + 1) / n;
        outbox_.append({all.mid(from, to - from), delayPumps_ + i});
        from = to;
    }
}

void RadioSimulator::handle()
{
    switch (model_) {
    case Icom:
    case Icom735:
    case OmniVI: handleCiv(); break;
    case Kenwood: handleKenwood(); break;
    case FT1000D:
    case FT1000MP:
    case FT990:
    case FT847: handleYaesu(); break;
    }
}

// CI-V: FE FE to from command data FD. The bus echoes every frame; the radio answers the
// frames addressed to it.
QByteArray RadioSimulator::civFrame(const QByteArray& body) const
{
    return hexOf({0xFE, 0xFE, 0xE0, civAddress_}) + body + hexOf({0xFD});
}

void RadioSimulator::handleCiv()
{
    for (;;) {
        const qsizetype start = rx_.indexOf("\xFE\xFE");
        if (start < 0) {
            rx_.clear();
            return;
        }
        const qsizetype end = rx_.indexOf('\xFD', start);
        if (end < 0) {
            rx_.remove(0, start);
            return;
        }
        const QByteArray frame = rx_.mid(start, end - start + 1);
        rx_.remove(0, end + 1);
        commands_.append(frame);
        // Frames to 00 reach every radio on the line.
        const auto to = frame.size() < 6 ? -1 : static_cast<unsigned char>(frame[2]);
        if (to != civAddress_ && to != 0x00) {
            answer({}, frame);
            continue;
        }
        const auto cmd = static_cast<unsigned char>(frame[4]);
        const QByteArray data = frame.mid(5, frame.size() - 6);
        const int freqBytes = model_ == Icom735 ? 4 : 5;
        const QByteArray ok = acknowledge_ ? civFrame(hexOf({0xFB})) : QByteArray();
        const QByteArray ng = acknowledge_ ? civFrame(hexOf({0xFA})) : QByteArray();
        if (cmd == 0x03 && data.isEmpty()) {
            QByteArray body = hexOf({0x03});
            qint64 hz = hz_;
            for (int i = 0; i < freqBytes; ++i, hz /= 100)
                body.append(bcd(int(hz % 100)));
            answer(civFrame(body), frame);
        } else if (cmd == 0x04 && data.isEmpty() && noModeRead_) {
            answer(ng, frame);
        } else if (cmd == 0x04 && data.isEmpty()) {
            answer(civFrame(model_ == Icom735 ? hexOf({0x04, mode_}) : hexOf({0x04, mode_, 0x01})), frame);
        } else if (cmd == 0x05 && data.size() == freqBytes) {
            qint64 hz = 0;
            for (int i = freqBytes - 1; i >= 0; --i)
                hz = hz * 100 + fromBcd(static_cast<unsigned char>(data[i]));
            hz_ = hz;
            answer(ok, frame);
        } else if (model_ == Icom && cmd == 0x1C && data.size() == 2 && data[0] == 0) {
            ptt_ = data[1] == 1;
            answer(ok, frame);
        } else if (model_ == OmniVI && cmd == 0x16 && data.size() == 1 && (data[0] == 1 || data[0] == 2)) {
            ptt_ = data[0] == 1;
            answer(ok, frame);
        } else {
            answer(ng, frame);
        }
    }
}

QByteArray RadioSimulator::kenwoodIf() const
{
    QByteArray r = "IF" + QByteArray::number(hz_).rightJustified(11, '0');
    r += "     ";            // 14-18 step
    r += "+00000";           // 19-24 RIT/XIT offset
    r += "000";              // 25-27 RIT, XIT, memory bank
    r += "0";                // 28 memory channel
    r += ptt_ ? "1" : "0";   // 29 receive or transmit
    r += char('0' + mode_);  // 30 mode
    r += "0000000;";         // 31-38
    return r;
}

void RadioSimulator::handleKenwood()
{
    for (;;) {
        const qsizetype end = rx_.indexOf(';');
        if (end < 0)
            return;
        const QByteArray cmd = rx_.left(end + 1);
        rx_.remove(0, end + 1);
        commands_.append(cmd);
        if (cmd == "IF;") {
            answer(kenwoodIf());
        } else if (cmd == "FA;") {
            answer("FA" + QByteArray::number(hz_).rightJustified(11, '0') + ';');
        } else if (cmd.startsWith("FA") && cmd.size() == 14) {
            bool ok = false;
            const qint64 hz = cmd.mid(2, 11).toLongLong(&ok);
            if (ok)
                hz_ = hz;
            else
                answer("?;");
        } else if (cmd == "TX;") {
            ptt_ = true;
        } else if (cmd == "RX;") {
            ptt_ = false;
        } else if (cmd == "MD;") {
            answer("MD" + QByteArray::number(mode_) + ';');
        } else {
            answer("?;");
        }
    }
}

QByteArray RadioSimulator::yaesuStatus() const
{
    // The FT-990's second record (VFO B) stays all zero, as some of its firmware sends it.
    QByteArray r(model_ == FT990 ? 32 : 16, '\0');
    if (model_ == FT1000MP) {
        const quint32 count = quint32(hz_ / 0.625 + 0.5);
        for (int i = 0; i < 4; ++i)
            r[1 + i] = static_cast<char>(count >> (8 * (3 - i)));
    } else {
        const quint32 tens = quint32(hz_ / 10);
        for (int i = 0; i < 3; ++i)
            r[1 + i] = static_cast<char>(tens >> (8 * (2 - i)));
    }
    r[7] = static_cast<char>(mode_);
    return r;
}

void RadioSimulator::handleYaesu()
{
    while (rx_.size() >= 5) {
        const QByteArray block = rx_.left(5);
        rx_.remove(0, 5);
        commands_.append(block);
        if (model_ == FT847)
            handleFT847(block);
        else
            handleYaesuBlock(block);
    }
}

void RadioSimulator::handleYaesuBlock(const QByteArray& b)
{
    const auto op = static_cast<unsigned char>(b[4]);
    if (op == 0x0A) {
        qint64 tens = 0;
        for (int i = 3; i >= 0; --i)
            tens = tens * 100 + fromBcd(static_cast<unsigned char>(b[i]));
        hz_ = tens * 10;
    } else if (op == 0x0F) {
        ptt_ = b[3] == 1;
    } else if (op == 0x10 && b[3] == 2) {
        answer(yaesuStatus());
    }
}

void RadioSimulator::handleFT847(const QByteArray& b)
{
    const auto op = static_cast<unsigned char>(b[4]);
    if (op == 0x00) {
        catOn_ = true;
        return;
    }
    if (op == 0x80) {
        catOn_ = false;
        return;
    }
    if (!catOn_)
        return; // the radio ignores everything until CAT is switched on
    if (op == 0x01) {
        qint64 tens = 0;
        for (int i = 0; i < 4; ++i)
            tens = tens * 100 + fromBcd(static_cast<unsigned char>(b[i]));
        hz_ = tens * 10;
    } else if (op == 0x08) {
        ptt_ = true;
    } else if (op == 0x88) {
        ptt_ = false;
    } else if (op == 0x03) {
        qint64 tens = hz_ / 10;
        QByteArray r(5, '\0');
        for (int i = 3; i >= 0; --i, tens /= 100)
            r[i] = bcd(int(tens % 100));
        r[4] = static_cast<char>(mode_);
        answer(r);
    }
}
