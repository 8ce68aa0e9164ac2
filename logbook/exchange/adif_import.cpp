// The ADIF import and its exception file "BAD.ADI".
#include "logbook/exchange/adif_scanner.h"
#include "logbook/exchange/import_export.h"
#include "logbook/exchange/transfer_io.h"
#include "logbook/store/database.h"
#include "logbook/store/logbook_page.h"
#include "platform/system/events.h"
#include "platform/system/places.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"

#include <QDate>
#include <QFile>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

std::int32_t ImportQSOCount = 0;
std::int32_t ImportBadCount = 0;
std::int32_t ImportUnsavedCount = 0;

namespace {

// The exception file of the running import: created at its first rejection; after a failure
// to create or write it, the rest of the import's rejections are counted as not saved.
struct BadFile {
    int fd = -1;
    bool tried = false;
    bool failed = false;
};
BadFile g_bad;

// The tags an imported QSO is made of, in the order they are looked at.
enum Tag {
    tQsoDate, tQsoDateOff, tTimeOff, tTimeOn, tCall, tBand, tMode, tRstSent, tRstRcvd, tName, tQth, tComment, tFreq,
    kTags
};
constexpr const char* kTagNames[kTags] = {"QSO_DATE", "QSO_DATE_OFF", "TIME_OFF", "TIME_ON", "CALL",
                                          "BAND",     "MODE",         "RST_SENT", "RST_RCVD", "NAME",
                                          "QTH",      "COMMENT",      "FREQ"};

QString reason(const char* tag)
{
    return QStringLiteral("Error in the <%1:x> field").arg(QLatin1String(tag));
}

// The first value of each tag in a record's text, read by the lengths the file gives.
std::array<std::optional<QByteArray>, kTags> recordFields(const QByteArray& text)
{
    std::array<std::optional<QByteArray>, kTags> out;
    AdifScanner scanner;
    for (const char c : text) {
        if (scanner.feed(c) != AdifScanner::Field)
            continue;
        for (int t = 0; t < kTags; ++t)
            if (!out[size_t(t)] && scanner.name() == kTagNames[t]) {
                out[size_t(t)] = scanner.value();
                break;
            }
    }
    return out;
}

bool digits(const QByteArray& s)
{
    for (const char c : s)
        if (c < '0' || c > '9')
            return false;
    return !s.isEmpty();
}

// Days since 30 December 1899 of "yyyymmdd" (the first eight characters of the value).
std::optional<qint64> dateDays(const QByteArray& value)
{
    const QByteArray d = value.left(8);
    if (d.size() != 8 || !digits(d))
        return std::nullopt;
    const QDate date(d.left(4).toInt(), d.mid(4, 2).toInt(), d.mid(6, 2).toInt());
    if (!date.isValid() || date.year() < 100)
        return std::nullopt;
    return QDate(1899, 12, 30).daysTo(date);
}

// Seconds of the day of "hhmm", "hhmmss", or a time written with colons ("7:05", "07:05:30").
std::optional<int> timeSeconds(const QByteArray& value)
{
    const QByteArray v = value.trimmed();
    QList<QByteArray> parts;
    if (v.size() == 4 && digits(v))
        parts = {v.left(2), v.mid(2, 2)};
    else if (v.size() == 6 && digits(v))
        parts = {v.left(2), v.mid(2, 2), v.mid(4, 2)};
    else
        parts = v.split(':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int n[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (!digits(parts[i]) || parts[i].size() > 2)
            return std::nullopt;
        n[i] = parts[i].toInt();
    }
    if (n[0] > 23 || n[1] > 59 || n[2] > 59)
        return std::nullopt;
    return n[0] * 3600 + n[1] * 60 + n[2];
}

// A day number as text: the same value that logging forms for that second.
QString dayNumberText(qint64 days, int seconds)
{
    return vb::Text(static_cast<double>(days * 86400 + seconds) / 86400.0);
}

bool writeBad(const QByteArray& bytes)
{
    VbError error;
    if (transfer::WriteAll(g_bad.fd, bytes, error))
        return true;
    transfer::ReportError(error);
    ::close(g_bad.fd);
    g_bad.fd = -1;
    g_bad.failed = true;
    return false;
}

// Creates "BAD.ADI" afresh with its four header lines.
void createBadFile()
{
    g_bad.tried = true;
    const QByteArray path = QFile::encodeName(BadADIFPath());
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        transfer::ReportError(vberror::fromErrno(errno));
        g_bad.failed = true;
        return;
    }
    g_bad.fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                    places::kPrivateFileMode);
    if (g_bad.fd < 0) {
        transfer::ReportError(vberror::fromErrno(errno));
        g_bad.failed = true;
        return;
    }
    writeBad(cp1252::encode(QStringLiteral("Sondrel ADIF import exception file\r\nCreated ")
                            + transfer::LocalShortDate() + QStringLiteral("\r\n<EOH>\r\n\r\n")));
}

