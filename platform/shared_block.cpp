#include "platform/shared_block.h"

#include "platform/folder_tag.h"

#include <QFile>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

SharedBlock::SharedBlock(const QString& name, std::size_t size)
    : name_(objectName(name)), size_(size)
{
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
    return open(true);
}

bool SharedBlock::attach()
{
    return open(false);
}

bool SharedBlock::open(bool mayCreate)
{
    if (fd_ >= 0 || size_ == 0)
        return false;
    const QByteArray name = QFile::encodeName(name_);
    const int fd = ::shm_open(name.constData(), O_RDWR | O_CLOEXEC | (mayCreate ? O_CREAT : 0),
                              0600);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid();
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
        ::close(fd);
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
