#include "settings/inistuff.h"

#include "platform/system/inifile.h"
#include "platform/system/places.h"
#include "platform/vb/vberror.h"
#include "platform/widgets/dialogs.h"

#include <QFile>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

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

// A failed write is told once; the next ones are counted until a write succeeds again, so a full
// disk does not bury the operator in boxes (the program writes at every change).
bool g_writeFailureShown = false;
int g_writeFailures = 0;

void reportWriteFailure(const QString& section, const QString& key, int error)
{
    ++g_writeFailures;
    if (g_writeFailureShown)
        return;
    g_writeFailureShown = true;
    dlg::MsgBox(QStringLiteral("The setting \"") + key + QStringLiteral("\" of [") + section
                    + QStringLiteral("] could not be saved in ") + INIPath + QStringLiteral(":\r\n")
                    + vberror::fromErrno(error).text()
                    + QStringLiteral("\r\n\r\nThe settings file was left as it was. Free some space on the disk, "
                                     "or make the file and its folder writable; until then settings you "
                                     "change last only until Sondrel is closed."),
                dlg::Exclamation, QStringLiteral("Settings not saved"));
}

} // namespace

int SettingsWriteFailures()
{
    return g_writeFailures;
}

void WriteINI(const QString& section, const QString& key, const QString& value)
{
    if (INIPath.isEmpty())
        return;
    int error = 0;
    if (ini::write(INIPath, section, key, value, &error))
        g_writeFailureShown = false;
    else
        reportWriteFailure(section, key, error);
}

QString ReadINI(const QString& section, const QString& key, const QString& def)
{
    return readWith(section, key, def, holdsPath(key) ? kLongBuffer : kShortBuffer);
}

QString ReadINILong(const QString& section, const QString& key, const QString& def)
{
    return readWith(section, key, def, kLongBuffer);
}

bool INIHasKey(const QString& section, const QString& key)
{
    return !INIPath.isEmpty() && ini::contains(INIPath, section, key);
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

void SettingsCannotBeSaved()
{
    g_writeFailureShown = true;
}
