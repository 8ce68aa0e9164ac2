#include "platform/processes/single_instance.h"

#include "platform/system/places.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    failure_ = Failure::None;
    error_ = 0;
    const QByteArray name = QFile::encodeName(path_);
    // The holder removes the file when it ends; a file locked just before it went is not ours
    // to keep, so the lock is taken again on the file now in place.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, places::kPrivateFileMode);
        if (fd < 0) {
            failure_ = Failure::CannotCreate;
            error_ = errno;
            return false;
        }
        int rc;
        do {
            rc = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const int err = errno;
            ::close(fd);
            failure_ = err == EWOULDBLOCK ? Failure::Held : Failure::CannotCreate;
            error_ = err == EWOULDBLOCK ? 0 : err;
            return false;
        }
        struct stat held, named;
        if (::fstat(fd, &held) != 0 || ::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino
            || held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        // The holder's process id, for whoever looks at the file; the lock does not depend on it.
        const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
        if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, pid.constData(), pid.size(), 0) < 0) {
            // informative only
        }
        return true;
    }
    failure_ = Failure::Held;
    return false;
}

void SingleInstance::release()
{
    if (fd_ < 0)
        return;
    // Removed while still locked, so no other instance can take the file that is going away.
    ::unlink(QFile::encodeName(path_).constData());
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}
