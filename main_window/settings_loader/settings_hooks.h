#pragma once
// What the settings loader and the menu commands reach in windows that are built elsewhere.
// Menu handlers of other parts are reached through their menu items (RestoreSwitch and Choose
// in settings/appliers.h), so a part that attaches its handler needs no wiring here; the rest
// are replaceable functions whose defaults reach the real windows.
#include <QSize>
#include <functional>

struct SettingsHookTable {
    // The logbook's Mini-Log window and previous-QSO window unloaded (the mini-log switched off).
    std::function<void()> UnloadMiniLog;
    std::function<void()> UnloadPreviousPage;
    // The screen's size in twips, which bounds the main window's stored size.
    std::function<QSize()> ScreenTwips;
};

SettingsHookTable& SettingsHooks();
// Puts the defaults back (tests).
void ResetSettingsHooks();
