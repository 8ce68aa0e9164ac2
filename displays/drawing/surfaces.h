#pragma once
// The drawing surfaces of the windows that come and go: the three tuning windows (channel 0 the
// main one, 1 and 2 the auxiliary ones) and the readout boxes of the two auxiliary channel
// windows. A window puts its controls here when it loads; each pointer clears itself when its
// control is destroyed, and the displays draw only into what is there.
#include "platform/widgets/picturebox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <cstdint>

struct TuningSurfaces {
    QPointer<PictureBox> ScopePic;     // zoomed spectrum; its picture is the off-screen buffer
    QPointer<PictureBox> VectorScope;  // phase scope; the main window's also shows the XY scope
    QPointer<PictureBox> Receive;      // signal bar
    QPointer<PictureBox> YellowFiller; // the bar above the squelch threshold
    QPointer<PictureBox> RedFiller;    // the bar at or below it
    QPointer<QLabel> IMD;              // IMD readout
    std::int32_t spectrumPen = 65280;  // zoomed spectrum colour (Windows RGB)
    std::int32_t vectorPen = 0;        // phase scope colour, left by the last bar step
};

struct AuxReadoutBoxes {
    QPointer<QLineEdit> AuxStatusBarAudioFreq;
    QPointer<QLineEdit> AuxStatusBarRFFreq;
    QPointer<QLineEdit> AuxStatusBarIMD;
};

// channel 0..2; any other number gives an empty set that is never drawn.
TuningSurfaces& TuningSurface(int channel);
// channel 1..2; any other number gives an empty set.
AuxReadoutBoxes& AuxReadouts(int channel);
// Forgets every registered surface (tests).
void ClearSurfaces();

// Whether a channel's tuning window is shown: the main one while "Show Tuning Window" is
// checked, the auxiliary ones while their open flags are set.
bool TuningWindowShown(int channel);
