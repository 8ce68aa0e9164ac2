#pragma once
#include <QString>

// The callbook CD: the mount point of the first mounted optical disc listed in the mount table
// (an iso9660 or udf file system, or a /dev/sr device), or "None" when there is none.
// `mountsFile` is the mount table to read; tests give their own.
QString FindCDDrive(const QString& mountsFile = QStringLiteral("/proc/self/mounts"));
