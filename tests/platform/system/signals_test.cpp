#include <gtest/gtest.h>

#include "platform/system/signals.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>

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

} // namespace
