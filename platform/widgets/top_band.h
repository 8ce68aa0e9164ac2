#pragma once
// The window system's top-most band: windows in it stay above every window outside it.
class QWidget;

// Puts a top-level window into the band or takes it out. The window stays the same native window:
// a shown one only has its state changed by the window system, so it is not hidden, not moved,
// and the windows it owns stay owned by it. (Changing a shown widget's window flags would make
// its native window anew.)
void SetStaysOnTop(QWidget& window, bool onTop);
