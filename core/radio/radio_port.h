#pragma once
// The radio control component's serial port: set up and opened from the stored settings, opened
// and closed from the menu, and the component's debug window.
#include <QString>
#include <QVariant>

struct MainWindowControls;

// Configures the radio port from the settings in force and opens it. Does nothing while no port
// is chosen. The component shows its own errors; every step is tried whatever the one before
// it gave, except that the line settings stop at the first refusal.
void SetupRadioPort();

// "Radio control options": the settings dialog, modal.
void mnuRadioControl_Click();
// "Change radio port state": opens a closed port, closes an open one (nothing without a port).
void mnuPortState_Click();
// "Radio debug window": shows or hides the component's debug monitor.
void mnuShowRadioDebug_Click();

// With PTT "By Command", the keying line(s) of the radio port are dropped, so the radio does
// not key while the port opens. Leaves the last result in APIResult (1 when nothing dropped).
void DropRadioPTTLines();

// One call to the component with one argument; the result as a number (0 for a failure or no
// component).
int RigNumber(const QString& member, const QVariant& arg);

// Attaches the radio handlers to the main window: radio settings, presets, split, Logger link,
// standalone.
void ConnectRadioControl(MainWindowControls& w);
