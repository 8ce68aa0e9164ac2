#pragma once
// Replacing a file's whole contents so that a crash or a full disk never leaves it truncated:
// the new contents go to a temporary file beside it, every write and the flush to the disk are
// checked, and only then is the temporary renamed over the old file. Any failure removes the
// temporary and leaves the old file exactly as it was.
#include <QByteArray>
#include <QString>

namespace safefile {

// True when `path` now holds `bytes`. False on any failure, with the C errno value in *error;
// the old file (if any) is then untouched. It writes the program's own files: a new one is the
// user's alone (places::kPrivateFileMode); an existing one keeps its own mode. A symbolic link
// is followed: its target is replaced.
bool replace(const QString& path, const QByteArray& bytes, int* error = nullptr);

// The temporary files replace() leaves behind when the process is killed half-way:
// "<name>.new-XXXXXX", and the "<name>.XXXXXX" of earlier versions.
bool isTemporaryOf(const QString& fileName, const QString& name);

// Removes the temporaries of `name` in `folder` (and the companions a database leaves beside
// one: "-journal", "-wal", "-shm"). Only for files of the program's own folder, while it is
// held by this instance. Returns how many files were removed.
int removeStaleTemporaries(const QString& folder, const QString& name);

// Tests: every later write fails with `error` once `budget` bytes have been written in all, as
// on a disk with `budget` bytes free. A negative budget ends the fault.
void simulateFullDisk(qint64 budget, int error);

} // namespace safefile