// Closes the exception file at the end of an import; a failing close may have lost what was
// written. The next rejection, of another import, makes the file afresh.
void closeBadFile()
{
    const int fd = g_bad.fd;
    g_bad = BadFile();
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
        transfer::ReportError(vberror::fromErrno(errno));
        ImportUnsavedCount += ImportBadCount;
        ImportBadCount = 0;
    }
}

void reject(const QString& why, const QByteArray& text)
{
    WriteBadADIFRecord(why, text);
}

QString summary()
{
    const QString path = BadADIFPath();
    QString s = vb::Str(ImportQSOCount) + QStringLiteral(" QSOs read.  ") + vb::Str(ImportBadCount + ImportUnsavedCount)
        + QStringLiteral(" records could not be loaded.  ");
    if (ImportUnsavedCount == 0) {
        s += QStringLiteral("Please see the error file ") + path
            + QStringLiteral(" where they have been saved with comment about why they were not loaded.");
    } else {
        s += QString::number(ImportUnsavedCount) + QStringLiteral(" of them could not be written to the error file ")
            + path + QStringLiteral("; the error was shown before.");
        if (ImportBadCount > 0)
            s += QStringLiteral("  The other ") + QString::number(ImportBadCount)
                + QStringLiteral(" have been saved there with comment about why they were not loaded.");
    }
    return s + QStringLiteral("\r\n\r\nThe QSOs were loaded with ") + DefaultCallsign + QStringLiteral(" as the operator.");
}

enum class ReadEnd { Done, GaveUp, Cancelled, Closing };

bool blankAtStart(char c, qint64 position)
{
    static const char kBom[] = "\xEF\xBB\xBF";
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || (position < 3 && c == kBom[position]);
}

// A record that has grown this long without its "<eor>" means the rest of the file is no ADIF.
constexpr qsizetype kMaxRecordText = 16 * 1024 * 1024;
constexpr qint64 kHeaderLimit = 5000;

// Reads the transfer file through to its end, importing each record.
ReadEnd readRecords()
{
    AdifScanner scanner;
    bool headerFound = false;
    bool started = false; // the file's first non-blank byte has been seen
    qint64 position = 0;
    QByteArray text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(TransferFileNumber, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            transfer::ReportError(vberror::fromErrno(errno));
            return ReadEnd::Done;
        }
        if (n == 0)
            return ReadEnd::Done;
        for (ssize_t i = 0; i < n; ++i, ++position) {
            const char c = buffer[i];
            if (!started && !blankAtStart(c, position)) {
                started = true;
                // A file that begins with a tag has no header.
                if (c == '<')
                    headerFound = true;
            }
            if (!headerFound) {
                if (scanner.feed(c) == AdifScanner::EndOfHeader) {
                    headerFound = true;
                    text.clear();
                    scanner.reset();
                } else if (position + 1 >= kHeaderLimit) {
                    dlg::MsgBox(QStringLiteral("I have read 5000 characters of the file, and I haven't found the "
                                               "<EOH> end of header marker, so I give up"),
                                dlg::Exclamation, QStringLiteral("Invalid file format"));
                    return ReadEnd::GaveUp;
                }
                continue;
            }
            text += c;
            const AdifScanner::Event e = scanner.feed(c);
            if (e == AdifScanner::EndOfHeader) {
                // A header after records (files joined together), or header fields at the start.
                text.resize(0);
            } else if (e == AdifScanner::EndOfRecord) {
                if (ImportQSOCount == 0) {
                    const int answer = dlg::MsgBox(
                        QStringLiteral("QSOs will be imported for the current user : ") + DefaultCallsign
                            + QStringLiteral(".\r\n\r\nOK to continue.  Cancel to exit."),
                        dlg::OKCancel, QStringLiteral("User is ") + DefaultCallsign);
                    if (answer != dlg::OK)
                        return ReadEnd::Cancelled;
                    transfer::ShowProgress(true);
                }
                ImportADIFRecord(text);
                ++ImportQSOCount;
                text.resize(0);
                events::DoEvents();
                if (events::ProgramClosing())
                    return ReadEnd::Closing;
            } else if (text.size() > kMaxRecordText) {
                return ReadEnd::Done;
            }
        }
    }
}

} // namespace

QString BadADIFPath()
{
    return places::programFile(QStringLiteral("BAD.ADI"));
}

