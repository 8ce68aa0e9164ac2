#pragma once
// The logbook's windows: the Mini-Log window and the previous-QSO window unloaded, and the links
// through which the rest of the logbook reaches them (logbook/store/window_links.h).
#include "logbook/store/window_links.h"

// Unloads the Mini-Log window / the previous-QSO window when loaded (the mini-log or standalone
// switched off, shut-down). A close during shut-down records the window as open for the next start.
void UnloadMiniLog();
void UnloadPreviousPage();
