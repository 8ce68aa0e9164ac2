#include "platform/system/signals.h"

#include "platform/system/ptt_guard.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
int g_watch[2] = {-1, -1};

// Only async-signal-safe work here: one byte into each non-blocking socket (a full one already
// holds a wake-up), and errno left as the interrupted code had it.
void onSignal(int)
{
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &c, 1);
    n = ::write(g_watch[1], &c, 1);
    errno = saved;
}

// Waits for a termination signal or the start of the shut-down; if the shut-down has not
// released the transmitter by the deadline (the event loop or an engine is stuck), releases it
// directly from this thread.
void watch()
{
    char buf[256];
    for (;;) {
        pollfd p{g_watch[0], POLLIN, 0};
        if (::poll(&p, 1, -1) < 0 && errno != EINTR)
            return;
        if (::read(g_watch[0], buf, sizeof buf) <= 0)
            continue;
        std::this_thread::sleep_for(std::chrono::milliseconds(kDirectReleaseMs));
        while (::read(g_watch[0], buf, sizeof buf) > 0) {
        }
        pttguard::releaseAll();
    }
}

struct sigaction g_previous[NSIG];

// A crash: what still keys the transmitter is released, then the signal goes where it went
// before (the default action, or a sanitizer's report).
void onFatalSignal(int sig, siginfo_t* info, void* context)
{
    pttguard::releaseAllFromSignalHandler();
    const struct sigaction& previous = g_previous[sig];
    if ((previous.sa_flags & SA_SIGINFO) && previous.sa_sigaction) {
        previous.sa_sigaction(sig, info, context);
        return;
    }
    if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(sig);
        return;
    }
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

bool makePair(int fds[2])
{
    // Non-blocking, and not inherited by the processes the program starts.
    return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) == 0;
}

} // namespace

void StartReleaseDeadline()
{
    if (g_watch[1] >= 0) {
        const char c = 1;
        [[maybe_unused]] ssize_t n = ::write(g_watch[1], &c, 1);
    }
}

void CloseOnTerminationSignals(std::function<void()> close)
{
    if (g_pipe[0] >= 0 || !makePair(g_pipe) || !makePair(g_watch))
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
    std::thread(watch).detach();
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);

    struct sigaction fatal {};
    fatal.sa_sigaction = onFatalSignal;
    sigemptyset(&fatal.sa_mask);
    fatal.sa_flags = SA_SIGINFO;
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(sig, &fatal, &g_previous[sig]);
}
