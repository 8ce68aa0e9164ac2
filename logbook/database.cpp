#include "logbook/database.h"

#include "core/declarations.h"
#include "core/errors.h"
#include "logbook/logbook_services.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/text1252.h"
#include "platform/vbnum.h"

#include <QFile>

const char* const kLogbookFieldSpec =
    "X15$,X15$,X5$,X4$,$,$,$,$,$,$,$,X35$,X35$,X35$,X35$,X35$,X35$,X35$,X35$";

QSORecord NewQSO;
QSORecord CurrentQSO;
QString QSOKey;
QString LogbookKeyIn;
QString LogbookKeyOut;
VmxInfoRecord LogbookInfo;
double UTCOffsetDays = 0;
std::int32_t QSOOffsetCounter = 0;
std::array<QString, 6> PreviousQSOs;

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
    std::string keyIn, keyOut;
    VmxRecord r;
    const std::int16_t status = VmxGet(LogbookHandle, index, operation, bytes(searchKey), keyIn, keyOut, r);
    if (status == VmxOk) {
        record.fromVmx(r);
        LogbookKeyIn = text(keyIn);
        LogbookKeyOut = text(keyOut);
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
