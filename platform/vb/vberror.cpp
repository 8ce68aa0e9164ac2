#include "platform/vb/vberror.h"

#include <cerrno>

QString VbError::text() const
{
    return QStringLiteral("Error # %1 %2").arg(number).arg(description);
}

namespace vberror {

VbError fromNumber(int number)
{
    switch (number) {
    case 53: return {53, QStringLiteral("File not found")};
    case 57: return {57, QStringLiteral("Device I/O error")};
    case 61: return {61, QStringLiteral("Disk full")};
    case 70: return {70, QStringLiteral("Permission denied")};
    case 76: return {76, QStringLiteral("Path not found")};
    default: return {75, QStringLiteral("Path/File access error")};
    }
}

VbError fromErrno(int err)
{
    switch (err) {
    case ENOENT: return fromNumber(53);
    case ENOTDIR: return fromNumber(76);
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY: return fromNumber(70);
    case ENOSPC:
    case EDQUOT: return fromNumber(61);
    case EIO: return fromNumber(57);
    default: return fromNumber(75);
    }
}

} // namespace vberror
