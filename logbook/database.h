#pragma once
// The logbook file and the data every logbook operation shares: the QSO record, the key buffers,
// the record count and QSO counter, and the UTC offset.
#include "logbook/vmx.h"

#include <QString>
#include <array>
#include <cstdint>

// Fields of a QSO record, in file order (0-based here).
enum QSOField : int {
    fCallsign, fOperator, fBand, fMode, fRSTSent, fRSTRcvd, fName, fQTH, fNotes, fSpare1, fSpare2,
    fFrequency, fTimeOn, fSpare3, fSpare4, fSpare5, fSpare6, fSpare7, fSpare8, kQSOFieldCount
};

// A QSO: nineteen texts (Windows-1252 when they cross to the file).
struct QSORecord {
    std::array<QString, kQSOFieldCount> field;
    QString& operator[](int i) { return field[static_cast<size_t>(i)]; }
    const QString& operator[](int i) const { return field[static_cast<size_t>(i)]; }
    VmxRecord toVmx() const;
    void fromVmx(const VmxRecord& r);
};

extern const char* const kLogbookFieldSpec;

extern QSORecord NewQSO;
extern QSORecord CurrentQSO;
extern QString QSOKey;
extern QString LogbookKeyIn;
extern QString LogbookKeyOut;
extern VmxInfoRecord LogbookInfo;
extern double UTCOffsetDays;           // days to add to local time to get UTC
extern std::int32_t QSOOffsetCounter;
extern std::array<QString, 6> PreviousQSOs; // [1..5]

// "<folder>/Logbook".
QString LogbookPath();
// Sets UTCOffsetDays from the clock seam's time zone.
void doGMTCalculations();
// The key text of a UTC date and time: " " + the shortest day-number text.
QString QSOKeyText(double utcDays);

// Thin wrappers that convert texts at the boundary (Windows-1252) and keep the key buffers.
std::int16_t LogbookGet(std::int16_t index, std::int16_t operation, const QString& searchKey,
                        QSORecord& record);
std::int16_t LogbookPut(const QString& key, const QSORecord& record, std::int16_t mode);
std::int16_t LogbookDelete(const QString& key);
