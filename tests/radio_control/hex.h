#pragma once
// "FE FE 58 E0" -> bytes, and back, for readable test tables.
#include <QByteArray>
#include <QString>
#include <QStringList>

inline QByteArray hexBytes(const char* text)
{
    QByteArray out;
    for (const QString& pair : QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts))
        out.append(static_cast<char>(pair.toUInt(nullptr, 16)));
    return out;
}

inline QString hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

#include <ostream>
// Readable QStrings in test failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE
