#pragma once
// The RTTY engine's notifications (registered message "MMTTY", 0x8000 + code) as the window
// procedure hands them on, and the display of the engine's switch word.
#include <cstdint>

#include "core/receive/notifications.h"

void HandleMMTTYNotification(std::int32_t code, std::int32_t lParam);

// Shows the RTTY switch word (MMTTYFlags) on the main window; changes only what differs.
void ShowMMTTYSwitches();
