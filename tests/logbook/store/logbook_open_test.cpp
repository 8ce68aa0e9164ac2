#include "support/main_window_fixture.h"

#include "logbook/exchange/import_export.h"
#include "logbook/logbook_services.h"
#include "logbook/store/database.h"
#include "platform/system/inifile.h"
#include "platform/system/places.h"
#include "platform/widgets/menuitem.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace {

// Start-up and shut-down with the real logbook links.
class LogbookOpen : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        // The program's own logbook links; the engine and the radio stay faked.
        ResetLinks();
        const ProgramLinks real = Links();
        fakeLinks();
        Links().FindCDDrive = real.FindCDDrive;
        Links().OpenLogbook = real.OpenLogbook;
        Links().LoadBands = real.LoadBands;
        Links().VmxClose = real.VmxClose;
        QSOCounter.clear();
        LogbookStatus = -1;
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        VmxClose(LogbookHandle);
        LogbookHandle = 0;
    }
    QString logbook() const { return home->file("Logbook"); }
};

TEST_F(LogbookOpen, AFirstStartCreatesTheLogbookAndFillsTheBands)
{
    ASSERT_FALSE(QFile::exists(logbook()));
    ASSERT_TRUE(main().Form_Load());
    EXPECT_TRUE(QFile::exists(logbook()));
    EXPECT_EQ(LogbookStatus, 0);
    EXPECT_EQ(QSOCounter, "1");
    QComboBox* band = main().BandBox;
    QStringList list;
    for (int i = 0; i < band->count(); ++i)
        list << band->itemText(i);
    EXPECT_EQ(list, QStringList({"2", "6", "10", "12", "15", "17", "20", "30", "40", "80", "160"}));
    EXPECT_EQ(band->currentText(), "20");
    EXPECT_EQ(CurrentBand, "20");
    EXPECT_TRUE(CDDrive == "None" || CDDrive.startsWith('/')) << CDDrive.toStdString();
    EXPECT_TRUE(boxes.calls().isEmpty());

    const std::int32_t handle = LogbookHandle;
    main().Form_Unload();
    EXPECT_EQ(LogbookStatus, 0);
    VmxInfoRecord info;
    EXPECT_EQ(VmxInfo(handle, info), VmxBadHandle); // closed
}

TEST_F(LogbookOpen, TheCounterFollowsTheRecordCount)
{
    ASSERT_EQ(VmxCreate(QFile::encodeName(logbook()).toStdString(), 20, 0, 0, 0, kLogbookFieldSpec), 0);
    std::int32_t h = 0;
    ASSERT_EQ(VmxOpen(QFile::encodeName(logbook()).toStdString(), 1, 1, h, ""), 0);
    for (int i = 0; i < 57; ++i)
        ASSERT_EQ(VmxPut(h, QSOKeyText(45000 + i).toStdString(), VmxRecord{"K1AB"}, VmxAdd), 0);
    ASSERT_EQ(VmxClose(h), 0);
    ASSERT_TRUE(main().Form_Load());
    EXPECT_EQ(QSOCounter, "58");
    QSOOffsetCounter = 8;
    ShowQSOCounter();
    EXPECT_EQ(main().mnu("mnuSerialNum").caption(), "QSO # 50");
    QSOOffsetCounter = 0;
}

TEST_F(LogbookOpen, AFileThatIsNotALogbookIsReportedAndLeftAlone)
{
    QFile f(logbook());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("my own notes, not a logbook\r\n");
    f.close();
    QSOCounter = QStringLiteral("9");
    ASSERT_TRUE(main().Form_Load());
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text,
              "Logbook Error = " + QString::fromStdString(VmxReturnCode(LogbookStatus)) + "\r\n\r\nLogbook file: "
                  + logbook() + "\r\nMove the file elsewhere (keep it: it may hold your QSOs); Sondrel then starts a "
                                "new logbook.");
    EXPECT_NE(LogbookStatus, 0);
    EXPECT_NE(LogbookStatus, VmxFileMissing);
    EXPECT_EQ(QSOCounter, "9");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("my own notes, not a logbook\r\n"));
}

unsigned modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST_F(LogbookOpen, TheProgramFolderAndItsFilesAreTheOperatorsAlone)
{
    const mode_t mask = ::umask(022);
    const struct {
        const char* what;
        QString folder;
        unsigned before, after; // the folder's mode; 0: there is none yet
    } cases[] = {
        {"made by the program", home->file("data/Sondrel"), 0, 0700},
        {"made by the operator", home->path(), 0755, 0755},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.before) {
            ASSERT_EQ(::chmod(QFile::encodeName(c.folder).constData(), c.before), 0);
        }
        qputenv("SONDREL_HOME", QFile::encodeName(c.folder));
        ASSERT_TRUE(main().Form_Load());
        // Every file the program writes there: settings, logbook, BAD.ADI, the engine's profiles.
        const QString in = places::programFile("in.ADI");
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<EOH><QSO_DATE:8>20240101 <CALL:4>K1AB <EOR>");
        f.close();
        boxes.answerOpen(in);
        ImportADIF();
        ASSERT_TRUE(ini::write(places::programFile("UserPara.INI"), "Define0", "Name", "RTTY 170"));

        EXPECT_EQ(modeOf(c.folder), c.after);
        const QStringList files = QDir(c.folder).entryList(QDir::Files | QDir::Hidden);
        for (const char* name : {"Sondrel.INI", "Logbook", "BAD.ADI", "UserPara.INI", "Sondrel.lock"})
            EXPECT_TRUE(files.contains(name)) << name;
        for (const QString& name : files)
            if (name != "in.ADI") {
                EXPECT_EQ(modeOf(QDir(c.folder).filePath(name)), 0600u) << name.toStdString();
            }
        main().Form_Unload();
        VmxClose(LogbookHandle);
        Sondrel::destroyInstance();
    }
    ::umask(mask);
}

} // namespace
