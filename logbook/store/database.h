#pragma once
// The logbook file and the data every logbook operation shares: the QSO record, the key buffers,
// the record count and QSO counter, and the UTC offset.
#include "logbook/store/vmx.h"
#include "state/declarations.h"

#include <QDateTime>
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
// UTCOffsetDays, QSOOffsetCounter, PreviousQSOs, QSOCounter, LogbookHandle and LogbookStatus are
// program-wide (state/declarations.h).

// "<folder>/Logbook".
QString LogbookPath();
// Sets UTCOffsetDays from the clock seam's time zone.
void doGMTCalculations();
// The key text of a UTC date and time: " " + the shortest day-number text.
QString QSOKeyText(double utcDays);
// The key of this moment: the local date and time in whole seconds plus UTCOffsetDays.
QString CurrentQSOKey();
// A key read back as a UTC date and time, rounded to the nearest second; invalid when the key
// spells no date the program can show (before the year 100 or after 9999).
QDateTime QSOKeyDateTime(const QString& key);
// "dd mmm yyyy" and "hh:mm" of a key (empty for an invalid one).
QString QSOKeyDate(const QString& key);
QString QSOKeyTime(const QString& key);
// "QSO # " and the next QSO number less the offset, on the main window's menu.
void ShowQSOCounter();

// Opens the logbook file "Logbook" in the program folder, creating it when missing, and sets
// QSOCounter to the record count plus one; reports a failure with the logbook error box.
void OpenLogbook();
// Closes the logbook; the record library's status.
std::int16_t CloseLogbook(std::int32_t handle);

// "Logbook Error = " and the record library's text, then the logbook file and what to do;
// while such a box is open, further reports are counted, not shown.
void ShowLogbookError();
QString LogbookErrorAdvice(std::int16_t status);

// Thin wrappers that convert texts at the boundary (Windows-1252). A successful read fills the
// record and the two key texts (LogbookKeyIn and LogbookKeyOut unless others are given); a failed
// one changes none of them.
std::int16_t LogbookGet(std::int16_t index, std::int16_t operation, const QString& searchKey,
                        QSORecord& record);
std::int16_t LogbookGet(std::int16_t index, std::int16_t operation, const QString& searchKey,
                        QSORecord& record, QString& indexKey, QString& primaryKey);
std::int16_t LogbookPut(const QString& key, const QSORecord& record, std::int16_t mode);
std::int16_t LogbookDelete(const QString& key);
