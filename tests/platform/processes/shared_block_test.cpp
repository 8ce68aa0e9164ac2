#include "platform/processes/shared_block.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kSize = 21204;

TEST(SharedBlock, NameIsScopedByUserAndFolder)
{
    QString first, second;
    {
        TempHome home;
        first = SharedBlock::objectName(QStringLiteral("MMTTY"));
    }
    {
        TempHome home;
        second = SharedBlock::objectName(QStringLiteral("MMTTY"));
    }
    const QRegularExpression form(QStringLiteral("^/sondrel-%1-[0-9a-f]{8}-MMTTY$").arg(::getuid()));
    EXPECT_TRUE(form.match(first).hasMatch()) << first.toStdString();
    EXPECT_NE(first, second);
    EXPECT_FALSE(SharedBlock::objectName(QStringLiteral("a/b")).contains(QStringLiteral("a/b")));
}

TEST(SharedBlock, TwoSidesSeeOneBlock)
{
    TempHome home;
    SharedBlock program(QStringLiteral("MMTTY"), kSize);
    SharedBlock engine(QStringLiteral("MMTTY"), kSize);
    EXPECT_FALSE(engine.attach()); // nothing to attach to yet
    ASSERT_TRUE(program.create());
    auto* p = static_cast<unsigned char*>(program.data());
    std::memset(p, 0, kSize);
    std::memcpy(p + 132, "COM3", 4);
    p[kSize - 1] = 0x5A;

    ASSERT_TRUE(engine.attach());
    auto* e = static_cast<unsigned char*>(engine.data());
    EXPECT_EQ(std::memcmp(e + 132, "COM3", 4), 0);
    EXPECT_EQ(e[kSize - 1], 0x5A);
    e[12500] = 'P';
    EXPECT_EQ(p[12500], 'P');

    SharedBlock bigger(QStringLiteral("MMTTY"), kSize * 2);
    EXPECT_FALSE(bigger.attach()); // would map past its end

    EXPECT_TRUE(program.unmap());
    EXPECT_FALSE(program.unmap());
    program.close(); // the name goes; the engine's view stays valid
    EXPECT_EQ(e[12500], 'P');
    SharedBlock late(QStringLiteral("MMTTY"), kSize);
    EXPECT_FALSE(late.attach());
}

TEST(SharedBlock, StaleBlockIsReusedAndClosed)
{
    TempHome home;
    const QByteArray name = QFile::encodeName(SharedBlock::objectName(QStringLiteral("MMTTY")));
    // What a crashed run leaves behind: a block that nobody removed, here too small and open
    // to others.
    {
        const int fd = ::shm_open(name.constData(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::fchmod(fd, 0644), 0);
        ASSERT_EQ(::ftruncate(fd, 100), 0);
        void* m = ::mmap(nullptr, 100, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ASSERT_NE(m, MAP_FAILED);
        static_cast<char*>(m)[0] = 'S';
        ::munmap(m, 100);
        ::close(fd);
    }
    SharedBlock block(QStringLiteral("MMTTY"), kSize);
    ASSERT_TRUE(block.create());
    EXPECT_EQ(static_cast<char*>(block.data())[0], 'S');
    static_cast<char*>(block.data())[kSize - 1] = 'E'; // the whole size is usable

    const int fd = ::shm_open(name.constData(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    struct stat st {};
    ASSERT_EQ(::fstat(fd, &st), 0);
    ::close(fd);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(static_cast<std::size_t>(st.st_size), kSize);
}

} // namespace
