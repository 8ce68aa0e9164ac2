#include "transfer_fixture.h"

#include "platform/system/events.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"

#include <QDir>
#include <QFile>

namespace {

using Import = TransferFixture;

const QByteArray kHeader = "Written by hand\r\n<ADIF_VER:5>3.1.4 <PROGRAMID:4>TEST\r\n<EOH>\r\n";
const QByteArray kRest = "<BAND:3>20M <MODE:4>BPSK <RST_SENT:3>599 <RST_RCVD:3>579";

TEST_F(Import, EachRecordIsStoredOrKeptWithItsReason)
{
    struct Case {
        const char* what;
        QByteArray record;   // without its "<eor>"
        double key;          // the day number it is stored under; 0 when rejected
        const char* reason;  // the reason in BAD.ADI, when rejected
        QStringList fields;  // call, band, mode, sent, rcvd, name, QTH, notes, frequency
        double timeOn = 0;   // 0: no Time-on
    };
    const Case cases[] = {
        {"every field", "<QSO_DATE:8>20240305 <TIME_OFF:6>101530 <CALL:5>K1ABC <BAND:3>20M <MODE:4>BPSK "
                        "<RST_SENT:3>599 <RST_RCVD:3>579 <NAME:3>Bob <QTH:6>Boston <COMMENT:5>hello "
                        "<TIME_ON:4>1010 <FREQ:6>14.070 <OPERATOR:4>XX1X",
         dayOf(2024, 3, 5, 10, 15, 30), nullptr,
         {"K1ABC", "20", "BPSK", "599", "579", "Bob", "Boston", "hello", "14.070"}, dayOf(2024, 3, 5, 10, 10)},
        {"lower-case tags, no separators", "<qso_date:8>20240306<time_off:4>0830<call:4>G3XY<band:3>40m"
                                           "<mode:4>RTTY<rst_sent:3>599<rst_rcvd:3>589",
         dayOf(2024, 3, 6, 8, 30), nullptr, {"G3XY", "40", "RTTY", "599", "589", "", "", "", ""}},
        {"types, mixed case, ADIF 3 submode", "<QSO_Date:8:D>20240307 <Time_Off:6:T>235959 <Call:4>JA1A "
                                              "<Band:4>160M <Mode:3>PSK <SubMode:5>PSK31 <RST_Sent:3>599 <RST_Rcvd:3>599",
         dayOf(2024, 3, 7, 23, 59, 59), nullptr, {"JA1A", "160", "PSK", "599", "599", "", "", "", ""}},
        {"a time with colons", "<QSO_DATE:8>20240308 <TIME_OFF:7>7:05:30 <CALL:4>K1AA " + kRest,
         dayOf(2024, 3, 8, 7, 5, 30), nullptr, {"K1AA", "20", "BPSK", "599", "579", "", "", "", ""}},
        {"tags inside a value", "<COMMENT:22>see <call:4>XXXX<eor>! <QSO_DATE:8>20240309 <TIME_OFF:4>1200 "
                                "<CALL:4>K2BB " + kRest,
         dayOf(2024, 3, 9, 12), nullptr, {"K2BB", "20", "BPSK", "599", "579", "", "", "see <call:4>XXXX<eor>!", ""}},
        {"8-bit name", "<QSO_DATE:8>20240310 <TIME_OFF:4>1200 <CALL:4>DL1A <NAME:6>J\xfcrgen " + kRest,
         dayOf(2024, 3, 10, 12), nullptr, {"DL1A", "20", "BPSK", "599", "579", "J\u00fcrgen", "", "", ""}},
        // A QSO is keyed by its end: across midnight, the day after the one it began.
        {"across midnight, with the day it ended",
         "<QSO_DATE:8>20150102 <TIME_ON:6>235917 <QSO_DATE_OFF:8>20150103 <TIME_OFF:6>000002 <CALL:4>K1MN " + kRest,
         dayOf(2015, 1, 3, 0, 0, 2), nullptr, {"K1MN", "20", "BPSK", "599", "579", "", "", "", ""},
         dayOf(2015, 1, 2, 23, 59, 17)},
        {"across midnight, without it", "<QSO_DATE:8>20150104 <TIME_ON:4>2355 <TIME_OFF:4>0005 <CALL:4>K2MN " + kRest,
         dayOf(2015, 1, 5, 0, 5), nullptr, {"K2MN", "20", "BPSK", "599", "579", "", "", "", ""},
         dayOf(2015, 1, 4, 23, 55)},
        {"ended seconds before it began, as a logger wrote it",
         "<QSO_DATE:8>20231008 <TIME_ON:6>125021 <TIME_OFF:6>124946 <CALL:4>K3MN " + kRest,
         dayOf(2023, 10, 8, 12, 49, 46), nullptr, {"K3MN", "20", "BPSK", "599", "579", "", "", "", ""},
         dayOf(2023, 10, 8, 12, 50, 21)},
        {"the day it ended, without a time off",
         "<QSO_DATE:8>20150106 <QSO_DATE_OFF:8>20150107 <TIME_ON:4>2359 <CALL:4>K4MN " + kRest,
         dayOf(2015, 1, 6, 23, 59), nullptr, {"K4MN", "20", "BPSK", "599", "579", "", "", "", ""},
         dayOf(2015, 1, 6, 23, 59)},
        {"ended the day before it began",
         "<QSO_DATE:8>20150108 <QSO_DATE_OFF:8>20150107 <TIME_OFF:4>1200 <CALL:4>K5MN " + kRest, 0,
         "Error in the <QSO_DATE_OFF:x> field", {}},
        {"no date it ended", "<QSO_DATE:8>20150108 <QSO_DATE_OFF:7>2015010 <TIME_OFF:4>1200 <CALL:4>K5MN " + kRest,
         0, "Error in the <QSO_DATE_OFF:x> field", {}},
        {"no date it ended, no time off", "<QSO_DATE:8>20150108 <QSO_DATE_OFF:8>abcdefgh <TIME_ON:4>1200 <CALL:4>K5MN "
         + kRest, 0, "Error in the <QSO_DATE_OFF:x> field", {}},
        {"ended the day before it began, no time off", "<QSO_DATE:8>20150108 <QSO_DATE_OFF:8>20150107 <CALL:4>K5MN "
         + kRest, 0, "Error in the <QSO_DATE_OFF:x> field", {}},
        {"no time off: keyed by time on", "<QSO_DATE:8>20240311 <TIME_ON:6>093000 <CALL:4>K3CC " + kRest,
         dayOf(2024, 3, 11, 9, 30), nullptr, {"K3CC", "20", "BPSK", "599", "579", "", "", "", ""},
         dayOf(2024, 3, 11, 9, 30)},
        {"no time at all: midnight", "<QSO_DATE:8>20240312 <CALL:4>K4DD " + kRest, dayOf(2024, 3, 12), nullptr,
         {"K4DD", "20", "BPSK", "599", "579", "", "", "", ""}},
        {"a second one that day", "<QSO_DATE:8>20240312 <CALL:4>K5EE " + kRest, 0, "Duplicate Date/Time", {}},
        {"no RST_SENT", "<QSO_DATE:8>20240313 <CALL:4>K6FF <BAND:3>20M <MODE:4>BPSK <RST_RCVD:3>579", 0,
         "Error in the <RST_SENT:x> field", {}},
        {"no date", "<CALL:4>K7GG " + kRest, 0, "Error in the <QSO_DATE:x> field", {}},
        {"no call and no band", "<QSO_DATE:8>20240314 <MODE:4>BPSK", 0, "Error in the <CALL:x> field", {}},
        {"no band", "<QSO_DATE:8>20240314 <CALL:4>K8HH <MODE:4>BPSK", 0, "Error in the <BAND:x> field", {}},
        {"no mode", "<QSO_DATE:8>20240314 <CALL:4>K8HH <BAND:3>20M", 0, "Error in the <MODE:x> field", {}},
        {"no RST_RCVD", "<QSO_DATE:8>20240314 <CALL:4>K8HH <BAND:3>20M <MODE:4>BPSK <RST_SENT:3>599", 0,
         "Error in the <RST_RCVD:x> field", {}},
        // Values that cannot be converted go to BAD.ADI, and the import goes on.
        {"30 February", "<QSO_DATE:8>20240230 <CALL:4>K9II " + kRest, 0, "Error in the <QSO_DATE:x> field", {}},
        {"a bad time off", "<QSO_DATE:8>20240315 <TIME_OFF:4>2460 <CALL:4>K9II " + kRest, 0,
         "Error in the <TIME_OFF:x> field", {}},
        {"a bad time on", "<QSO_DATE:8>20240315 <TIME_ON:2>99 <CALL:4>K9II " + kRest, 0,
         "Error in the <TIME_ON:x> field", {}},
        {"an empty band", "<QSO_DATE:8>20240315 <CALL:4>K9II <BAND:0> <MODE:4>BPSK <RST_SENT:3>599 <RST_RCVD:3>579",
         0, "Error in the <BAND:x> field", {}},
        {"after them all", "<QSO_DATE:8>20240316 <TIME_OFF:4>0000 <CALL:4>K0JJ " + kRest, dayOf(2024, 3, 16),
         nullptr, {"K0JJ", "20", "BPSK", "599", "579", "", "", "", ""}},
    };
    QByteArray file = kHeader;
    QStringList reasons;
    for (const Case& c : cases) {
        file += c.record + " <eor>\r\n";
        if (c.reason)
            reasons << c.reason;
    }
    QSOOffsetCounter = 3;
    import(file);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.reason)
            continue;
        const QSORecord q = storedAt(c.key);
        const QSOField order[] = {fCallsign, fBand, fMode, fRSTSent, fRSTRcvd, fName, fQTH, fNotes, fFrequency};
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(q[order[i]], c.fields[i]) << i;
        EXPECT_EQ(q[fOperator], "W1OP");
        EXPECT_EQ(q[fTimeOn], c.timeOn ? vb::Text(c.timeOn) : QString());
    }
    const int n = int(std::size(cases));
    EXPECT_EQ(badReasons(), reasons);
    EXPECT_EQ(ImportQSOCount, n);
    EXPECT_EQ(ImportBadCount, reasons.size());
    EXPECT_EQ(QSOCounter, QString::number(n - reasons.size() + 1));
    EXPECT_EQ(main().mnu("mnuSerialNum").caption(), "QSO # " + QString::number(n - reasons.size() + 1 - 3));
    EXPECT_EQ(MiniLogPage.cell(1, 2), "K0JJ");
    EXPECT_EQ(MiniLogPage.cell(2, 2), "K4DD");
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages()[0].text, "QSOs will be imported for the current user : W1OP.\r\n\r\nOK to continue.  "
                                        "Cancel to exit.");
    EXPECT_EQ(boxes.messages()[0].title, "User is W1OP");
    EXPECT_EQ(boxes.messages()[0].style, dlg::OKCancel);
    EXPECT_EQ(boxes.messages()[1].text, summaryText(n, reasons.size()));
    EXPECT_EQ(boxes.messages()[1].title, "ADIF import summary");
    EXPECT_EQ(boxes.messages()[1].style, dlg::Exclamation);
    EXPECT_EQ(progress.first(), "show");
    EXPECT_EQ(progress.last(), "hide");
    EXPECT_TRUE(progress.contains("Adding QSO number  1"));
}

