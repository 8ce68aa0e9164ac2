#include "platform/system/clock.h"

#include <QElapsedTimer>
#include <atomic>
#include <cmath>

namespace {

class SystemClock : public Clock {
public:
    SystemClock() { timer_.start(); }
    QDateTime nowUtc() const override { return QDateTime::currentDateTimeUtc(); }
    int utcOffsetSeconds(const QDateTime& utc) const override
    {
        return utc.toLocalTime().offsetFromUtc();
    }
    qint64 monotonicMs() const override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

std::atomic<const Clock*> g_installed{nullptr};

const QDateTime& oleEpoch()
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return epoch;
}

} // namespace

const Clock& Clock::instance()
{
    static const SystemClock system;
    const Clock* c = g_installed.load();
    return c ? *c : system;
}

void Clock::install(const Clock* clock)
{
    g_installed.store(clock);
}

QDateTime Clock::nowLocal() const
{
    const QDateTime utc = nowUtc();
    QDateTime local = utc.addSecs(utcOffsetSeconds(utc));
    local.setTimeSpec(Qt::UTC); // a wall-clock value; the zone is not tracked
    return local;
}

FixedClock::FixedClock(QDateTime utc, int offsetSeconds)
    : utc_(std::move(utc)), offset_(offsetSeconds)
{
}

void FixedClock::advanceMs(qint64 ms)
{
    ms_ += ms;
    utc_ = utc_.addMSecs(ms);
}

namespace oledate {

double fromDateTime(const QDateTime& dt)
{
    QDateTime d = dt;
    if (d.timeSpec() != Qt::UTC)
        d = QDateTime(d.date(), d.time(), Qt::UTC); // wall-clock value as given
    const qint64 secs = oleEpoch().secsTo(d);
    return static_cast<double>(secs) / 86400.0;
}

QDateTime toDateTime(double days)
{
    const qint64 secs = static_cast<qint64>(std::llround(days * 86400.0));
    return oleEpoch().addSecs(secs);
}

} // namespace oledate

namespace months {

static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString abbrev(int month)
{
    if (month < 1 || month > 12)
        return QString();
    return QString::fromLatin1(kNames[month - 1]);
}

int fromAbbrev(const QString& text)
{
    for (int i = 0; i < 12; ++i)
        if (text.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

} // namespace months
