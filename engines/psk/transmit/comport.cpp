#include "engines/psk/transmit/comport.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>

#include "platform/system/places.h"
#include "platform/system/ptt_guard.h"

namespace psk {

bool PttPort::open(int port, int line)
{
    close();
    if (port <= 0)
        return true;
    const QByteArray device = QFile::encodeName(places::serialPortDevice(port));
    int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    fd_ = fd;
    line_ = line & 3;
    int both = TIOCM_RTS | TIOCM_DTR;
    ::ioctl(fd_, TIOCMBIC, &both); // the open itself may have raised them
    // The lines drop when the port closes, also when the process ends without closing it.
    termios t{};
    if (::tcgetattr(fd_, &t) == 0 && !(t.c_cflag & HUPCL)) {
        t.c_cflag |= HUPCL;
        ::tcsetattr(fd_, TCSANOW, &t);
    }
    return true;
}

void PttPort::close()
{
    if (fd_ < 0)
        return;
    key(false);
    pttguard::forget(fd_);
    ::close(fd_);
    fd_ = -1;
    keyed_ = false;
}

void PttPort::key(bool on)
{
    if (fd_ < 0)
        return;
    int bits = (line_ & 1 ? TIOCM_RTS : 0) | (line_ & 2 ? TIOCM_DTR : 0);
    if (bits)
        ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits);
    keyed_ = on;
    pttguard::setLines(fd_, on ? bits : 0);
}

} // namespace psk
