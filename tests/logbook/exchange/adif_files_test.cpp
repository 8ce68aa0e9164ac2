// Files written by other logging programs: a few in their styles, written here, and the real ones
// kept beside the project, read where they lie.
#include "transfer_fixture.h"

#include <QDir>

namespace {

using OtherLoggers = TransferFixture;

const QStringList kReasons = {"Error in the <QSO_DATE:x> field", "Error in the <QSO_DATE_OFF:x> field",
                              "Error in the <TIME_OFF:x> field",
                              "Error in the <TIME_ON:x> field",  "Error in the <CALL:x> field",
                              "Error in the <BAND:x> field",     "Error in the <MODE:x> field",
                              "Error in the <RST_SENT:x> field", "Error in the <RST_RCVD:x> field",
                              "Duplicate Date/Time"};

TEST_F(OtherLoggers, FilesInTheirStylesImport)
{
    struct Case {
        const char* what;
        QByteArray file;
        int read;
        QStringList reasons;
        const char* lastCall; // row 1 of the page afterwards
        const char* lastMode;
    };
    const Case cases[] = {
        {"no header, lower case, a field a line",
         "<station_callsign:4>W1XX\n<call:5>K1ABC\n<qso_date:8>20240101\n<time_on:4>1200\n<band:3>20m\n<mode:3>SSB\n"
         "<rst_sent:2>59\n<rst_rcvd:2>57\n<sig:0>\n<eor>\n\n<call:5>K1ABD\n<qso_date:8>20240101\n<time_on:4>1201\n"
         "<band:3>20m\n<mode:3>SSB\n<rst_sent:2>59\n<rst_rcvd:2>57\n<eor>\n",
         2, {}, "K1ABD", "SSB"},
        {"header fields only, then records",
         "<ADIF_VER:5>3.1.0<PROGRAMID:4>TEST<EOH>\n<CALL:4>K2AB<QSO_DATE:8>20240102<TIME_ON:6>120015"
         "<QSO_DATE_OFF:8>20240102<TIME_OFF:6>120100<BAND:3>20m<FREQ:9>14.074512<MODE:3>FT8<RST_SENT:3>-10"
         "<RST_RCVD:3>-12<EOR>\n",
         1, {}, "K2AB", "FT8"},
        {"ADIF 3 PSK with SUBMODE",
         "Log export\r\n<ADIF_VER:5>3.1.4\r\n<PROGRAMID:6>Logger\r\n<EOH>\r\n<QSO_DATE:8:D>20240103 <TIME_ON:4>0815 "
         "<CALL:5>G4ABC <BAND:3>20M <MODE:3>PSK <SUBMODE:5>PSK31 <RST_SENT:3>599 <RST_RCVD:3>599 <EOR>\r\n",
         1, {}, "G4ABC", "PSK"},
        {"FREQ without BAND, header naming mail addresses",
         "ADIF Export from a logger\nCopyright (C) 2012 A. Writer <writer@example.net>\n\n<ADIF_VER:5>2.2.7\n<EOH>\n"
         "<QSO_DATE:8>20240104 <TIME_ON:4>2020 <CALL:5>W6NEV <FREQ:3>144 <MODE:2>FM \n<EOR>\n"
         "<QSO_DATE:8>20240104 <TIME_ON:4>2021 <CALL:4>WR6K <FREQ:3>144 <MODE:5>PSK31 \n<EOR>\n",
         2, {"Error in the <BAND:x> field", "Error in the <BAND:x> field"}, "", ""},
        {"8-bit values counted in bytes, a comment holding < and >",
         "Turbo style\r\n<EOH>\r\n<CALL:6>JA1ABC <QSO_DATE:8:D>20240105 <TIME_ON:4>0900 <BAND:3>40m <MODE:2>CW "
         "<RST_SENT:3>599 <RST_RCVD:3>599 <NAME:4>\x8eR\x93\x63 <COMMENT:9>Rig#9<\x83\x41> <EOR>\r\n",
         1, {}, "JA1ABC", "CW"},
        {"UTF-8 values counted in characters",
         "<call:5>XE1AB <qso_date:8>20240106 <time_on:4>1500 <band:3>15m <mode:3>SSB <rst_sent:2>59 <rst_rcvd:2>59 "
         "<name:7>ORDO\xc3\x91\x45Z <qth:9>T\xc3\xad\x61 Juana <eor>\n",
         1, {}, "XE1AB", "SSB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        MiniLogPage = LogbookGrid();
        import(c.file);
        EXPECT_EQ(ImportQSOCount, c.read);
        EXPECT_EQ(ImportBadCount, c.reasons.size());
        if (!c.reasons.isEmpty()) {
            EXPECT_EQ(badReasons(), c.reasons);
        }
        EXPECT_EQ(MiniLogPage.cell(1, 2), c.lastCall);
        EXPECT_EQ(MiniLogPage.cell(1, 4), c.lastMode);
        EXPECT_EQ(boxes.messages().last().text, summaryText(c.read, c.reasons.size()));
    }
}

// Records in each file, where its origin says (the damaged one: the good records before the damage).
int expectedRecords(const QString& name)
{
    static const QHash<QString, int> counts = {
        {"01", 1015}, {"03", 25}, {"08", 32}, {"09", 72}, {"13", 32}, {"14", 74}, {"16", 425},
        {"17", 723},  {"20", 15}, {"21", 47}, {"25", 1},  {"27", 49}, {"28", 4},  {"32", 10}};
    return counts.value(name.left(2), -1);
}

TEST_F(OtherLoggers, RealFilesImportWithEveryRecordAccountedFor)
{
    const QDir dir(QStringLiteral(SONDREL_ADIF_DATA_DIR));
    if (!dir.exists())
        GTEST_SKIP() << "no folder " << SONDREL_ADIF_DATA_DIR;
    const QStringList files = dir.entryList({"*.adi", "*.ADI"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        boxes.clear();
        VmxInfo(LogbookHandle, LogbookInfo);
        const int before = LogbookInfo.RecordCount;
        boxes.answerOpen(dir.filePath(name));
        ImportADIF();
        if (expectedRecords(name) >= 0) {
            EXPECT_EQ(ImportQSOCount, expectedRecords(name));
        }
        ASSERT_GT(ImportQSOCount, 0);
        VmxInfo(LogbookHandle, LogbookInfo);
        EXPECT_EQ(LogbookInfo.RecordCount - before, ImportQSOCount - ImportBadCount);
        EXPECT_EQ(ImportUnsavedCount, 0);
        EXPECT_EQ(messageTexts().last(), summaryText(ImportQSOCount, ImportBadCount));
        if (ImportBadCount > 0) {
            const QStringList reasons = badReasons();
            EXPECT_EQ(reasons.size(), ImportBadCount);
            for (const QString& r : reasons)
                EXPECT_TRUE(kReasons.contains(r)) << r.toStdString();
        }
        EXPECT_FALSE(TransferFileOpen);
        EXPECT_FALSE(LogTransferRunning());
    }
}

// Every stored QSO with its key, in key order.
QList<QPair<QString, QSORecord>> logbookContents()
{
    QList<QPair<QString, QSORecord>> out;
    QSORecord r;
    std::int16_t status = VmxBOF(LogbookHandle, 0);
    while (status == VmxOk && (status = LogbookGet(0, VmxGetNext, QString(), r)) == VmxOk)
        out.append({LogbookKeyOut, r});
    return out;
}

TEST_F(OtherLoggers, RealFilesGoOutAndComeBackTheSame)
{
    const QDir dir(QStringLiteral(SONDREL_ADIF_DATA_DIR));
    if (!dir.exists())
        GTEST_SKIP() << "no folder " << SONDREL_ADIF_DATA_DIR;
    for (const QString& name : dir.entryList({"*.adi", "*.ADI"}, QDir::Files, QDir::Name)) {
        boxes.answerOpen(dir.filePath(name));
        ImportADIF();
    }
    const auto before = logbookContents();
    ASSERT_GT(before.size(), 1000);
    const QByteArray out = exportTo(true);
    for (const auto& [key, qso] : before)
        ASSERT_EQ(LogbookDelete(key), VmxOk);
    import(out, "out.ADI");
    EXPECT_EQ(ImportBadCount, 0);
    const auto after = logbookContents();
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i].first.toStdString());
        EXPECT_EQ(after[i].first, before[i].first);
        for (int f = 0; f < kQSOFieldCount; ++f)
            EXPECT_EQ(after[i].second[f], before[i].second[f]) << f;
    }
}

} // namespace
