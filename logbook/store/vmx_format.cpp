#include "logbook/store/vmx_format.h"

#include "logbook/store/vmx.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace vmx {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::uint32_t bigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8)
        | std::uint32_t(p[3]);
}

} // namespace

bool keyValue(std::string_view text, double& value)
{
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    std::string_view t = text.substr(b, e - b);

    // Check the shape ourselves: from_chars would also take "inf", "nan" and hexadecimal forms.
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    std::size_t start = i;
    std::size_t digits = 0;
    while (i < t.size() && isDigit(t[i]))
        ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < t.size() && isDigit(t[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    if (i != t.size())
        return false;

    double v = 0;
    auto [ptr, ec] = std::from_chars(t.data() + start, t.data() + t.size(), v);
    if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(v))
        return false;
    v = negative ? -v : v;
    value = v == 0 ? 0.0 : v; // one key for 0 and -0
    return true;
}

bool parseFieldSpec(std::string_view spec, std::vector<int>& widths)
{
    std::vector<int> out;
    std::size_t pos = 0;
    while (true) {
        std::size_t comma = spec.find(',', pos);
        std::string_view entry = spec.substr(pos, comma == std::string_view::npos ? spec.npos : comma - pos);
        while (!entry.empty() && entry.front() == ' ')
            entry.remove_prefix(1);
        while (!entry.empty() && entry.back() == ' ')
            entry.remove_suffix(1);
        if (entry == "$") {
            out.push_back(0);
        } else if (entry.size() >= 3 && (entry.front() == 'X' || entry.front() == 'x') && entry.back() == '$') {
            std::string_view number = entry.substr(1, entry.size() - 2);
            int width = 0;
            auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), width);
            if (ec != std::errc() || ptr != number.data() + number.size() || width < 1 || width > 255)
                return false;
            out.push_back(width);
        } else {
            return false;
        }
        if (comma == std::string_view::npos)
            break;
        pos = comma + 1;
    }
    if (out.size() > 255)
        return false;
    widths = std::move(out);
    return true;
}

std::int16_t checkHeader(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return statusFromErrno(errno);
    unsigned char header[100];
    std::size_t got = 0;
    while (got < sizeof header) {
        ssize_t n = ::read(fd, header + got, sizeof header - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            return err == EISDIR ? std::int16_t(VmxNotOurFile) : statusFromErrno(err);
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    ::close(fd);
    static const char magic[] = "SQLite format 3";
    if (got < sizeof header || std::string_view(reinterpret_cast<char*>(header), 16) != std::string_view(magic, 16))
        return VmxNotOurFile;
    if (bigEndian32(header + 68) != kApplicationId)
        return VmxNotOurFile;
    std::uint32_t version = bigEndian32(header + 60);
    if (version == 0)
        return VmxNotOurFile;
    if (version > std::uint32_t(kFormatVersion))
        return VmxNewerVersion;
    return VmxOk;
}

std::int16_t statusFromErrno(int err)
{
    switch (err) {
    case 0: return VmxOk;
    case ENOENT: return VmxFileMissing;
    case ENOTDIR: return VmxPathMissing;
    case EACCES:
    case EPERM: return VmxAccessDenied;
    case EROFS: return VmxReadOnly;
    case ENOSPC:
    case EDQUOT: return VmxDiskFull;
    case EEXIST: return VmxFileExists;
    case ENOMEM: return VmxOutOfMemory;
    case EISDIR: return VmxNotOurFile;
    default: return VmxIoError;
    }
}

std::int16_t statusFromSqlite(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return VmxOk;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return VmxLocked;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA: return VmxDamaged;
    case SQLITE_FULL: return VmxDiskFull;
    case SQLITE_IOERR: return VmxIoError;
    case SQLITE_READONLY: return VmxReadOnly;
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN: return VmxAccessDenied;
    case SQLITE_NOMEM: return VmxOutOfMemory;
    case SQLITE_CONSTRAINT: return VmxDuplicateKey;
    default: return VmxInternalError;
    }
}

void syncFolderOf(const std::string& path)
{
    std::string::size_type slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace vmx