void ImportADIFRecord(const QByteArray& recordText)
{
    const auto f = recordFields(recordText);
    QSORecord qso;

    const std::optional<qint64> days = f[tQsoDate] ? dateDays(*f[tQsoDate]) : std::nullopt;
    if (!days)
        return reject(reason("QSO_DATE"), recordText);
    std::optional<int> off, on;
    if (f[tTimeOff] && !(off = timeSeconds(*f[tTimeOff])))
        return reject(reason("TIME_OFF"), recordText);
    if (f[tTimeOn] && !(on = timeSeconds(*f[tTimeOn])))
        return reject(reason("TIME_ON"), recordText);
    // The key is the QSO's end. QSO_DATE is the day it began and QSO_DATE_OFF the day it
    // ended, which is no date or one before the start only in a damaged record; without the
    // day it ended, a time off more than half a day before the time on is on the next day
    // (across midnight), while one a little before it is a slip of the same day. Without a
    // time off the QSO is keyed by its start, and without either by midnight.
    std::optional<qint64> ended;
    if (f[tQsoDateOff]) {
        ended = dateDays(*f[tQsoDateOff]);
        if (!ended || *ended < *days)
            return reject(reason("QSO_DATE_OFF"), recordText);
    }
    qint64 offDays = *days;
    if (off && ended) {
        offDays = *ended;
    } else if (off && on && *on - *off > 43200) {
        offDays = *days + 1;
    }
    const QString key = dayNumberText(offDays, off ? *off : on ? *on : 0);
    if (on)
        qso[fTimeOn] = dayNumberText(*days, *on);

    struct Required { Tag tag; QSOField field; };
    for (const Required r : {Required{tCall, fCallsign}, Required{tBand, fBand}, Required{tMode, fMode},
                             Required{tRstSent, fRSTSent}, Required{tRstRcvd, fRSTRcvd}}) {
        const std::optional<QByteArray>& v = f[size_t(r.tag)];
        // A band is written with its unit letter ("20M"), which is dropped; an empty one is no band.
        if (!v || (r.tag == tBand && v->isEmpty()))
            return reject(reason(kTagNames[r.tag]), recordText);
        qso[r.field] = cp1252::decode(r.tag == tBand ? v->chopped(1) : *v);
    }
    if (f[tName])
        qso[fName] = cp1252::decode(*f[tName]);
    if (f[tQth])
        qso[fQTH] = cp1252::decode(*f[tQth]);
    if (f[tComment])
        qso[fNotes] = cp1252::decode(*f[tComment]);
    // The frequency in MHz, as the export writes it, so that a QSO comes back as it went out.
    if (f[tFreq])
        qso[fFrequency] = cp1252::decode(*f[tFreq]);
    qso[fOperator] = DefaultCallsign;

    transfer::SetProgressCaption(QStringLiteral("Adding QSO number ") + vb::Str(ImportQSOCount + 1));
    CurrentQSO = qso;
    LogbookStatus = LogbookPut(key, CurrentQSO, VmxAdd);
    if (LogbookStatus != VmxOk) {
        return reject(LogbookStatus == VmxDuplicateKey
                          ? QStringLiteral("Duplicate Date/Time")
                          : QStringLiteral("Logbook Error = ")
                              + cp1252::decode(QByteArray::fromStdString(VmxReturnCode(LogbookStatus))),
                      recordText);
    }
    InsertLogbookRow();
    FillLogbookRow(1, key);
    if (VmxInfo(LogbookHandle, LogbookInfo) == VmxOk)
        QSOCounter = QString::number(LogbookInfo.RecordCount + 1);
    ShowQSOCounter();
}

void WriteBadADIFRecord(const QString& reason, const QByteArray& recordText)
{
    if (!g_bad.tried)
        createBadFile();
    if (g_bad.failed) {
        ++ImportUnsavedCount;
        return;
    }
    qsizetype start = 0;
    while (recordText.mid(start, 2) == "\r\n")
        start += 2;
    if (writeBad(cp1252::encode(reason) + " ....\r\n" + recordText.mid(start) + "\r\n\r\n"))
        ++ImportBadCount;
    else
        ++ImportUnsavedCount;
}

void ImportADIF()
{
    transfer::RunGuard guard(false);
    if (guard.refused())
        return;
    closeBadFile();
    ImportQSOCount = ImportBadCount = ImportUnsavedCount = 0;

    OpenLogTransferFile(QStringLiteral(".ADI"), QStringLiteral("Read"));
    if (TransferFileOpen) {
        const ReadEnd end = readRecords();
        VbError ignored; // a file that was only read has nothing to lose at its close
        transfer::CloseTransferFile(ignored);
        if (end == ReadEnd::Done || end == ReadEnd::Closing) {
            const bool closing = end == ReadEnd::Closing;
            if (ImportQSOCount == 0) {
                dlg::MsgBox(QStringLiteral("No valid ADIF records found"), dlg::Exclamation,
                            QStringLiteral("Nothing to do"));
            } else {
                LogbookStatus = VmxFlush(LogbookHandle);
                if (LogbookStatus != VmxOk && !closing)
                    ShowLogbookError();
                closeBadFile();
                if (!closing)
                    dlg::MsgBox(summary(), dlg::Exclamation, QStringLiteral("ADIF import summary"));
            }
        }
        closeBadFile();
    }
    transfer::ShowProgress(false);
}
