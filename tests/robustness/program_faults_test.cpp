// The program itself, with its real links, against a full disk, a folder it cannot write, files
// left by killed runs or by other programs, a taken shared block and a hostile peer.
#include "core/messages/hookmodule.h"
#include "core/receive/errors.h"
#include "core/rtty/rtty_link.h"
#include "engines/rtty/engine_window.h"
#include "main_window/sondrel.h"
#include "platform/system/events.h"
#include "platform/system/inifile.h"
#include "platform/processes/peerlink.h"
#include "platform/system/safefile.h"
#include "platform/widgets/scripted_dialogs.h"
#include "platform/processes/shared_block.h"
#include "platform/processes/winmsg.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/links.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class Program : public testing::Test {
protected:
    void SetUp() override
    {
        home = std::make_unique<TempHome>();
        events::SetProgramClosing(false);
        SpectrumHold = false;
        INIPath.clear();
        ResetLinks();
    }
    void TearDown() override
    {
        safefile::simulateFullDisk(-1, 0);
        if (Sondrel* w = Sondrel::existing())
            if (w->loaded() && !w->unloaded())
                w->Form_Unload();
        Sondrel::destroyInstance();
        home.reset();
    }
    Sondrel& main() { return Sondrel::instance(); }
    QString file(const char* name) const { return home->file(QString::fromLatin1(name)); }
    QByteArray bytes(const char* name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void put(const char* name, const QByteArray& b) const
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    QStringList boxTitles() const
    {
        QStringList t;
        for (const auto& c : boxes.messages())
            t << c.title;
        return t;
    }

    std::unique_ptr<TempHome> home;
    dlg::ScriptedDialogs boxes;
};

// Quitting with the disk full: the settings file keeps what it held, and the operator is told
// once, with the file and the cause.
TEST_F(Program, QuittingOnAFullDiskKeepsTheSettings)
{
    ASSERT_TRUE(main().Form_Load());
    const QByteArray before = bytes("Sondrel.INI");
    ASSERT_GT(before.size(), 100);
    EngineFreqParam = 1234;
    boxes.clear();
    safefile::simulateFullDisk(0, ENOSPC);
    const int failed = SettingsWriteFailures();
    main().Form_Unload();
    EXPECT_EQ(bytes("Sondrel.INI"), before);
    EXPECT_GE(SettingsWriteFailures() - failed, 2);
    ASSERT_EQ(boxTitles(), QStringList{"Settings not saved"});
    const QString text = boxes.messages()[0].text;
    EXPECT_TRUE(text.contains(INIPath)) << text.toStdString();
    EXPECT_TRUE(text.contains("Error # 61 Disk full")) << text.toStdString();
    EXPECT_TRUE(text.contains("\"Last Used Rx Audio\" of [Settings]")) << text.toStdString();
}

TEST_F(Program, AProgramFolderThatCannotBeWrittenIsToldAndFails)
{
    put("plain", "x");
    const QByteArray previous = qgetenv("SONDREL_HOME");
    const QString folder = file("plain") + QStringLiteral("/Sondrel");
    qputenv("SONDREL_HOME", QFile::encodeName(folder));
    const bool loaded = main().Form_Load();
    qputenv("SONDREL_HOME", previous);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(main().startupExitCode(), 1);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages()[0].text.startsWith("Cannot write to the program folder " + folder + ":\r\n"))
        << boxes.messages()[0].text.toStdString();
    EXPECT_EQ(MMTTYView, nullptr);
}

// Left by killed runs and by other programs: temporaries, a byte-order mark, a FIFO.
TEST_F(Program, LeftoversAndFilesThatAreNotWhatTheySeem)
{
    for (const char* f : {"Sondrel.INI.new-Ab12Cd", "Sondrel.INI.q1W2e3", "Logbook.new-Zx98Yw",
                          "Logbook.new-Zx98Yw-journal", "Sondrel.lock"})
        put(f, "stale");
    put("Sondrel.INI", "\xEF\xBB\xBF[Settings]\r\nAFC On/Off=On\r\nTX Echo=True\r\n");
    ASSERT_TRUE(main().Form_Load());
    EXPECT_EQ(QDir(home->path()).entryList({"*.new-*", "Sondrel.INI.*"}, QDir::Files), QStringList{});
    const QByteArray ini = bytes("Sondrel.INI");
    EXPECT_TRUE(ini.startsWith("[Settings]\r\nAFC On/Off=On\r\nTX Echo=True\r\n")) << ini.toStdString();
    EXPECT_EQ(ini.count("[Settings]"), 1);
    EXPECT_TRUE(QFileInfo::exists(file("Sondrel.lock")));
    main().Form_Unload();
    EXPECT_FALSE(QFileInfo::exists(file("Sondrel.lock"))); // a clean exit takes it away
    Sondrel::destroyInstance();

    QFile::remove(file("Sondrel.INI"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("Sondrel.INI")).constData(), 0600), 0);
    boxes.clear();
    ASSERT_TRUE(main().Form_Load()); // does not wait for a writer
    EXPECT_EQ(boxTitles(), QStringList{"Settings not loaded"});
    EXPECT_TRUE(boxes.messages()[0].text.contains(file("Sondrel.INI")));
    EXPECT_FALSE(QFileInfo(file("Sondrel.INI")).isFile());
}

