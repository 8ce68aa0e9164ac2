#include "transfer_fixture.h"

#include "platform/vb/vbnum.h"

#include <QFile>

void TransferFixture::SetUp()
{
    LogbookFixture::SetUp();
    TransferView& v = TransferViewHooks();
    v.ShowProgress = [this](bool shown) { progress << (shown ? "show" : "hide"); };
    v.SetProgressCaption = [this](const QString& caption) { progress << caption; };
}

void TransferFixture::TearDown()
{
    ResetTransferViewHooks();
    LogbookFixture::TearDown();
}

void TransferFixture::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray TransferFixture::readFile(const QString& name) const
{
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TransferFixture::import(const QByteArray& bytes, const QString& name)
{
    writeFile(name, bytes);
    boxes.answerOpen(path(name));
    ImportADIF();
}

QByteArray TransferFixture::exportTo(bool adif, const QString& name)
{
    boxes.answerSave(path(name));
    adif ? ExportADIF() : ExportCSV();
    return readFile(name + (adif ? ".ADI" : ".CSV"));
}

QStringList TransferFixture::badReasons() const
{
    QStringList out;
    const QList<QByteArray> lines = readFile("BAD.ADI").split('\n');
    for (const QByteArray& l : lines)
        if (l.endsWith(" ....\r"))
            out << QString::fromLatin1(l.chopped(6));
    return out;
}

QString TransferFixture::summaryText(int read, int bad) const
{
    return vb::Str(read) + " QSOs read.  " + vb::Str(bad) + " records could not be loaded.  Please see the error file "
        + path("BAD.ADI") + " where they have been saved with comment about why they were not loaded.\r\n\r\n"
        + "The QSOs were loaded with " + DefaultCallsign + " as the operator.";
}

QSORecord TransferFixture::storedAt(double day)
{
    return stored(vb::Text(day));
}

double dayOf(int y, int m, int d, int h, int min, int s)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d)) * 86400 + h * 3600 + min * 60 + s) / 86400.0;
}
