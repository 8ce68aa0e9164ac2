#pragma once
// The settings file "Sondrel.INI": its path, the one writer and the read convention. (The
// start-up probe that loads every setting or writes the first-run file is the settings loader's,
// main_window/settings_loader/settings_loader.h.)
#include <QString>

extern QString INIPath;

// Stores one value at once. The only writer of the settings file. A failed write leaves the
// file as it was and is told to the operator (once, until a write succeeds again).
void WriteINI(const QString& section, const QString& key, const QString& value);
// Writes that failed in this run.
int SettingsWriteFailures();

// Reads one value the way every reader does: the default when missing, cut as a 50-character
// buffer cuts it (49 characters), NULs stripped. Keys that hold file paths and host names are
// read whole (up to 2999 characters), so a path is never cut short.
QString ReadINI(const QString& section, const QString& key, const QString& def);
// The same with the long buffer (2999 characters): macro texts, waterfall levels, profile names.
QString ReadINILong(const QString& section, const QString& key, const QString& def);
// Whether the file holds the key at all (a value that was stored, not a default).
bool INIHasKey(const QString& section, const QString& key);

// Trims blanks from `text` in place and returns it up to (not including) its first NUL.
QString StripNull(QString& text);
QString StripNull2(QString& text);

// The operator has been told that the settings cannot be saved: a failed write is not reported
// again until a write succeeds.
void SettingsCannotBeSaved();