// Messages that name the file and the key and say what to do.
TEST_F(Program, MessagesNameTheFileAndTheKey)
{
    put("Sondrel.INI", "[Settings]\r\nAFC On/Off=On\r\n[Radio Control]\r\nPoll Interval=-1\r\n");
    ASSERT_TRUE(QFile::link(file("gone/Logbook.db"), file("Logbook")));
    ASSERT_TRUE(main().Form_Load());
    const auto messages = boxes.messages();
    QString logbook, poll;
    for (const auto& m : messages) {
        if (m.text.startsWith("Logbook Error = "))
            logbook = m.text;
        if (m.title == ".INI Error")
            poll = m.text;
    }
    EXPECT_EQ(logbook, "Logbook Error = The file already exists\r\n\r\nLogbook file: " + file("Logbook")
                           + "\r\nIt is a link to " + file("gone/Logbook.db")
                           + ", which does not exist: restore that file, or remove the link so that "
                             "Sondrel starts a new logbook.");
    EXPECT_TRUE(poll.startsWith("Error reading 'Radio Control' part of the .INI file.  Poll Interval=-1 does not "
                                "appear to be a valid entry\r\n\r\nSettings file: "
                                + file("Sondrel.INI")))
        << poll.toStdString();
    EXPECT_EQ(RadioPollInterval, 500);
    for (const auto& m : messages)
        EXPECT_FALSE(m.text.contains("380")) << m.text.toStdString();
}

// A box that, as a real one does, handles the queued messages while it is open.
class PumpingBoxes : public dlg::ScriptedDialogs {
public:
    int message(const QString& text, int style, const QString& title) override
    {
        const int answer = ScriptedDialogs::message(text, style, title);
        // Open until the operator has had time to read it: here, until `read` says so.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!read || read())
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        return answer;
    }
    std::function<bool()> read;
};

// A flood of engine errors: one box, the others counted; from a peer, the peer is cut off.
TEST_F(Program, ErrorFloodsOpenOneBox)
{
    auto owned = std::make_unique<PumpingBoxes>();
    PumpingBoxes& pumping = *owned;
    struct Back { dlg::ScriptedDialogs& boxes; std::unique_ptr<PumpingBoxes>& owned;
        ~Back() { owned.reset(); dlg::Dialogs::install(&boxes); } } back{boxes, owned};
    ASSERT_TRUE(main().Form_Load());
    const int counted = CountedErrorReports();
    // The box stays open while reports keep coming (checked every 10 ms).
    int last = -1, quiet = 0;
    pumping.read = [&] {
        const int now = CountedErrorReports();
        quiet = now == last ? quiet + 1 : 0;
        last = now;
        return quiet >= 20;
    };
    for (int n = 0; n < 3000; ++n)
        win::PostMessage(MainWindowHandle, 2026, 99, 0);
    waitUntil([] { return false; }, 200);
    QStringList titles;
    for (const auto& m : pumping.messages())
        titles << m.title;
    // One box (a report that comes just as it closes may open one more), every other report
    // counted: never a box inside a box.
    EXPECT_GE(titles.size(), 1);
    EXPECT_LE(titles.size(), 2);
    EXPECT_EQ(titles.filter("DLL Error  99").size(), titles.size());
    EXPECT_EQ(CountedErrorReports() - counted + titles.size(), 3000);
    const int shown = titles.size();

    ASSERT_TRUE(EnsurePeerServer());
    QLocalSocket hostile;
    hostile.connectToServer(peer::PeerServer::defaultName());
    ASSERT_TRUE(hostile.waitForConnected(2000));
    peer::Frame hello;
    hello.type = peer::FrameType::Hello;
    hello.wParam = peer::kProtocol;
    hostile.write(peer::encode(hello));
    peer::Frame status;
    status.type = peer::FrameType::Post;
    status.target = MainWindowHandle;
    status.message = 2026;
    status.wParam = 99;
    for (int n = 0; n < 3000; ++n)
        hostile.write(peer::encode(status));
    hostile.flush();
    EXPECT_TRUE(waitUntil([&] { return hostile.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(pumping.messages().size(), shown);
    EXPECT_TRUE(MainWindowHooked());
}

// Someone else made the shared block's name first: start-up goes on under a fresh name, and
// the real RTTY engine, started with that name, reaches the block.
TEST_F(Program, ASharedBlockNameTakenBySomeoneElse)
{
    const QByteArray object = QFile::encodeName(SharedBlock::objectName(QStringLiteral("MMTTY")));
    ::shm_unlink(object.constData());
    const int fd = ::shm_open(object.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    if (::geteuid() == 0)
        ASSERT_EQ(::fchown(fd, 65534, 65534), 0);
    else
        ASSERT_EQ(::fchmod(fd, 0), 0);
    ::close(fd);

    ASSERT_TRUE(main().Form_Load());
    EXPECT_TRUE(boxes.messages().isEmpty());
    EXPECT_TRUE(MMTTYBlockName.startsWith(QFile::decodeName(object) + u'-'));
    if (QFileInfo(RttyEngineProgram()).isExecutable()) {
        int number = 0;
        QString description;
        ASSERT_TRUE(StartEngineProcess(QStringLiteral("MMTTY.EXE -m -p"), number, description, 20000));
        const QString title = rtty::EngineTitle(MMTTYView);
        EXPECT_TRUE(waitUntil([&] { return win::FindWindow(title) != 0; }, 20000));
        win::PostMessage(win::FindWindow(title), MMTTYMessage, 2, 0);
        waitUntil([&] { return win::FindWindow(title) == 0; }, 5000);
    }
    ::shm_unlink(object.constData());
}

} // namespace
