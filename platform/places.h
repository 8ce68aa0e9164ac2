#pragma once
// Where Sondrel keeps its files, and which device a numbered serial port is.
#include <QString>

namespace places {
// $SONDREL_HOME when set, else ~/.local/share/Sondrel; created on first use. No trailing slash.
QString programFolder();
// A file "beside the program".
QString programFile(const QString& name);
// Port n is /dev/ttyS<n-1> unless SONDREL_COM<n> names another device. Empty for n < 1.
QString serialPortDevice(int n);
} // namespace places
