#include "platform/system/inifile.h"

#include "platform/system/safefile.h"
#include "platform/vb/text1252.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace ini {
namespace {

// Section name of a "[name]" line, or a null string.
QString sectionOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        if (close > 0)
            return t.mid(1, close - 1).trimmed();
    }
    return QString();
}

// Key and value of a "key=value" line; false for comments and other lines.
bool keyValueOf(const QString& line, QString& key, QString& value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0 || line.trimmed().startsWith(u';'))
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

struct Found {
    qsizetype sectionLine = -1; // index of the "[section]" line
    qsizetype keyLine = -1;     // index of the key line
    qsizetype endLine = -1;     // index after the section's last non-blank line
    QString value;
};

// The file's lines with an index of its sections and keys. Only the first section of a name is
// searched, and in it the first line of a key, as Windows does.
struct Contents {
    struct Section {
        qsizetype line = -1;
        qsizetype end = -1;
        QHash<QString, qsizetype> keys; // lower-case key -> line
    };
    QStringList lines;
    QHash<QString, Section> sections; // lower-case section -> where

    void index()
    {
        sections.clear();
        Section* current = nullptr;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString s = sectionOf(lines[i]);
            if (!s.isNull()) {
                const QString name = s.toLower();
                current = sections.contains(name) ? nullptr : &sections[name];
                if (current) {
                    current->line = i;
                    current->end = i + 1;
                }
                continue;
            }
            if (!current)
                continue;
            if (!lines[i].trimmed().isEmpty())
                current->end = i + 1;
            QString k, v;
            if (keyValueOf(lines[i], k, v))
                if (const QString lower = k.toLower(); !current->keys.contains(lower))
                    current->keys.insert(lower, i);
        }
    }

    Found find(const QString& section, const QString& key) const
    {
        Found f;
        const auto s = sections.constFind(section.toLower());
        if (s == sections.constEnd())
            return f;
        f.sectionLine = s->line;
        f.endLine = s->end;
        const auto k = s->keys.constFind(key.toLower());
        if (k != s->keys.constEnd()) {
            QString name;
            f.keyLine = *k;
            keyValueOf(lines[*k], name, f.value);
        }
        return f;
    }
};

// What identifies one state of the file on the disk: a change by another program changes it.
struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};
    bool operator==(const Stamp& o) const
    {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec
               && mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec
               && ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

Stamp stampOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

enum class State { Missing, Unreadable, Read };

struct Cached {
    Stamp stamp;
    std::shared_ptr<const Contents> contents;
};

std::mutex g_lock;
std::map<QString, Cached> g_cache;
int g_fileReads = 0;

std::shared_ptr<Contents> parse(QByteArray bytes)
{
    auto c = std::make_shared<Contents>();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3); // a byte-order mark written by an editor is not part of the first line
    c->lines = cp1252::decode(bytes).split(u'\n');
    for (QString& l : c->lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    if (!c->lines.isEmpty() && c->lines.last().isEmpty())
        c->lines.removeLast();
    c->index();
    return c;
}

// The file's contents, read again only when the file changed since the last read.
std::shared_ptr<const Contents> load(const QString& path, State& state)
{
    static const auto empty = std::make_shared<const Contents>();
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0) {
        state = errno == ENOENT ? State::Missing : State::Unreadable;
        return empty;
    }
    if (!S_ISREG(st.st_mode)) { // a FIFO would block the program for ever
        state = State::Unreadable;
        return empty;
    }
    std::lock_guard guard(g_lock);
    const auto it = g_cache.find(path);
    if (it != g_cache.end() && it->second.stamp == stampOf(st)) {
        state = State::Read;
        return it->second.contents;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        state = errno == ENOENT ? State::Missing : State::Unreadable;
        return empty;
    }
    struct stat opened;
    QByteArray bytes;
    bool ok = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    if (ok) {
        QFile f;
        ok = f.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
        if (ok)
            bytes = f.readAll();
        ok = ok && f.error() == QFileDevice::NoError;
    }
    ::close(fd);
    if (!ok) {
        state = State::Unreadable;
        return empty;
    }
    ++g_fileReads;
    auto contents = parse(std::move(bytes));
    g_cache[path] = Cached{stampOf(opened), contents};
    state = State::Read;
    return contents;
}

QString oneLine(const QString& value)
{
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    return v;
}

} // namespace

QString read(const QString& path, const QString& section, const QString& key, const QString& def,
             int bufferSize)
{
    State state;
    const Found f = load(path, state)->find(section, key);
    QString value = f.keyLine >= 0 ? f.value : def;
    if (bufferSize > 0 && value.size() > bufferSize - 1)
        value.truncate(bufferSize - 1);
    return value;
}

bool contains(const QString& path, const QString& section, const QString& key)
{
    State state;
    return load(path, state)->find(section, key).keyLine >= 0;
}

bool write(const QString& path, const QString& section, const QString& key, const QString& value,
           int* error)
{
    State state;
    const auto old = load(path, state);
    if (state == State::Unreadable) { // never replace what we could not read
        if (error)
            *error = EACCES;
        return false;
    }
    auto next = std::make_shared<Contents>(*old);
    QStringList& lines = next->lines;
    const QString line = key + u'=' + oneLine(value);
    const Found f = old->find(section, key);
    if (f.keyLine >= 0) {
        if (lines[f.keyLine] == line)
            return true; // already stored as it is
        lines[f.keyLine] = line;
    } else if (f.sectionLine >= 0) {
        lines.insert(f.endLine, line);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(line);
    }
    QByteArray bytes;
    for (const QString& l : lines) {
        bytes += cp1252::encode(l);
        bytes += "\r\n";
    }
    if (!safefile::replace(path, bytes, error))
        return false;
    next->index();
    struct stat st;
    std::lock_guard guard(g_lock);
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        g_cache[path] = Cached{stampOf(st), next};
    else
        g_cache.erase(path);
    return true;
}

int fileReads()
{
    std::lock_guard guard(g_lock);
    return g_fileReads;
}

} // namespace ini
