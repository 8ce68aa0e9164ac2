#include "logbook/store/database.h"

#include "platform/system/clock.h"
#include "platform/system/places.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QFile>
#include <cmath>

const char* const kLogbookFieldSpec =
    "X15$,X15$,X5$,X4$,$,$,$,$,$,$,$,X35$,X35$,X35$,X35$,X35$,X35$,X35$,X35$";

QSORecord NewQSO;
QSORecord CurrentQSO;
QString QSOKey;
QString LogbookKeyIn;
QString LogbookKeyOut;
VmxInfoRecord LogbookInfo;

namespace {

std::string bytes(const QString& s)
{
    return cp1252::encode(s).toStdString();
}

QString text(const std::string& s)
{
    return cp1252::decode(s.data(), static_cast<qsizetype>(s.size()));
}

std::string path()
{
    return QFile::encodeName(LogbookPath()).toStdString();
}

} // namespace

VmxRecord QSORecord::toVmx() const
{
    VmxRecord r;
    r.reserve(kQSOFieldCount);
    for (const QString& f : field)
        r.push_back(bytes(f));
    return r;
}

void QSORecord::fromVmx(const VmxRecord& r)
{
    for (int i = 0; i < kQSOFieldCount; ++i)
        field[static_cast<size_t>(i)] = i < static_cast<int>(r.size()) ? text(r[static_cast<size_t>(i)]) : QString();
}

QString LogbookPath()
{
    return places::programFile(QStringLiteral("Logbook"));
}

void doGMTCalculations()
{
    const Clock& c = Clock::instance();
    UTCOffsetDays = -c.utcOffsetSeconds(c.nowUtc()) / 86400.0;
}

QString QSOKeyText(double utcDays)
{
    return vb::Str(utcDays);
}

QString CurrentQSOKey()
{
    // The offset is applied in whole seconds before the day number is formed: adding it as a
    // fraction of a day can leave the last digit of the key one off the UTC second's own text,
    // and a QSO typed in or imported for that second would then not be seen as the same key.
    const double offsetSeconds = std::nearbyint(UTCOffsetDays * 86400.0);
    const QDateTime local = Clock::instance().nowLocal();
    if (!std::isfinite(offsetSeconds) || std::fabs(offsetSeconds) > 366.0 * 86400.0)
        return QSOKeyText(oledate::fromDateTime(local) + UTCOffsetDays);
    return QSOKeyText(oledate::fromDateTime(local.addSecs(static_cast<qint64>(offsetSeconds))));
}

QDateTime QSOKeyDateTime(const QString& key)
{
    // Day numbers of 1 Jan 100 and 31 Dec 9999, the dates a date can show.
    const double days = vb::Val(key);
    if (!(days >= -657434.0 && days < 2958466.0))
        return QDateTime();
    return oledate::toDateTime(days);
}

QString QSOKeyDate(const QString& key)
{
    const QDateTime t = QSOKeyDateTime(key);
    if (!t.isValid())
        return QString();
    const QDate d = t.date();
    return QStringLiteral("%1 %2 %3").arg(d.day(), 2, 10, QLatin1Char('0')).arg(months::abbrev(d.month()))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString QSOKeyTime(const QString& key)
{
    const QDateTime t = QSOKeyDateTime(key);
    if (!t.isValid())
        return QString();
    return QStringLiteral("%1:%2").arg(t.time().hour(), 2, 10, QLatin1Char('0'))
        .arg(t.time().minute(), 2, 10, QLatin1Char('0'));
}

void ShowQSOCounter()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->mnu(QStringLiteral("mnuSerialNum"))
            .setCaption(QStringLiteral("QSO # ") + vb::Text(vb::Val(QSOCounter) - QSOOffsetCounter));
}

void OpenLogbook()
{
    std::int16_t status = VmxOpen(path(), 1, 1, LogbookHandle, bytes(LogbookAccessCode));
    if (status == VmxFileMissing) {
        status = VmxCreate(path(), 20, 0, 0, 0, kLogbookFieldSpec);
        if (status == VmxOk)
            status = VmxOpen(path(), 1, 1, LogbookHandle, bytes(LogbookAccessCode));
    }
    if (status == VmxOk) {
        status = VmxInfo(LogbookHandle, LogbookInfo);
        if (status == VmxOk)
            QSOCounter = QString::number(LogbookInfo.RecordCount + 1);
    }
    LogbookStatus = status;
    if (status != VmxOk)
        ShowLogbookError();
}

std::int16_t CloseLogbook(std::int32_t handle)
{
    return VmxClose(handle);
}

std::int16_t LogbookGet(std::int16_t index, std::int16_t operation, const QString& searchKey,
                        QSORecord& record)
{
    return LogbookGet(index, operation, searchKey, record, LogbookKeyIn, LogbookKeyOut);
}

std::int16_t LogbookGet(std::int16_t index, std::int16_t operation, const QString& searchKey,
                        QSORecord& record, QString& indexKey, QString& primaryKey)
{
    std::string keyIn, keyOut;
    VmxRecord r;
    const std::int16_t status = VmxGet(LogbookHandle, index, operation, bytes(searchKey), keyIn, keyOut, r);
    if (status == VmxOk) {
        record.fromVmx(r);
        indexKey = text(keyIn);
        primaryKey = text(keyOut);
    }
    return status;
}

std::int16_t LogbookPut(const QString& key, const QSORecord& record, std::int16_t mode)
{
    return VmxPut(LogbookHandle, bytes(key), record.toVmx(), mode);
}

std::int16_t LogbookDelete(const QString& key)
{
    return VmxDelete(LogbookHandle, bytes(key));
}
