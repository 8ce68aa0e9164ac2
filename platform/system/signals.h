#pragma once
// On SIGTERM, SIGINT or SIGHUP (the terminal closed), runs `close` on the event loop (not in the
// signal handler), so the program's normal shut-down runs and nothing is lost when the desktop
// session ends. Should the shut-down not have released the transmitter kDirectReleaseMs after
// the first signal (the event loop is stuck), what still keys it (platform/system/ptt_guard.h)
// is released directly from another thread. A crash (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT)
// releases it too before the signal takes its course.
#include <functional>

constexpr int kDirectReleaseMs = 700;

void CloseOnTerminationSignals(std::function<void()> close);

// The shut-down has begun by another way (File > Exit, the window closed): the same deadline
// applies. Nothing happens before CloseOnTerminationSignals.
void StartReleaseDeadline();
