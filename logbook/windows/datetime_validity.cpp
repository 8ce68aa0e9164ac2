#include "logbook/windows/datetime_validity.h"

#include "platform/system/clock.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"

#include <QDate>
#include <QTime>

namespace {

const char* const kFormat =
    "The correct format is DD MMM YY HH:MM (seconds, like HH:MM:SS, are optional, and help avoid "
    "duplicate times in the Logbook).";

DatetimeCheck structure(const char* title, const char* what)
{
    return {QString(), QString::fromLatin1(title),
            QStringLiteral("I can't find a valid %1.  ").arg(QString::fromLatin1(what)) + QString::fromLatin1(kFormat)};
}

// Exactly `n` decimal digits, as their number; -1 otherwise.
int digits(const QString& text, int n)
{
    if (text.size() != n)
        return -1;
    int v = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        v = v * 10 + (c.unicode() - '0');
    }
    return v;
}

} // namespace

DatetimeCheck CheckDatetime(const QString& t)
{
    const QChar blank(QLatin1Char(' ')), colon(QLatin1Char(':'));
    const qsizetype p1 = t.indexOf(blank);
    if (p1 < 0)
        return structure("Invalid day", "day of the month");
    const QString day = vb::Trim(t.left(p1));
    const qsizetype p2 = t.indexOf(blank, p1 + 1);
    if (p2 < 0)
        return structure("Invalid month", "month");
    const QString month = vb::Trim(t.mid(p1 + 1, p2 - p1 - 1));
    const qsizetype p3 = t.indexOf(blank, p2 + 1);
    if (p3 < 0)
        return structure("Invalid year", "year");
    QString year = vb::Trim(t.mid(p2 + 1, p3 - p2 - 1));
    year = (vb::Val(year) >= 40 ? QStringLiteral("19") : QStringLiteral("20")) + year;
    const qsizetype p4 = t.indexOf(colon, p3 + 1);
    if (p4 < 0)
        return structure("Invalid Hour", "Hour");
    const QString hour = vb::Trim(t.mid(p3 + 1, p4 - p3 - 1));
    const qsizetype p5 = t.indexOf(colon, p4 + 1);
    QString minute, second;
    if (p5 >= 0) {
        minute = vb::Trim(t.mid(p4 + 1, p5 - p4 - 1));
        second = t.mid(p5 + 1);
    } else {
        minute = t.mid(p4 + 1);
        second = QStringLiteral("00");
    }

    const QString d = month + QStringLiteral(" ") + day + QStringLiteral(", ") + year;
    const int m = month.size() == 3 ? months::fromAbbrev(month) : 0;
    const int y = digits(year, 4), dd = digits(day, 2);
    const QDate date(y, m, dd);
    if (m == 0 || y < 0 || dd < 0 || !date.isValid())
        return {QString(), QStringLiteral("Invalid date"), QStringLiteral("Oops, the date ") + d + QStringLiteral(" is not valid.")};

    const QString s = hour + QStringLiteral(":") + minute + QStringLiteral(":") + second;
    const int h = digits(hour, 2), mi = digits(minute, 2), se = digits(second, 2);
    if (h < 0 || h > 23 || mi < 0 || mi > 59 || se < 0 || se > 59)
        return {QString(), QStringLiteral("Invalid time"), QStringLiteral("Oops, the time ") + s + QStringLiteral(" is not valid.")};

    const double days = oledate::fromDateTime(QDateTime(date, QTime(h, mi, se), Qt::UTC));
    return {vb::Trim(vb::Str(days)), QString(), QString()};
}
