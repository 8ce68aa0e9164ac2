#pragma once
// A window that belongs to the main window (a logbook page, a callbook result): owned by it, so
// it stays above it and goes with it, and placed where it hides the main window least.
class QWidget;

// Shows `window` owned by `owner` (with no owner, on its own). The first time it is shown, a
// window whose place was stored stays there, brought onto its screen when it lies off it; one
// without a stored place goes beside or below the owner, wholly on the owner's screen, where it
// covers the owner least and then the owner's other windows least. A shown window is only
// brought forward.
void ShowOwnedWindow(QWidget& window, QWidget* owner, bool hasStoredPlace);