TEST_F(Import, BadAdiHoldsTheRecordTextsAndIsMadeAfreshByTheNextImport)
{
    const QByteArray first = "<QSO_DATE:8>20240401 <CALL:4>K1AB <BAND:3>20M <MODE:4>BPSK <RST_RCVD:3>579 <eor>";
    const QByteArray second = "\r\n\r\n<QSO_DATE:8>20240402 <CALL:4>K2AB " + kRest + " <eor>";
    const QByteArray file = kHeader + first + second + "\r\ntext after the last record";
    import(file);
    const QByteArray bad = readFile("BAD.ADI");
    ASSERT_TRUE(bad.startsWith("Sondrel ADIF import exception file\r\nCreated ")) << bad.toStdString();
    EXPECT_TRUE(bad.endsWith("\r\n<EOH>\r\n\r\nError in the <RST_SENT:x> field ....\r\n" + first + "\r\n\r\n"));
    EXPECT_EQ(bad.count('\n'), 7);
    EXPECT_EQ(boxes.messages().last().text, summaryText(2, 1));

    // The same file again: the stored QSO is a duplicate now, and BAD.ADI starts again.
    boxes.clear();
    import(file);
    EXPECT_EQ(badReasons(), QStringList({"Error in the <RST_SENT:x> field", "Duplicate Date/Time"}));
    EXPECT_TRUE(readFile("BAD.ADI").endsWith("Duplicate Date/Time ....\r\n" + second.mid(4) + "\r\n\r\n"));
    EXPECT_EQ(boxes.messages().last().text, summaryText(2, 2));
    EXPECT_EQ(QSOCounter, "2");

    // An import without a rejection leaves the old BAD.ADI alone.
    const QByteArray before = readFile("BAD.ADI");
    import(kHeader + "<QSO_DATE:8>20240403 <CALL:4>K3AB " + kRest + " <eor>");
    EXPECT_EQ(readFile("BAD.ADI"), before);
    EXPECT_EQ(boxes.messages().last().text, summaryText(1, 0));
}

