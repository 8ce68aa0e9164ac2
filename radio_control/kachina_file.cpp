#include "radio_control/kachina_file.h"

#include <QFile>
#include <QFileInfo>

namespace varnel::kachina {
namespace {

int byteAt(const QByteArray& r, int n) // counted from 1
{
    return static_cast<unsigned char>(r[n - 1]);
}

void putHertz(QByteArray& r, int from, quint32 hertz) // from counted from 1
{
    for (int i = 0; i < 4; ++i)
        r[from - 1 + i] = static_cast<char>((hertz >> (8 * i)) & 0xFF);
}

} // namespace

std::optional<QByteArray> readRecord(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.read(kRecordSize);
}

QString threeDecimals(quint32 hertz)
{
    const quint32 whole = hertz / 1000;
    const QString frac = QStringLiteral("%1").arg(hertz % 1000, 3, 10, QChar(u'0'));
    return (whole ? QString::number(whole) : QString()) + u'.' + frac;
}

RecordValues parseRecord(const QByteArray& record)
{
    RecordValues v;
    if (record.size() >= 6) {
        const quint32 hz = quint32(byteAt(record, 3)) | quint32(byteAt(record, 4)) << 8
                           | quint32(byteAt(record, 5)) << 16 | quint32(byteAt(record, 6)) << 24;
        v.freqText = threeDecimals(hz);
    }
    if (record.size() >= 11) {
        switch (byteAt(record, 11)) {
        case 1: v.mode = QStringLiteral("AM"); break;
        case 2: v.mode = QStringLiteral("CW"); break;
        case 4: v.mode = QStringLiteral("USB"); break;
        case 5: v.mode = QStringLiteral("LSB"); break;
        default: break;
        }
    }
    return v;
}

WriteResult writeFrequency(const QString& path, quint32 hertz)
{
    WriteResult out;
    if (path.isEmpty()) {
        out.error = QStringLiteral("no radio data file name");
        return out;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) {
        out.error = f.errorString();
        return out;
    }
    QByteArray record = f.read(kRecordSize);
    record = record.leftJustified(kRecordSize, '\0', true);
    putHertz(record, 3, hertz);
    putHertz(record, 13, hertz);
    putHertz(record, 17, hertz);
    if (!f.seek(0) || f.write(record) != record.size() || !f.flush()) {
        out.error = f.errorString();
        return out;
    }
    out.record = record;
    return out;
}

} // namespace varnel::kachina
