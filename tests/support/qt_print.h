#pragma once
// Readable GoogleTest output for Qt values.
#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << r.width() << 'x' << r.height() << '+' << r.x() << '+' << r.y();
}
inline void PrintTo(const QPoint& p, std::ostream* os) { *os << '(' << p.x() << ", " << p.y() << ')'; }
inline std::ostream& operator<<(std::ostream& os, const QRect& r)
{
    PrintTo(r, &os);
    return os;
}
QT_END_NAMESPACE
