#pragma once
// The clock and time zone, behind one seam so tests fix both.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime nowUtc() const = 0;
    // Local time minus UTC at the given UTC moment, in seconds (east of Greenwich positive).
    virtual int utcOffsetSeconds(const QDateTime& utc) const = 0;
    // Milliseconds from an arbitrary start; only differences mean anything. Used by waits.
    virtual qint64 monotonicMs() const = 0;

    QDateTime nowLocal() const;

    static const Clock& instance();
    // Installs a clock for tests; nullptr puts the system clock back. The caller keeps ownership.
    static void install(const Clock* clock);
};

// A clock that stands still until told to move; for tests.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime utc = QDateTime(QDate(2024, 1, 1), QTime(12, 0), Qt::UTC),
                        int offsetSeconds = 0);
    QDateTime nowUtc() const override { return utc_; }
    int utcOffsetSeconds(const QDateTime&) const override { return offset_; }
    qint64 monotonicMs() const override { return ms_; }

    void setUtc(const QDateTime& utc) { utc_ = utc; }
    void setOffsetSeconds(int s) { offset_ = s; }
    void advanceMs(qint64 ms);

private:
    QDateTime utc_;
    int offset_;
    qint64 ms_ = 0;
};

// OLE day numbers: days since 30 Dec 1899 with the time of day as the fraction.
namespace oledate {
// From a date and time taken in whole seconds (fractions of a second dropped).
double fromDateTime(const QDateTime& dt);
// Back to a date and time in UTC, rounded to the nearest second.
QDateTime toDateTime(double days);
} // namespace oledate

// English month abbreviations "Jan".."Dec", whatever the locale.
namespace months {
QString abbrev(int month); // 1..12
int fromAbbrev(const QString& text); // case ignored; 0 when not a month
} // namespace months
