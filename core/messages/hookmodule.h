#pragma once
// The main window's message hook: engine, RTTY engine and Logger notifications arrive here.
#include <cstdint>
#include <optional>

// Installs the hook on the main window (after both registered messages are known).
void HookMainWindow();
// Removes it again (shut-down, before the logbook is closed).
void UnhookMainWindow();
bool MainWindowHooked();

// Handles one message; a value when handled (then it goes no further).
std::optional<std::intptr_t> MainWindowProc(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);

// What ending the program after a failed engine start releases before the process goes: the
// window hook and the logbook; the shared block goes with the process's own clean-up.
void ReleaseBeforeEnd();
