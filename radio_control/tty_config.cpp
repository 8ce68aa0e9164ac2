// Uses the kernel's termios2, which takes any speed; <termios.h> must stay out of this file
// because it declares a different struct termios.
#include "radio_control/tty_config.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace varnel::tty {

int configure(int fd, const LineSettings& s)
{
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return errno;

    tcflag_t size = 0;
    switch (s.dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return EINVAL;
    }
    const bool twoStop = s.stopBits == 2 || (s.stopBits == 1.5 && s.dataBits == 5);
    if (s.stopBits != 1 && !twoStop)
        return EINVAL;
    if (s.baud <= 0)
        return EINVAL;

    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF
                           | IXANY | INPCK);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT) | CSIZE | CSTOPB | PARENB | PARODD | CMSPAR
                           | CRTSCTS);
    t.c_cflag |= tcflag_t(BOTHER | (BOTHER << IBSHIFT) | CLOCAL | CREAD | HUPCL) | size;
    if (twoStop)
        t.c_cflag |= CSTOPB;
    switch (s.parity) {
    case 'N': break;
    case 'E': t.c_cflag |= PARENB; break;
    case 'O': t.c_cflag |= PARENB | PARODD; break;
    case 'M': t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 'S': t.c_cflag |= PARENB | CMSPAR; break;
    default: return EINVAL;
    }
    if (s.handshaking == 1 || s.handshaking == 3)
        t.c_iflag |= IXON | IXOFF;
    if (s.handshaking == 2 || s.handshaking == 3)
        t.c_cflag |= CRTSCTS;
    t.c_ispeed = static_cast<speed_t>(s.baud);
    t.c_ospeed = static_cast<speed_t>(s.baud);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (ioctl(fd, TCSETS2, &t) != 0)
        return errno;
    return 0;
}

} // namespace varnel::tty
