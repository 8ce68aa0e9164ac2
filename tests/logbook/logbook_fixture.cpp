#include "logbook_fixture.h"

#include <QComboBox>
#include <QLineEdit>

void LogbookFixture::SetUp()
{
    MainWindowFixture::SetUp();
    Clock::install(&clock);
    ResetLogbookWindows();
    LogbookWindowHooks& h = LogbookWindows();
    auto note = [this](const char* name) { return [this, name] { hooks << QString::fromLatin1(name); }; };
    h.ShowMiniLog = note("ShowMiniLog");
    h.ShowPreviousPage = note("ShowPreviousPage");
    h.UnloadCDDisplay = note("UnloadCDDisplay");
    h.DoCDLookup = note("DoCDLookup");
    h.MiniLogPageChanged = note("MiniLogPageChanged");
    h.PreviousPageChanged = note("PreviousPageChanged");

    DefaultCallsign = QStringLiteral("W1OP");
    LogMode = QStringLiteral("BPSK");
    QSOCounter.clear();
    QSOOffsetCounter = 0;
    UTCOffsetDays = 0;
    MiniLogOpen = PreviousPageOpen = QStringLiteral("False");
    NewQSO = QSORecord();
    CurrentQSO = QSORecord();
    PreviousQSOs = {};
    PreviousQSOCall.clear();
    OtherName.clear();
    QSOComment.clear();
    MyRST.clear();
    HisRST.clear();
    MiniLogPage = LogbookGrid();
    PreviousQSOsPage = LogbookGrid();
    LogbookAccessCode = QStringLiteral("QH71MZTRA4B9KX20PE");
    OpenLogbook();
    ASSERT_EQ(LogbookStatus, 0);
    main();
    hooks.clear();
}

void LogbookFixture::TearDown()
{
    VmxClose(LogbookHandle);
    LogbookHandle = 0;
    MainWindowFixture::TearDown();
    ResetLogbookWindows();
    Clock::install(nullptr);
}

void LogbookFixture::putQso(const QString& call, double day, const QString& op, const QString& name,
                            const QString& band)
{
    QSORecord r;
    r[fCallsign] = call;
    r[fOperator] = op;
    r[fBand] = band;
    r[fMode] = QStringLiteral("BPSK");
    r[fName] = name;
    r[fQTH] = QStringLiteral("QTH of ") + name;
    r[fNotes] = QStringLiteral("notes ") + name;
    ASSERT_EQ(LogbookPut(QSOKeyText(day), r, VmxAdd), 0);
}

QSORecord LogbookFixture::stored(const QString& key)
{
    QSORecord r;
    EXPECT_EQ(LogbookGet(0, VmxGetEqual, key, r), 0) << key.toStdString();
    return r;
}

QStringList LogbookFixture::messageTexts() const
{
    QStringList out;
    for (const dlg::BoxCall& c : boxes.messages())
        out << c.text;
    return out;
}

void LogbookFixture::fillPanel(const QString& call)
{
    Sondrel& w = main();
    w.CallsignBox->setText(call);
    w.NameBox->setText(QStringLiteral("Hans"));
    w.QTHBox->setText(QStringLiteral("Bonn"));
    w.MyRSTBox->setText(QStringLiteral("579"));
    w.HisRSTBox->setText(QStringLiteral("589"));
    w.NotesBox->setText(QStringLiteral("first QSO"));
    w.BandBox->setEditText(QStringLiteral("20"));
}
