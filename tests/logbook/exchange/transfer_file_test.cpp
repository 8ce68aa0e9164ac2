#include "transfer_fixture.h"

#include "logbook/logbook_services.h"
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <unistd.h>

namespace {

using TransferDialog = TransferFixture;

TEST_F(TransferDialog, ChoosesCompletesAndOpensTheFile)
{
    const QString badRefusal = "You can read directly from the BAD.ADI file.  If you want to import records from "
                               "this file, you must rename it, and fix the bad records.";
    ASSERT_TRUE(QDir(home->path()).mkpath("Old BAD.ADI files"));
    ASSERT_TRUE(QDir(home->path()).mkpath("folder.ADI"));
    struct Case {
        const char* what;
        const char* ext;
        const char* mode;
        QStringList chosen;      // the dialog's answers, in order
        QList<int> answers;      // the message boxes' answers
        const char* opened;      // the file opened, or nullptr
        QStringList messages;
    };
    const Case cases[] = {
        {"import of BAD.ADI in any case", ".ADI", "Read", {"bad.adi"}, {}, nullptr, {badRefusal}},
        {"import from a folder named so", ".ADI", "Read", {"Old BAD.ADI files/x.adi"}, {}, nullptr, {badRefusal}},
        {"export to such a name", ".ADI", "Write", {"Bad.Adi"}, {}, "Bad.Adi", {}},
        {"cancelled", ".ADI", "Write", {""}, {}, nullptr, {}},
        {"one character", ".ADI", "Read", {"x"}, {}, nullptr, {}},
        {"extension added", ".CSV", "Write", {"notes.txt"}, {}, "notes.txt.CSV", {}},
        {"extension kept", ".ADI", "Write", {"log.adi"}, {}, "log.adi", {}},
        {"a missing file to read", ".ADI", "Read", {"missing"}, {}, nullptr, {"Error # 53 File not found"}},
        {"a folder to read", ".ADI", "Read", {"folder.ADI"}, {}, nullptr, {"Error # 75 Path/File access error"}},
        {"a missing folder", ".ADI", "Write", {"nowhere/x"}, {}, nullptr, {"Error # 53 File not found"}},
        {"replace: Cancel asks again", ".ADI", "Write", {"kept.ADI", ""}, {dlg::Cancel}, nullptr,
         {"Replace existing file - %1/kept.ADI?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        writeFile("kept.ADI", "old");
        for (const QString& p : c.chosen) {
            const QString full = p.isEmpty() || p.size() == 1 ? p : path(p);
            QString(c.mode) == "Read" ? boxes.answerOpen(full) : boxes.answerSave(full);
        }
        for (int a : c.answers)
            boxes.answerMessage(a);
        OpenLogTransferFile(c.ext, c.mode);
        EXPECT_EQ(TransferFileOpen, c.opened != nullptr);
        QStringList expected;
        for (const QString& m : c.messages)
            expected << (m.contains("%1") ? m.arg(home->path()) : m);
        EXPECT_EQ(messageTexts(), expected);
        int dialogs = 0;
        for (const dlg::BoxCall& b : boxes.calls())
            dialogs += b.kind == dlg::BoxCall::Open || b.kind == dlg::BoxCall::Save;
        EXPECT_EQ(dialogs, c.chosen.size());
        if (c.opened) {
            ASSERT_EQ(::write(TransferFileNumber, "new", 3), 3);
            EXPECT_TRUE(QFile::exists(path(c.opened)));
            ::close(TransferFileNumber);
            TransferFileNumber = -1;
            TransferFileOpen = false;
        }
        EXPECT_EQ(readFile("kept.ADI"), "old");
    }
}

TEST_F(TransferDialog, AnExistingFileIsKeptAndAppendedToOrReplaced)
{
    struct Case { int answer; QByteArray after; };
    for (const Case& c : {Case{dlg::No, "oldnew"}, Case{dlg::Yes, "new"}}) {
        boxes.clear();
        writeFile("kept.ADI", "old");
        boxes.answerSave(path("kept"));
        boxes.answerMessage(c.answer);
        OpenLogTransferFile(".ADI", "Write");
        ASSERT_TRUE(TransferFileOpen);
        ASSERT_EQ(::write(TransferFileNumber, "new", 3), 3);
        ::close(TransferFileNumber);
        EXPECT_EQ(readFile("kept.ADI"), c.after);
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_EQ(boxes.messages()[0].style, dlg::YesNoCancel | dlg::Question);
    }
    TransferFileNumber = -1;
    TransferFileOpen = false;
}

// The program as it runs: the logbook opened by start-up, a QSO logged from the panel, and the
// Mini-Log's menu handlers calling the export and the import; no hook of the program replaced.
class TransferProgram : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ResetLinks();
        const ProgramLinks real = Links();
        fakeLinks();
        Links().FindCDDrive = real.FindCDDrive;
        Links().OpenLogbook = real.OpenLogbook;
        Links().LoadBands = real.LoadBands;
        Links().VmxClose = real.VmxClose;
        ResetLogbookWindows();
        ResetTransferViewHooks();
        Clock::install(&clock);
        LogMode = "BPSK";
        MiniLogPage = LogbookGrid();
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        Clock::install(nullptr);
        MiniLogOpen = "False";
    }
    FixedClock clock;
};

TEST_F(TransferProgram, ExportsTheLoggedQsoAndImportsItBack)
{
    ASSERT_TRUE(main().Form_Load());
    DefaultCallsign = "W1OP";   // as the settings would hold it
    MiniLogOpen = "True";       // the Mini-Log window, from whose menus the commands come, is open
    Sondrel& w = main();
    w.CallsignBox->setText("DL1ABC");
    w.NameBox->setText("Hans");
    w.RFFrequencyBox->setText("14070.15");
    LogAndClear();
    ASSERT_EQ(QSOCounter, "2");

    boxes.answerSave(home->file("mylog"));
    ExportADIF(); // mnuExportADI_Click
    QFile f(home->file("mylog.ADI"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray out = f.readAll();
    EXPECT_TRUE(out.endsWith("<OPERATOR:4>W1OP <QSO_DATE:8>20240101 <TIME_OFF:6>120000 <CALL:6>DL1ABC <NAME:4>Hans "
                             "<RST_RCVD:3>599 <RST_SENT:3>599 <MODE:4>BPSK <BAND:3>20M <FREQ:8>14.07015 "
                             "<TIME_ON:6>120000 <EOR>\r\n"))
        << out.toStdString();
    EXPECT_FALSE(TransferProgressShown());
    EXPECT_EQ(TransferProgressCaption(), "Click here to cancel export\r\nQSO with W1OP #  1");
    EXPECT_TRUE(boxes.messages().isEmpty());

    // The same file again: its QSO is in the logbook already.
    boxes.answerOpen(home->file("mylog.ADI"));
    ImportADIF(); // mnuImportADI_Click
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_TRUE(boxes.messages()[1].text.startsWith(" 1 QSOs read.   1 records could not be loaded.  Please see the "
                                                     "error file " + home->file("BAD.ADI") + " where"));
    QFile bad(home->file("BAD.ADI"));
    ASSERT_TRUE(bad.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bad.readAll().contains("Duplicate Date/Time ....\r\n<OPERATOR:4>W1OP "));
    EXPECT_EQ(MiniLogPage.cell(1, 2), "DL1ABC");
    EXPECT_FALSE(TransferProgressShown());
}

} // namespace
