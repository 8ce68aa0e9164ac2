#include "platform/system/safefile.h"

#include "platform/system/places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace safefile {
namespace {

std::atomic<qint64> g_budget{-1};
std::atomic<int> g_faultError{0};

// write(2) with the full-disk simulation in front of it.
ssize_t writeSome(int fd, const char* data, size_t size)
{
    qint64 budget = g_budget.load();
    if (budget >= 0) {
        if (budget == 0) {
            errno = g_faultError.load();
            return -1;
        }
        size = std::min<size_t>(size, static_cast<size_t>(budget));
    }
    const ssize_t n = ::write(fd, data, size);
    if (n > 0 && budget >= 0)
        g_budget.fetch_sub(n);
    return n;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = writeSome(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool replace(const QString& path, const QByteArray& bytes, int* error)
{
    auto fail = [error](int err) {
        if (error)
            *error = err;
        return false;
    };
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    const QByteArray name = QFile::encodeName(target);

    struct stat old {};
    const bool exists = ::stat(name.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return fail(EINVAL); // never put a file over a folder, a FIFO or a device

    QByteArray tmp = name + ".new-XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    int err = 0;
    if (::fchmod(fd, exists ? (old.st_mode & 07777) : mode_t(places::kPrivateFileMode)) != 0)
        err = errno;
    if (err == 0 && !writeAll(fd, bytes))
        err = errno;
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(tmp.constData(), name.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(tmp.constData());
        return fail(err);
    }
    const qsizetype slash = name.lastIndexOf('/');
    syncFolder(slash > 0 ? name.left(slash) : QByteArray(slash == 0 ? "/" : "."));
    return true;
}

bool isTemporaryOf(const QString& fileName, const QString& name)
{
    static const QRegularExpression tail(QStringLiteral("^\\.(new-)?[A-Za-z0-9]{6}$"));
    if (!fileName.startsWith(name) || fileName.size() <= name.size())
        return false;
    return tail.match(QStringView(fileName).mid(name.size())).hasMatch();
}

int removeStaleTemporaries(const QString& folder, const QString& name)
{
    int removed = 0;
    const QDir dir(folder);
    const QStringList entries = dir.entryList({name + QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        QString base = entry;
        for (const char* companion : {"-journal", "-wal", "-shm"})
            if (base.endsWith(QLatin1String(companion)))
                base.chop(static_cast<qsizetype>(qstrlen(companion)));
        if (!isTemporaryOf(base, name))
            continue;
        const QString file = dir.filePath(entry);
        if (QFileInfo(file).isSymLink() || !QFileInfo(file).isFile())
            continue;
        if (QFile::remove(file))
            ++removed;
    }
    return removed;
}

void simulateFullDisk(qint64 budget, int error)
{
    g_faultError.store(error);
    g_budget.store(budget < 0 ? -1 : budget);
}

} // namespace safefile
