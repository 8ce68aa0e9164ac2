// The ADIF and CSV exports: the current operator's QSOs, oldest first.
#include "logbook/exchange/import_export.h"
#include "logbook/exchange/transfer_io.h"
#include "logbook/store/database.h"
#include "platform/system/events.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "state/declarations.h"

#include <QDateTime>

namespace {

const QByteArray kCRLF("\r\n");

// "yyyymmdd" and "hhmmss" of a key or Time-on text, rounded to the nearest second, so that
// a time a fraction below midnight is written as 000000 of the next day.
struct DateTimeText {
    QDate day;
    QByteArray date;
    QByteArray time;
};

QByteArray two(int n)
{
    return QByteArray::number(n).rightJustified(2, '0');
}

QByteArray dateText(const QDate& d)
{
    return QByteArray::number(d.year()).rightJustified(4, '0') + two(d.month()) + two(d.day());
}

DateTimeText dateTimeOf(const QString& dayNumber)
{
    const QDateTime t = QSOKeyDateTime(dayNumber);
    if (!t.isValid())
        return {QDate(), QByteArray("00000000"), QByteArray("000000")};
    const QTime h = t.time();
    return {t.date(), dateText(t.date()), two(h.hour()) + two(h.minute()) + two(h.second())};
}

// "<TAG:" + length + ">" + value + " ".
void item(QByteArray& line, const char* tag, const QByteArray& value)
{
    line += tag;
    line += QByteArray::number(value.size());
    line += '>';
    line += value;
    line += ' ';
}

void optionalItem(QByteArray& line, const char* tag, const QString& value)
{
    if (!value.isEmpty())
        item(line, tag, cp1252::encode(value));
}

void csvValue(QByteArray& line, const QByteArray& value, bool last = false)
{
    QByteArray v = value;
    v.replace('"', "\"\""); // a quote inside a value is doubled, as spreadsheets read it
    line += '"';
    line += v;
    line += '"';
    if (!last)
        line += ',';
}

QByteArray headerLine(const QString& text)
{
    return cp1252::encode(text) + kCRLF;
}

QByteArray adifHeader()
{
    return headerLine(QStringLiteral("Sondrel Version : ") + ProgramVersion + QLatin1Char('.'))
        + headerLine(QStringLiteral("ADIF export file for ") + DefaultCallsign + QLatin1Char('.'))
        + headerLine(transfer::LocalShortDate() + QLatin1Char(' ') + transfer::LocalLongTime())
        + headerLine(QStringLiteral("<EOH>"));
}

QByteArray csvHeader()
{
    return headerLine(QStringLiteral("Sondrel Version : ") + ProgramVersion + QLatin1Char('.'))
        + headerLine(QStringLiteral("CSV export file for ") + DefaultCallsign + QLatin1Char('.'))
        + headerLine(transfer::LocalShortDate() + QLatin1Char(' ') + transfer::LocalLongTime()) + kCRLF
        + headerLine(QStringLiteral("Format is : DATE TIME_ON TIME_OFF CALLSIGN NAME QTH RST_RCVD RST_SENT "
                                    "BAND FREQUENCY MODE COMMENT"))
        + kCRLF;
}

// The next QSO after `lastKey` in key order. Other logbook work done while the export yields
// may have moved the primary index, so its position is set again on the last QSO read; when
// that QSO has gone meanwhile, the walk starts again from the first and skips what was written.
void readNext(const QString& lastKey)
{
    LogbookStatus = LogbookGet(0, VmxGetEqual, lastKey, CurrentQSO);
    if (LogbookStatus == VmxOk) {
        LogbookStatus = LogbookGet(0, VmxGetNext, QString(), CurrentQSO);
        return;
    }
    const double last = vb::Val(lastKey);
    LogbookStatus = VmxBOF(LogbookHandle, 0);
    while (LogbookStatus == VmxOk) {
        LogbookStatus = LogbookGet(0, VmxGetNext, QString(), CurrentQSO);
        if (LogbookStatus == VmxOk && vb::Val(LogbookKeyOut) > last)
            return;
    }
}

void exportQsos(const QString& extension, bool adif)
{
    transfer::RunGuard guard(true);
    if (guard.refused())
        return;
    OpenLogTransferFile(extension, QStringLiteral("Write"));
    if (!TransferFileOpen)
        return;

    VbError error;
    bool failed = false;
    LogbookStatus = VmxBOF(LogbookHandle, 0);
    if (LogbookStatus != VmxOk) {
        ShowLogbookError();
    } else {
        transfer::ShowProgress(true);
        LogbookStatus = LogbookGet(0, VmxGetNext, QString(), CurrentQSO);
        if (LogbookStatus != VmxOk)
            ShowLogbookError();
        std::int32_t count = 0;
        // Lines go to the file in blocks; whatever is written before a cancel or a failure is
        // in the file when it closes.
        QByteArray pending;
        constexpr qsizetype kBlock = 64 * 1024;
        while (LogbookStatus == VmxOk) {
            const QString key = LogbookKeyOut;
            if (CurrentQSO[fOperator] == DefaultCallsign) {
                if (count == 0)
                    pending += adif ? adifHeader() : csvHeader();
                pending += adif ? ADIFLine(key, CurrentQSO, DefaultCallsign) : CSVLine(key, CurrentQSO);
                if (pending.size() >= kBlock) {
                    failed = !transfer::WriteAll(TransferFileNumber, pending, error);
                    pending.resize(0);
                    if (failed)
                        break;
                }
                ++count;
                transfer::SetProgressCaption(QStringLiteral("Click here to cancel export\r\nQSO with ")
                                             + DefaultCallsign + QStringLiteral(" # ") + vb::Str(count));
            }
            events::DoEvents();
            if (transfer::CancelRequested() || events::ProgramClosing())
                break;
            readNext(key);
        }
        if (!failed && !pending.isEmpty())
            failed = !transfer::WriteAll(TransferFileNumber, pending, error);
    }
    VbError closeError;
    if (!transfer::CloseTransferFile(closeError) && !failed) {
        failed = true;
        error = closeError;
    }
    transfer::ShowProgress(false);
    if (failed)
        transfer::ReportError(error);
}

} // namespace

