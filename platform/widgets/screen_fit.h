#pragma once
// Windows and dialogs on the screen they open on: never larger than its free area, never with a
// title bar or a button off its edges.
#include <QMargins>
#include <QRect>

class QWidget;

// A window's inside, given its frame's margins, moved and if need be shrunk so that the whole
// framed window lies inside `available`. A window that fits already is left where it is.
QRect FitInside(const QRect& inside, const QMargins& frame, const QRect& available);

// The window system's frame around a shown window; before it is shown, the usual title bar and
// border.
QMargins FrameMargins(const QWidget& window);

// The free area of the screen a window is on (its parent's screen before it is shown).
QRect AvailableScreenArea(const QWidget& window);

// Keeps a top-level window on its screen (see FitInside); the frame is the window system's own
// once the window is shown, else an estimate.
void FitOnScreen(QWidget& window);

// A dialog at its natural size, in the middle of its screen, fitted to it.
void CentreOnScreen(QWidget& dialog);
// A dialog about to open: one that placed itself stays there, one that did not goes to the
// middle of its screen (at the size it was given, else its natural size); either is fitted.
void PlaceOnScreen(QWidget& dialog);