TEST_F(Import, TheHeaderMustEndWithin5000Characters)
{
    const QByteArray record = "<QSO_DATE:8>20240401 <CALL:4>K1AB " + kRest + " <eor>";
    const QByteArray giveUp = "I have read 5000 characters of the file, and I haven't found the <EOH> end of header "
                              "marker, so I give up";
    struct Case { int padding; bool accepted; };
    for (const Case c : {Case{5000 - 5, true}, Case{5000 - 4, false}}) {
        SCOPED_TRACE(c.padding);
        boxes.clear();
        import(QByteArray(c.padding, 'x') + "<EOH>" + record);
        ASSERT_FALSE(boxes.messages().isEmpty());
        if (c.accepted) {
            EXPECT_EQ(boxes.messages().last().text, summaryText(1, 0));
        } else {
            ASSERT_EQ(boxes.messages().size(), 1);
            EXPECT_EQ(boxes.messages()[0].text, giveUp);
            EXPECT_EQ(boxes.messages()[0].title, "Invalid file format");
            EXPECT_EQ(boxes.messages()[0].style, dlg::Exclamation);
        }
    }
    EXPECT_EQ(QSOCounter, "2");
    EXPECT_FALSE(TransferFileOpen);
}

TEST_F(Import, EndsEarlyWithoutRecordsOrWhenTheOperatorCancels)
{
    import(kHeader + "<QSO_DATE:8>20240401 <CALL:4>K1AB " + kRest);
    EXPECT_EQ(messageTexts(), QStringList{"No valid ADIF records found"});
    EXPECT_EQ(boxes.messages()[0].title, "Nothing to do");

    boxes.clear();
    boxes.answerMessage(dlg::Cancel);
    import(kHeader + "<QSO_DATE:8>20240401 <CALL:4>K1AB " + kRest + "<eor>");
    EXPECT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(QSOCounter, "1");
    EXPECT_FALSE(TransferFileOpen);
    EXPECT_EQ(progress, QStringList({"hide", "hide"}));
}

