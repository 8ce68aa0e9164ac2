#pragma once
// The macro buttons of the main window: a release sends the button's macro (or, with the right
// button, opens the macro editor), the one-second repeat of a looping macro and its stop, and
// the menu that shows 0, 12, 24 or 36 of them, and the buttons of a mode's macro set.
#include <QString>

struct MainWindowControls;

// A mouse button pressed on macro button `index`: pressed text colour, and a repeat is stopped.
void Command1_MouseDown(int index, int button, int shift, int x, int y);
// Released: the right button (2) opens the editor for the button; any other (0 from the function
// keys and the repeat timer) sends its macro.
void Command1_Mouseup(int index, int button, int shift, int x, int y);
// The repeat's one-second tick.
void Timer1_Timer();
// Stops a repeat: no countdown, no button, timer off, the transmit window's own back colour.
void BreakMacroLoop();

// "0/12/24/36 Macro buttons": rows shown, check marks, layout, [Form View] "Macro Buttons".
void mnuNoMacros_Click();
void mnu12Macros_Click();
void mnu24Macros_Click();
void mnu36Macros_Click();

// The 36 macro buttons of a mode from the settings file ("Macro" or "RTTY Macro").
void LoadMacroSet(const QString& section);

// Attaches the macro buttons, their repeat and rows to the main window.
void ConnectMacroButtons(MainWindowControls& w);
