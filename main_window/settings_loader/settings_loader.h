#pragma once
// The start-up loader's groups, in load order. Each reads its keys and applies each at once;
// a value that does not convert throws and so ends the load (see LoadAllSettings).
#include <QString>

// Builds INIPath, then loads every setting, or writes the first-run file when there is none,
// or loads nothing when the file cannot be read.
void LoadSettings();
// First start: stores "AFC On/Off" = "On" (which creates the file), then loads every setting.
void CreateDefaultINI();
// The start-up loader: reads every key in its fixed order and applies it.
void LoadAllSettings();

namespace loader {

// One key by the common read convention (short buffer, blanks and NULs stripped).
QString Read(const char* section, const QString& key, const QString& def);

void SquelchAndColumns(); // squelch levels and speed, grid column widths
void ProgramSettings();   // [Settings]
void Windows();           // the main window, the text windows, PTT
void Layout();            // layout switches, mode, display, callbook, logbook windows
void Palette();           // waterfall colours
void Channels();          // auxiliary channels reopen, markers
void RadioAndRtty();      // radio control, RTTY engine options

} // namespace loader
