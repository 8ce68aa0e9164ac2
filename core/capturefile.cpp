#include "core/capturefile.h"

#include "state/declarations.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool OpenCaptureFile(const QString& path, VbError* error)
{
    CloseCaptureFile();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = vberror::fromErrno(errno);
        return false;
    }
    CaptureFileNumber = fd;
    CaptureFileOpen = true;
    return true;
}

bool WriteCaptureFile(const QByteArray& bytes, VbError* error)
{
    if (CaptureFileNumber < 0) {
        if (error)
            *error = vberror::fromNumber(52 /* bad file number: shown as a file access error */);
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(CaptureFileNumber, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (error)
                *error = vberror::fromErrno(n < 0 ? errno : EIO);
            return false;
        }
        done += n;
    }
    return true;
}

void CloseCaptureFile()
{
    if (CaptureFileNumber >= 0)
        ::close(CaptureFileNumber);
    CaptureFileNumber = -1;
    CaptureFileOpen = false;
}
