#pragma once
// On SIGTERM or SIGINT, runs `close` on the event loop (not in the signal handler), so the
// program's normal shut-down runs and nothing is lost when the desktop session ends.
#include <functional>
void CloseOnTerminationSignals(std::function<void()> close);
