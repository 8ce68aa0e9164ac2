#include "platform/shared_block.h"

#include "platform/folder_tag.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

SharedBlock::SharedBlock(const QString& name, int size)
    : name_(name), size_(size)
{
}

SharedBlock::~SharedBlock()
{
    unmap();
    close();
}

QString SharedBlock::objectName(const QString& name)
{
    return QStringLiteral("/sondrel-%1-%2-%3").arg(::getuid()).arg(places::programFolderTag(), name);
}

SharedBlock::Result SharedBlock::create()
{
    if (data_)
        return Ok;
    const QByteArray n = objectName(name_).toLocal8Bit();
    if (fd_ < 0) {
        fd_ = ::shm_open(n.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0)
            return CreateFailed;
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || (st.st_size < size_ && ::ftruncate(fd_, size_) != 0)) {
            close();
            return CreateFailed;
        }
    }
    void* p = ::mmap(nullptr, static_cast<size_t>(size_), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (p == MAP_FAILED)
        return MapFailed;
    data_ = static_cast<unsigned char*>(p);
    return Ok;
}

bool SharedBlock::unmap()
{
    if (!data_)
        return false;
    const bool ok = ::munmap(data_, static_cast<size_t>(size_)) == 0;
    data_ = nullptr;
    return ok;
}

void SharedBlock::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}
