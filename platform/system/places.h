#pragma once
// Where Sondrel keeps its files, and which device a numbered serial port is.
#include <QString>

namespace places {
// The program folder and what the program writes in it (settings, logbook, BAD.ADI) are the
// operator's alone: a folder it creates is readable by him only, and so is every file it
// creates there. A folder or a file that exists keeps its mode.
constexpr unsigned kPrivateFolderMode = 0700;
constexpr unsigned kPrivateFileMode = 0600;

// $SONDREL_HOME when set, else ~/.local/share/Sondrel; created on first use (its parents as
// any folder is). No trailing slash.
QString programFolder();
// A file "beside the program".
QString programFile(const QString& name);
// Port n is /dev/ttyS<n-1> unless SONDREL_COM<n> names another device. Empty for n < 1.
QString serialPortDevice(int n);
} // namespace places