TEST_F(Import, StopsWhenTheProgramClosesWhileItYields)
{
    TransferViewHooks().SetProgressCaption = [](const QString& caption) {
        if (caption.endsWith(" 2"))
            events::SetProgramClosing(true); // the main window unloads while the import yields
    };
    QByteArray file = kHeader;
    for (int d = 1; d <= 4; ++d)
        file += "<QSO_DATE:8>2024040" + QByteArray::number(d) + " <CALL:4>K1AB " + kRest + " <eor>";
    import(file);
    EXPECT_EQ(ImportQSOCount, 2);
    EXPECT_EQ(QSOCounter, "3");
    EXPECT_EQ(boxes.messages().size(), 1); // the question at the first record, and no summary
    EXPECT_FALSE(TransferFileOpen);
    EXPECT_FALSE(LogTransferRunning());
}

TEST_F(Import, AnExceptionFileThatCannotBeWrittenIsReportedAndNothingClaimsItSaved)
{
    ASSERT_TRUE(QDir(home->path()).mkdir("BAD.ADI"));
    import(kHeader + "<QSO_DATE:8>20240401 <CALL:4>K1AB <eor><QSO_DATE:8>20240402 <CALL:4>K2AB " + kRest
           + "<eor><CALL:4>K3AB<eor>");
    EXPECT_EQ(ImportBadCount, 0);
    EXPECT_EQ(ImportUnsavedCount, 2);
    const QStringList texts = messageTexts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[1], "Error # 75 Path/File access error");
    EXPECT_EQ(texts[2], " 3 QSOs read.   2 records could not be loaded.  2 of them could not be written to the error file "
                            + path("BAD.ADI") + "; the error was shown before.\r\n\r\nThe QSOs were loaded with W1OP "
                                                "as the operator.");
    EXPECT_EQ(QSOCounter, "2");
}

