#include "transfer_fixture.h"

#include "platform/vb/vbnum.h"

#include <QFile>

namespace {

using Export = TransferFixture;

QSORecord fullQso()
{
    QSORecord q;
    q[fCallsign] = "DL1ABC";
    q[fOperator] = "W1OP";
    q[fBand] = "20";
    q[fMode] = "BPSK";
    q[fRSTSent] = "599";
    q[fRSTRcvd] = "579";
    q[fName] = "Hans";
    q[fQTH] = "Bonn";
    q[fNotes] = "first QSO";
    q[fFrequency] = "14.07015";
    q[fTimeOn] = QSOKeyText(kNoon2024 - 60 * kSecond);
    return q;
}

TEST(ExportLines, GoldenAdifAndCsvLines)
{
    struct Case {
        const char* what;
        double day;
        std::function<void(QSORecord&)> edit;
        QByteArray adif, csv;
    };
    const Case cases[] = {
        {"full", kNoon2024, [](QSORecord& q) { q = fullQso(); },
         "<OPERATOR:4>W1OP <QSO_DATE:8>20240101 <TIME_OFF:6>120000 <CALL:6>DL1ABC <NAME:4>Hans <QTH:4>Bonn "
         "<RST_RCVD:3>579 <RST_SENT:3>599 <MODE:4>BPSK <BAND:3>20M <FREQ:8>14.07015 <TIME_ON:6>115900 "
         "<COMMENT:9>first QSO <EOR>\r\n",
         "\"20240101\",\"115900\",\"120000\",\"DL1ABC\",\"Hans\",\"Bonn\",\"579\",\"599\",\"20\",\"14.07015\","
         "\"BPSK\",\"first QSO\"\r\n"},
        {"minimal", kNoon2024, [](QSORecord&) {},
         "<OPERATOR:4>W1OP <QSO_DATE:8>20240101 <TIME_OFF:6>120000 <CALL:0> <EOR>\r\n",
         "\"20240101\",\"000000\",\"120000\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"},
        {"160 m", kNoon2024, [](QSORecord& q) { q[fBand] = "160"; },
         "<OPERATOR:4>W1OP <QSO_DATE:8>20240101 <TIME_OFF:6>120000 <CALL:0> <BAND:4>160M <EOR>\r\n",
         "\"20240101\",\"000000\",\"120000\",\"\",\"\",\"\",\"\",\"\",\"160\",\"\",\"\",\"\"\r\n"},
        {"23:59:59.7 is the next day", 45292 + 86399.7 / 86400, [](QSORecord&) {},
         "<OPERATOR:4>W1OP <QSO_DATE:8>20240102 <TIME_OFF:6>000000 <CALL:0> <EOR>\r\n",
         "\"20240102\",\"000000\",\"000000\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"},
        // Begun before midnight: the ADIF start is the day before the key's, the CSV as it was.
        {"across midnight", dayOf(2015, 1, 3, 0, 0, 2),
         [](QSORecord& q) { q[fTimeOn] = QSOKeyText(dayOf(2015, 1, 2, 23, 58, 23)); },
         "<OPERATOR:4>W1OP <QSO_DATE:8>20150102 <TIME_OFF:6>000002 <QSO_DATE_OFF:8>20150103 <CALL:0> "
         "<TIME_ON:6>235823 <EOR>\r\n",
         "\"20150103\",\"235823\",\"000002\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"},
        {"a time on after the key's on the same day", dayOf(2023, 10, 8, 12, 49, 46),
         [](QSORecord& q) { q[fTimeOn] = QSOKeyText(dayOf(2023, 10, 8, 12, 50, 21)); },
         "<OPERATOR:4>W1OP <QSO_DATE:8>20231008 <TIME_OFF:6>124946 <CALL:0> <TIME_ON:6>125021 <EOR>\r\n",
         "\"20231008\",\"125021\",\"124946\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"},
        {"a time on a day after the key's", dayOf(2023, 10, 8, 23, 59, 50),
         [](QSORecord& q) { q[fTimeOn] = QSOKeyText(dayOf(2023, 10, 9, 0, 0, 10)); },
         "<OPERATOR:4>W1OP <QSO_DATE:8>20231008 <TIME_OFF:6>235950 <CALL:0> <TIME_ON:6>000010 <EOR>\r\n",
         "\"20231008\",\"000010\",\"235950\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"},
        {"quotes and 8-bit text", kNoon2024, [](QSORecord& q) { q[fName] = "J\u00fcrgen \"Bear\""; },
         "<OPERATOR:4>W1OP <QSO_DATE:8>20240101 <TIME_OFF:6>120000 <CALL:0> <NAME:13>J\xfcrgen \"Bear\" <EOR>\r\n",
         "\"20240101\",\"000000\",\"120000\",\"\",\"J\xfcrgen \"\"Bear\"\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QSORecord q;
        c.edit(q);
        EXPECT_EQ(ADIFLine(QSOKeyText(c.day), q, "W1OP"), c.adif);
        EXPECT_EQ(CSVLine(QSOKeyText(c.day), q), c.csv);
    }
}

TEST_F(Export, WritesTheOperatorsQsosOldestFirstAfterTheHeader)
{
    ASSERT_EQ(LogbookPut(QSOKeyText(kNoon2024 + 2), fullQso(), VmxAdd), 0);
    putQso("K1NEW", kNoon2024 + 3);
    putQso("K1OLD", kNoon2024 + 1);
    putQso("K1CASE", kNoon2024 + 4, "w1op"); // another operator, by letter case
    putQso("K1CLUB", kNoon2024 + 5, "W9CLUB");
    const QList<QByteArray> adif = exportTo(true).split('\n');
    ASSERT_EQ(adif.size(), 8);
    EXPECT_EQ(adif[0], "Sondrel Version : 1.24.\r");
    EXPECT_EQ(adif[1], "ADIF export file for W1OP.\r");
    EXPECT_TRUE(adif[2].endsWith("\r") && adif[2].size() > 8) << adif[2].toStdString();
    EXPECT_EQ(adif[3], "<EOH>\r");
    EXPECT_TRUE(adif[4].contains("<CALL:5>K1OLD "));
    EXPECT_EQ(adif[5] + '\n', ADIFLine(QSOKeyText(kNoon2024 + 2), fullQso(), "W1OP"));
    EXPECT_TRUE(adif[6].contains("<CALL:5>K1NEW "));
    EXPECT_EQ(adif[7], "");
    EXPECT_EQ(progress, QStringList({"show", "Click here to cancel export\r\nQSO with W1OP #  1",
                                     "Click here to cancel export\r\nQSO with W1OP #  2",
                                     "Click here to cancel export\r\nQSO with W1OP #  3", "hide"}));
    EXPECT_TRUE(boxes.messages().isEmpty());
    EXPECT_FALSE(TransferFileOpen);
    EXPECT_FALSE(LogTransferRunning());

    const QList<QByteArray> csv = exportTo(false).split('\n');
    ASSERT_EQ(csv.size(), 10);
    EXPECT_EQ(csv[1], "CSV export file for W1OP.\r");
    EXPECT_EQ(csv[3], "\r");
    EXPECT_EQ(csv[4], "Format is : DATE TIME_ON TIME_OFF CALLSIGN NAME QTH RST_RCVD RST_SENT BAND FREQUENCY MODE COMMENT\r");
    EXPECT_EQ(csv[5], "\r");
    EXPECT_EQ(csv[7] + '\n', CSVLine(QSOKeyText(kNoon2024 + 2), fullQso()));
}

TEST_F(Export, NoQsoOfTheOperatorLeavesANewFileEmptyAndAKeptFileGrows)
{
    putQso("K1CLUB", kNoon2024, "W9CLUB");
    EXPECT_EQ(exportTo(true), QByteArray());
    EXPECT_TRUE(QFile::exists(path("out.ADI")));
    EXPECT_TRUE(boxes.messages().isEmpty());

    putQso("K1ME", kNoon2024 + 1);
    writeFile("kept.ADI", "old content\r\n");
    boxes.answerMessage(dlg::No); // keep the file
    const QByteArray kept = exportTo(true, "kept");
    EXPECT_TRUE(kept.startsWith("old content\r\nSondrel Version : 1.24.\r\n")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("<EOH>\r\n<OPERATOR:4>W1OP ") && kept.contains("<CALL:4>K1ME ")
                && kept.endsWith("<EOR>\r\n")) << kept.toStdString();
}

TEST_F(Export, AnEmptyLogbookIsReportedAndTheFileStaysEmpty)
{
    EXPECT_EQ(exportTo(false), QByteArray());
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages()[0].text.startsWith("Logbook Error = " + QString::fromStdString(VmxReturnCode(VmxNotFound))
                                                     + "\r\n\r\nLogbook file: "))
        << boxes.messages()[0].text.toStdString();
    EXPECT_EQ(progress, QStringList({"show", "hide"}));
}

TEST_F(Export, ACancelAfterTheSecondRecordKeepsWhatWasWritten)
{
    for (int i = 0; i < 5; ++i)
        putQso(QStringLiteral("K%1AB").arg(i), kNoon2024 + i);
    TransferViewHooks().SetProgressCaption = [this](const QString& caption) {
        progress << caption;
        if (caption.endsWith(" 2"))
            CancelLogTransfer(); // as Command1_Click, while the export yields
    };
    const QByteArray out = exportTo(true);
    EXPECT_EQ(out.count("<EOR>"), 2);
    EXPECT_TRUE(out.contains("K1AB") && !out.contains("K2AB"));
    EXPECT_EQ(progress.last(), "hide");
    EXPECT_FALSE(TransferFileOpen);

    // The next export is not cancelled by the old click.
    TransferViewHooks().SetProgressCaption = [](const QString&) {};
    EXPECT_EQ(exportTo(true, "again").count("<EOR>"), 5);
}

TEST_F(Export, ASecondTransferWhileOneRunsIsRefused)
{
    putQso("K1AB", kNoon2024);
    putQso("K2AB", kNoon2024 + 1);
    TransferViewHooks().SetProgressCaption = [this](const QString& caption) {
        if (caption.endsWith(" 1")) {
            boxes.answerSave(path("second"));
            EXPECT_TRUE(LogTransferRunning());
            ExportCSV(); // the menu clicked again while the first export yields
            ImportADIF();
        }
    };
    EXPECT_EQ(exportTo(true).count("<EOR>"), 2);
    EXPECT_EQ(messageTexts(), QStringList(2, "A logbook export or import is running already.  Wait until it "
                                             "has finished, then try again."));
    EXPECT_FALSE(QFile::exists(path("second.CSV")));
}

TEST_F(Export, ALogbookChangedWhileTheExportYieldsIsStillWalkedInOrder)
{
    for (int i = 0; i < 4; ++i)
        putQso(QStringLiteral("K%1AB").arg(i), kNoon2024 + i);
    TransferViewHooks().SetProgressCaption = [](const QString& caption) {
        // Another window reads the newest QSO by its key, and the QSO just written is deleted.
        if (caption.endsWith(" 2")) {
            QSORecord r;
            LogbookGet(0, VmxGetEqual, QSOKeyText(kNoon2024 + 3), r);
            LogbookDelete(QSOKeyText(kNoon2024 + 1));
        }
    };
    const QByteArray out = exportTo(true);
    EXPECT_EQ(out.count("<EOR>"), 4) << out.toStdString();
    EXPECT_LT(out.indexOf("K2AB"), out.indexOf("K3AB"));
}

TEST_F(Export, AWriteFailureIsReportedTheFileClosedAndTheButtonHidden)
{
    putQso("K1AB", kNoon2024);
    ASSERT_TRUE(QFile::link("/dev/full", path("full.ADI")));
    boxes.answerMessage(dlg::No); // keep the "file"
    boxes.answerSave(path("full.ADI"));
    ExportADIF();
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages()[1].text, "Error # 61 Disk full");
    EXPECT_EQ(boxes.messages()[1].style, dlg::OKOnly);
    EXPECT_EQ(progress.first(), "show");
    EXPECT_EQ(progress.last(), "hide");
    EXPECT_FALSE(TransferProgressShown());
    EXPECT_FALSE(TransferFileOpen);
    EXPECT_EQ(TransferFileNumber, -1);
}

} // namespace
