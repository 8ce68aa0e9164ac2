#include "platform/single_instance.h"

#include "platform/places.h"

#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool SingleInstance::acquire()
{
    if (fd_ >= 0)
        return true;
    const QByteArray path = QFile::encodeName(places::programFile(QStringLiteral(".sondrel.lock")));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}
