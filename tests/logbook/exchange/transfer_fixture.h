#pragma once
// The logbook fixture with files to import and export in its program folder, and what an
// export or an import leaves behind: the file written, "BAD.ADI", the progress button.
#include "logbook/exchange/import_export.h"
#include "logbook_fixture.h"

#include <QByteArray>

class TransferFixture : public LogbookFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& name) const { return home->file(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    // Imports `bytes` from a file chosen in the (scripted) dialog; the boxes answer OK.
    void import(const QByteArray& bytes, const QString& name = QStringLiteral("in.adi"));
    // Exports into a new file chosen in the dialog; its bytes.
    QByteArray exportTo(bool adif, const QString& name = QStringLiteral("out"));
    // The reasons of "BAD.ADI", in order, and the record texts after them.
    QStringList badReasons() const;
    // The summary of an import without failures to write "BAD.ADI".
    QString summaryText(int read, int bad) const;
    // The QSO stored under the key of `day` (any form of its text).
    QSORecord storedAt(double day);

    QStringList progress; // "show", "hide" and the captions, in order
};

// A day number of a date and a UTC time.
double dayOf(int y, int m, int d, int h = 0, int min = 0, int s = 0);
