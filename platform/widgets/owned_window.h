#pragma once
// A window that belongs to the main window (a logbook page, a callbook result): owned by it, so
// it stays above it and goes with it, and placed where it hides the main window least.
class QWidget;

// Shows `window` owned by `owner` (with no owner, on its own). The first time it is shown, a
// window whose place was stored stays there when its inside lies on a screen (its frame brought
// onto it); one without a stored place, or with one off the screens, goes beside or below the
// owner, wholly on the owner's screen, where it covers the owner least and then the owner's
// other windows least. A shown window is only brought forward. The window system keeps an owned
// window with its owner only for tool and dialog windows: give owned windows one of those types.
void ShowOwnedWindow(QWidget& window, QWidget* owner, bool hasStoredPlace);