TEST_F(Import, AnExportedLogComesBackWithEveryField)
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
    q[fNotes] = "again";
    q[fFrequency] = "14.07015";
    const struct {
        double key, timeOn;
        QByteArray dates; // as the export writes them
    } cases[] = {
        {kNoon2024, kNoon2024 - 60 * kSecond, "<QSO_DATE:8>20240101 <TIME_OFF:6>120000 <CALL:"},
        {kNoon2024 + 600 * kSecond, kNoon2024 + 540 * kSecond, "<QSO_DATE:8>20240101 <TIME_OFF:6>121000 <CALL:"},
        {dayOf(2015, 1, 3, 0, 0, 2), dayOf(2015, 1, 2, 23, 58, 23),
         "<QSO_DATE:8>20150102 <TIME_OFF:6>000002 <QSO_DATE_OFF:8>20150103 <CALL:"},
        {dayOf(2023, 10, 8, 12, 49, 46), dayOf(2023, 10, 8, 12, 50, 21),
         "<QSO_DATE:8>20231008 <TIME_OFF:6>124946 <CALL:"},
    };
    for (const auto& c : cases) {
        q[fTimeOn] = QSOKeyText(c.timeOn);
        ASSERT_EQ(LogbookPut(QSOKeyText(c.key), q, VmxAdd), 0);
    }
    const QByteArray out = exportTo(true);
    for (const auto& c : cases) {
        EXPECT_TRUE(out.contains(c.dates)) << c.dates.toStdString();
        ASSERT_EQ(LogbookDelete(QSOKeyText(c.key)), 0);
    }
    import(out, "out.ADI");
    EXPECT_EQ(ImportBadCount, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dates.toStdString());
        const QSORecord back = storedAt(c.key);
        for (int f = 0; f < kQSOFieldCount; ++f) {
            if (f != fTimeOn) {
                EXPECT_EQ(back[f], q[f]) << f;
            }
        }
        EXPECT_EQ(QSOKeyDateTime(back[fTimeOn]), QSOKeyDateTime(QSOKeyText(c.timeOn)));
    }

    // And a file's QSO across midnight goes out with the days it began and ended.
    import(kHeader + "<QSO_DATE:8>20160102 <TIME_ON:6>235917 <QSO_DATE_OFF:8>20160103 <TIME_OFF:6>000002 "
                     "<CALL:4>K1MN " + kRest + " <eor>");
    EXPECT_TRUE(exportTo(true, "again").contains("<QSO_DATE:8>20160102 <TIME_OFF:6>000002 <QSO_DATE_OFF:8>20160103 "
                                                 "<CALL:4>K1MN <RST_RCVD:3>579 <RST_SENT:3>599 <MODE:4>BPSK "
                                                 "<BAND:3>20M <TIME_ON:6>235917 <EOR>\r\n"));
}

TEST_F(Import, AQsoOfAnyLengthGoesOutAsItCameInWithItsStartAndEnd)
{
    const struct {
        const char* what;
        QByteArray dates, timeOn; // the items as the export writes them
        double start, end;
    } cases[] = {
        {"one day", "<QSO_DATE:8>20150101 <TIME_OFF:6>120000 ", "115900", dayOf(2015, 1, 1, 11, 59),
         dayOf(2015, 1, 1, 12)},
        {"ended seconds before it began", "<QSO_DATE:8>20150102 <TIME_OFF:6>124946 ", "125021",
         dayOf(2015, 1, 2, 12, 50, 21), dayOf(2015, 1, 2, 12, 49, 46)},
        {"across midnight", "<QSO_DATE:8>20150102 <TIME_OFF:6>000002 <QSO_DATE_OFF:8>20150103 ", "235823",
         dayOf(2015, 1, 2, 23, 58, 23), dayOf(2015, 1, 3, 0, 0, 2)},
        {"ended at midnight", "<QSO_DATE:8>20150103 <TIME_OFF:6>000000 <QSO_DATE_OFF:8>20150104 ", "233000",
         dayOf(2015, 1, 3, 23, 30), dayOf(2015, 1, 4)},
        {"across two midnights", "<QSO_DATE:8>20210116 <TIME_OFF:6>000100 <QSO_DATE_OFF:8>20210118 ", "235900",
         dayOf(2021, 1, 16, 23, 59), dayOf(2021, 1, 18, 0, 1)},
        {"25 hours", "<QSO_DATE:8>20210223 <TIME_OFF:6>110000 <QSO_DATE_OFF:8>20210224 ", "100000",
         dayOf(2021, 2, 23, 10), dayOf(2021, 2, 24, 11)},
        {"24 hours", "<QSO_DATE:8>20210301 <TIME_OFF:6>120000 <QSO_DATE_OFF:8>20210302 ", "120000",
         dayOf(2021, 3, 1, 12), dayOf(2021, 3, 2, 12)},
    }; // in key order, as the export walks them
    QByteArray lines;
    for (const auto& c : cases)
        lines += "<OPERATOR:4>W1OP " + c.dates + "<CALL:4>K1MN <RST_RCVD:3>579 <RST_SENT:3>599 <MODE:4>BPSK "
            "<BAND:3>20M <TIME_ON:6>" + c.timeOn + " <EOR>\r\n";
    import(kHeader + lines);
    EXPECT_EQ(ImportBadCount, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(storedAt(c.end)[fTimeOn], vb::Text(c.start));
    }
    const QByteArray out = exportTo(true);
    EXPECT_EQ(out.mid(out.indexOf("<EOH>\r\n") + 7), lines);
}

} // namespace
