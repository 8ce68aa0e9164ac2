#include <gtest/gtest.h>

#include "platform/system/ptt_guard.h"
#include "platform/system/signals.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(TerminationSignals, ABurstClosesOnceAndNeverBlocksTheHandler)
{
    static int closes = 0; // the handler stays installed for the rest of the run
    CloseOnTerminationSignals([] { ++closes; });
    // Far more signals than the wake-up socket holds: the handler must neither block nor
    // change errno under the code it interrupted.
    for (int i = 0; i < 20000; ++i) {
        errno = EINTR;
        std::raise(i % 2 ? SIGTERM : SIGINT);
        ASSERT_EQ(errno, EINTR) << "after signal " << i;
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(closes, 1);
    std::raise(SIGTERM);
    QCoreApplication::processEvents();
    EXPECT_EQ(closes, 2);
}

// The normal shut-down cannot run (the event loop is stuck after a termination signal, or the
// program crashes): the radio keyed by a command is released directly all the same.
TEST(TerminationSignals, TransmitterReleasedWhenTheShutDownCannotRun)
{
    CloseOnTerminationSignals([] {});
    for (const bool crash : {false, true}) {
        const int radio = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(radio, 0);
        ASSERT_EQ(::grantpt(radio), 0);
        ASSERT_EQ(::unlockpt(radio), 0);
        const int port = ::open(::ptsname(radio), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(port, 0);
        pid_t child = -1;
        if (crash) {
            child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                pttguard::setReleaseCommand(port, "RX;");
                std::abort();
            }
        } else {
            pttguard::setReleaseCommand(port, "RX;");
            std::raise(SIGTERM);
        }
        QByteArray wire;
        for (int waited = 0; waited < 3000 && !wire.contains("RX;"); waited += 10) {
            pollfd p{radio, POLLIN, 0};
            char buf[16];
            if (::poll(&p, 1, 10) > 0)
                wire.append(buf, std::max<ssize_t>(0, ::read(radio, buf, sizeof buf)));
        }
        EXPECT_EQ(wire, QByteArray("RX;")) << (crash ? "crash" : "stuck");
        if (crash) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT);
        } else {
            EXPECT_FALSE(pttguard::keyed());
        }
        pttguard::forget(port);
        ::close(port);
        ::close(radio);
    }
}

} // namespace
