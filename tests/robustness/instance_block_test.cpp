#include "platform/processes/shared_block.h"
#include "platform/processes/single_instance.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(Instance, TheLockFileGoesAtACleanExitAndAStaleOneIsTakenOver)
{
    QTemporaryDir dir;
    const QString lock = dir.filePath("Sondrel.lock");
    {
        QFile stale(lock); // left by a killed run, with its dead process id
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("999999\n");
    }
    {
        SingleInstance first(dir.path());
        ASSERT_TRUE(first.acquire());
        SingleInstance second(dir.path());
        EXPECT_FALSE(second.acquire());
        EXPECT_EQ(second.failure(), SingleInstance::Failure::Held);
        EXPECT_TRUE(QFileInfo::exists(lock)); // the refused second start leaves it
    }
    EXPECT_FALSE(QFileInfo::exists(lock));
    SingleInstance again(dir.path());
    EXPECT_TRUE(again.acquire());
}

TEST(Instance, AFolderThatCannotBeWrittenIsNotASecondInstance)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    struct Row {
        const char* what;
        QString folder;
    };
    std::vector<Row> rows = {{"below a file", dir.filePath("plain/Sondrel")}};
    const QString readOnly = dir.filePath("ro");
    if (::geteuid() != 0) { // the superuser writes anywhere
        ASSERT_EQ(::mkdir(QFile::encodeName(readOnly).constData(), 0500), 0);
        rows.push_back({"read-only", readOnly});
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        SingleInstance lock(r.folder);
        EXPECT_FALSE(lock.acquire());
        EXPECT_EQ(lock.failure(), SingleInstance::Failure::CannotCreate);
        EXPECT_NE(lock.error(), 0);
    }
}

// Another user made the block's name first: a fresh, unguessable name is used instead, and a
// peer started with that name reaches the same block.
TEST(SharedBlockName, TakenBySomeoneElse)
{
    const QString name = QStringLiteral("taken-%1").arg(::getpid());
    const QByteArray object = QFile::encodeName(SharedBlock::objectName(name));
    ::shm_unlink(object.constData());
    const int fd = ::shm_open(object.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    // Not ours to use: owned by someone else (as the superuser can arrange), or closed to us.
    if (::geteuid() == 0)
        ASSERT_EQ(::fchown(fd, 65534, 65534), 0);
    else
        ASSERT_EQ(::fchmod(fd, 0), 0);
    ::close(fd);

    SharedBlock block(name, 4096);
    ASSERT_TRUE(block.create());
    EXPECT_NE(block.fullName(), SharedBlock::objectName(name));
    EXPECT_TRUE(block.fullName().startsWith(SharedBlock::objectName(name) + u'-'));
    EXPECT_GE(block.fullName().size(), SharedBlock::objectName(name).size() + 33);
    static_cast<char*>(block.data())[0] = 'Z';

    SharedBlock second(name, 4096); // a second try gets another fresh name
    ASSERT_TRUE(second.create());
    EXPECT_NE(second.fullName(), block.fullName());

    const QStringList args = {"-m", "-p", "--block", block.fullName()};
    SharedBlock peer(SharedBlock::nameArgument(args, name), 4096);
    ASSERT_TRUE(peer.attach());
    EXPECT_EQ(static_cast<char*>(peer.data())[0], 'Z');
    EXPECT_EQ(SharedBlock::nameArgument({"-m", "-p"}, QStringLiteral("MMTTY")), QStringLiteral("MMTTY"));
    ::shm_unlink(object.constData());
}

TEST(SharedBlockName, OurOwnStaleBlockIsReused)
{
    const QString name = QStringLiteral("stale-%1").arg(::getpid());
    const QByteArray object = QFile::encodeName(SharedBlock::objectName(name));
    const int fd = ::shm_open(object.constData(), O_RDWR | O_CREAT, 0600); // left by a crash
    ASSERT_GE(fd, 0);
    ::close(fd);
    SharedBlock block(name, 4096);
    ASSERT_TRUE(block.create());
    EXPECT_EQ(block.fullName(), SharedBlock::objectName(name));
    block.close();
    EXPECT_LT(::shm_open(object.constData(), O_RDONLY, 0), 0); // gone with a clean close
}

} // namespace
