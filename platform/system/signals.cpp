#include "platform/system/signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into a non-blocking socket (a full one already
// holds a wake-up), and errno left as the interrupted code had it.
void onSignal(int)
{
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &c, 1);
    errno = saved;
}

} // namespace

void CloseOnTerminationSignals(std::function<void()> close)
{
    // Non-blocking, and not inherited by the processes the program starts.
    if (g_pipe[0] >= 0
        || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [close] {
        // Every signal that has arrived so far asks for the same one close.
        char buf[256];
        while (::read(g_pipe[0], buf, sizeof buf) > 0) {
        }
        close();
        QApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}
