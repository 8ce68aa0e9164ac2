#include "platform/processes/shared_block.h"

#include "platform/processes/folder_tag.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

SharedBlock::SharedBlock(const QString& name, std::size_t size)
    : name_(name.startsWith(u'/') ? name : objectName(name)), size_(size)
{
}

QString SharedBlock::nameArgument(const QStringList& arguments, const QString& def)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--block"));
    if (at >= 0 && at + 1 < arguments.size() && arguments[at + 1].startsWith(u'/'))
        return arguments[at + 1];
    return def;
}

SharedBlock::~SharedBlock()
{
    close();
}

QString SharedBlock::objectName(const QString& name)
{
    QString safe = name;
    safe.replace(u'/', u'_');
    return QStringLiteral("/sondrel-%1-%2-%3")
        .arg(static_cast<qulonglong>(::getuid()))
        .arg(places::programFolderTag(), safe);
}

bool SharedBlock::create()
{
    if (fd_ >= 0 || size_ == 0)
        return false;
    if (open(O_CREAT | O_EXCL) || (errno == EEXIST && open(0)))
        return true; // a new block, or ours left by a crash
    // The name is taken by someone else (another user made it first): a fresh name that nobody
    // can guess, which the engine is then told.
    const QString base = name_;
    for (int tries = 0; tries < 16; ++tries) {
        QRandomGenerator* random = QRandomGenerator::system();
        name_ = base + QStringLiteral("-%1%2").arg(random->generate64(), 16, 16, QLatin1Char('0'))
                           .arg(random->generate64(), 16, 16, QLatin1Char('0'));
        if (open(O_CREAT | O_EXCL))
            return true;
        if (errno != EEXIST)
            break;
    }
    name_ = base;
    return false;
}

bool SharedBlock::attach()
{
    if (fd_ >= 0 || size_ == 0)
        return false;
    return open(-1);
}

bool SharedBlock::open(int createFlags)
{
    const bool mayCreate = createFlags >= 0;
    const QByteArray name = QFile::encodeName(name_);
    const int fd = ::shm_open(name.constData(), O_RDWR | O_CLOEXEC | (mayCreate ? createFlags : 0), 0600);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid();
    if (!ok)
        errno = EACCES;
    // A block of ours that others could read (a stale one, made by an older version) is closed
    // to them before anything goes into it.
    if (ok && (st.st_mode & 077) != 0)
        ok = ::fchmod(fd, 0600) == 0;
    if (ok && static_cast<std::size_t>(st.st_size) != size_) {
        // Mapping past the end of the object would fault on first touch.
        ok = mayCreate ? ::ftruncate(fd, static_cast<off_t>(size_)) == 0
                       : static_cast<std::size_t>(st.st_size) >= size_;
    }
    void* data = ok ? ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    if (data == MAP_FAILED) {
        const int err = errno;
        ::close(fd);
        errno = ok ? err : EACCES;
        return false;
    }
    fd_ = fd;
    data_ = data;
    owner_ = mayCreate;
    return true;
}

bool SharedBlock::unmap()
{
    if (!data_)
        return false;
    if (::munmap(data_, size_) != 0)
        return false;
    data_ = nullptr;
    return true;
}

void SharedBlock::close()
{
    unmap();
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    if (owner_)
        ::shm_unlink(QFile::encodeName(name_).constData());
    owner_ = false;
}
