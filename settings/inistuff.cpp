#include "settings/inistuff.h"

#include "platform/inifile.h"
#include "platform/places.h"

#include <QFile>
#include <QSet>
#include <cerrno>
#include <cstdio>

QString INIPath;

namespace {

constexpr int kShortBuffer = 50;
constexpr int kLongBuffer = 3000;

// Keys whose values are file paths or host names; a Linux path easily passes 49 characters.
bool holdsPath(const QString& key)
{
    static const QSet<QString> keys = {
        QStringLiteral("radio data file name"), QStringLiteral("cd drive letter"),
        QStringLiteral("clockaddress"), QStringLiteral("capture file"), QStringLiteral("text file"),
    };
    return keys.contains(key.toLower());
}

QString readWith(const QString& section, const QString& key, const QString& def, int buffer)
{
    // Before LoadSettings has run there is no path yet; everything reads as its default.
    QString value = INIPath.isEmpty() ? def.left(buffer - 1) : ini::read(INIPath, section, key, def, buffer);
    return StripNull(value);
}

} // namespace

void WriteINI(const QString& section, const QString& key, const QString& value)
{
    if (INIPath.isEmpty())
        return;
    ini::write(INIPath, section, key, value); // a failed write is not reported
}

QString ReadINI(const QString& section, const QString& key, const QString& def)
{
    return readWith(section, key, def, holdsPath(key) ? kLongBuffer : kShortBuffer);
}

QString ReadINILong(const QString& section, const QString& key, const QString& def)
{
    return readWith(section, key, def, kLongBuffer);
}

QString StripNull(QString& text)
{
    qsizetype a = 0, b = text.size();
    while (a < b && text[a] == u' ')
        ++a;
    while (b > a && text[b - 1] == u' ')
        --b;
    text = text.mid(a, b - a);
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString StripNull2(QString& text)
{
    return StripNull(text);
}

void LoadSettings()
{
    INIPath = places::programFile(QStringLiteral("Sondrel.INI"));
    std::FILE* f = std::fopen(QFile::encodeName(INIPath).constData(), "rb");
    if (f) {
        std::fclose(f);
        LoadAllSettings();
        return;
    }
    if (errno == ENOENT)
        CreateDefaultINI();
    // Any other error: the file is there but cannot be read; load nothing and write nothing.
}

void CreateDefaultINI()
{
    WriteINI(QStringLiteral("Settings"), QStringLiteral("AFC On/Off"), QStringLiteral("On"));
    LoadAllSettings();
}