QByteArray ADIFLine(const QString& key, const QSORecord& qso, const QString& op)
{
    const DateTimeText off = dateTimeOf(key);
    const DateTimeText on = qso[fTimeOn].isEmpty() ? DateTimeText() : dateTimeOf(qso[fTimeOn]);
    // QSO_DATE is the day the QSO began, and QSO_DATE_OFF, the day of its key, follows TIME_OFF
    // when it ended on a later day (across midnight, or after a day or more). Without a start, or
    // with one on a day after its key's (a key changed by hand), the key's day is the QSO's day,
    // since the import takes no end before the day of the start.
    const bool endedLater = on.day.isValid() && off.day.isValid() && on.day < off.day;
    QByteArray line;
    line.reserve(256);
    item(line, "<OPERATOR:", cp1252::encode(op));
    line += "<QSO_DATE:8>" + (endedLater ? on.date : off.date) + ' ';
    line += "<TIME_OFF:6>" + off.time + ' ';
    if (endedLater)
        line += "<QSO_DATE_OFF:8>" + off.date + ' ';
    item(line, "<CALL:", cp1252::encode(qso[fCallsign]));
    optionalItem(line, "<NAME:", qso[fName]);
    optionalItem(line, "<QTH:", qso[fQTH]);
    optionalItem(line, "<RST_RCVD:", qso[fRSTRcvd]);
    optionalItem(line, "<RST_SENT:", qso[fRSTSent]);
    optionalItem(line, "<MODE:", qso[fMode]);
    if (!qso[fBand].isEmpty())
        item(line, "<BAND:", cp1252::encode(qso[fBand]) + 'M');
    optionalItem(line, "<FREQ:", qso[fFrequency]);
    if (!qso[fTimeOn].isEmpty())
        line += "<TIME_ON:6>" + on.time + ' ';
    optionalItem(line, "<COMMENT:", qso[fNotes]);
    line += "<EOR>";
    line += kCRLF;
    return line;
}

QByteArray CSVLine(const QString& key, const QSORecord& qso)
{
    const DateTimeText off = dateTimeOf(key);
    const QByteArray on = qso[fTimeOn].isEmpty() ? QByteArray("000000") : dateTimeOf(qso[fTimeOn]).time;
    QByteArray line;
    line.reserve(256);
    csvValue(line, off.date);
    csvValue(line, on);
    csvValue(line, off.time);
    for (QSOField f : {fCallsign, fName, fQTH, fRSTRcvd, fRSTSent, fBand, fFrequency, fMode})
        csvValue(line, cp1252::encode(qso[f]));
    csvValue(line, cp1252::encode(qso[fNotes]), true);
    line += kCRLF;
    return line;
}

void ExportADIF()
{
    exportQsos(QStringLiteral(".ADI"), true);
}

void ExportCSV()
{
    exportQsos(QStringLiteral(".CSV"), false);
}
