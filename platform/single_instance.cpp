#include "platform/single_instance.h"

#include "platform/places.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::SingleInstance(const QString& folder)
    : path_((folder.isEmpty() ? places::programFolder() : folder) + QStringLiteral("/Sondrel.lock"))
{
}

SingleInstance::~SingleInstance()
{
    release();
}

bool SingleInstance::acquire()
{
    if (fd_ >= 0)
        return true;
    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    // The holder's process id, for whoever looks at the file; the lock does not depend on it.
    const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, pid.constData(), pid.size(), 0) < 0) {
        // informative only
    }
    return true;
}

void SingleInstance::release()
{
    if (fd_ < 0)
        return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}
