#include "platform/inifile.h"

#include "platform/text1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace ini {
namespace {

QStringList readLines(const QString& path, bool* exists = nullptr)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (exists)
            *exists = false;
        return {};
    }
    if (exists)
        *exists = true;
    const QString text = cp1252::decode(f.readAll());
    QStringList lines = text.split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

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

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
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

Found find(const QStringList& lines, const QString& section, const QString& key)
{
    Found f;
    bool inside = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString s = sectionOf(lines[i]);
        if (!s.isNull()) {
            if (inside)
                break; // a later section of the same name is not searched, as Windows does
            inside = sameName(s, section);
            if (inside) {
                f.sectionLine = i;
                f.endLine = i + 1;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!lines[i].trimmed().isEmpty())
            f.endLine = i + 1;
        QString k, v;
        if (f.keyLine < 0 && keyValueOf(lines[i], k, v) && sameName(k, key)) {
            f.keyLine = i;
            f.value = v;
        }
    }
    return f;
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
    const QStringList lines = readLines(path);
    const Found f = find(lines, section, key);
    QString value = f.keyLine >= 0 ? f.value : def;
    if (bufferSize > 0 && value.size() > bufferSize - 1)
        value.truncate(bufferSize - 1);
    return value;
}

bool contains(const QString& path, const QString& section, const QString& key)
{
    return find(readLines(path), section, key).keyLine >= 0;
}

bool write(const QString& path, const QString& section, const QString& key, const QString& value)
{
    bool exists = false;
    QStringList lines = readLines(path, &exists);
    if (!exists && QFileInfo::exists(path))
        return false; // present but unreadable: never replace what we could not read
    const QString line = key + u'=' + oneLine(value);
    const Found f = find(lines, section, key);
    if (f.keyLine >= 0) {
        lines[f.keyLine] = line;
    } else if (f.sectionLine >= 0) {
        lines.insert(f.endLine, line);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(line);
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString& l : lines) {
        bytes += cp1252::encode(l);
        bytes += "\r\n";
    }
    if (out.write(bytes) != bytes.size())
        return false;
    return out.commit();
}

} // namespace ini
