#pragma once
// A settings file with Windows profile-file rules: "[Section]" lines and "key=value" lines;
// section and key names match without regard to case; values are exact (blanks round them
// dropped, quotes kept); lines end in CR LF; text is Windows-1252 (a leading UTF-8 byte-order
// mark is skipped). Every write goes to disk at
// once through an atomic replace, so a crash never leaves a truncated file.
#include <QString>

namespace ini {

// The value of [section] key, or `def` when the file, the section or the key is missing; cut to
// bufferSize - 1 characters, as a fixed-size buffer would cut it. A present key with an empty
// value reads as the empty text, not the default.
QString read(const QString& path, const QString& section, const QString& key, const QString& def,
             int bufferSize);

// Whether the file holds [section] key at all.
bool contains(const QString& path, const QString& section, const QString& key);

// Stores the value, creating the file, the section and the key as needed; an existing key is
// rewritten in place and every other line is kept. Line breaks in the value become blanks.
// False when the file could not be written (the old file is then untouched), with the C errno
// value in *error. Storing the value a key already holds leaves the file as it is.
bool write(const QString& path, const QString& section, const QString& key, const QString& value,
           int* error = nullptr);

// The file is read once and read again only when its size, time or identity on the disk
// changed, so a change by another program is seen at the next read. A path that is not a
// regular file (a FIFO, a folder) reads as an unreadable file and is never opened.
// How many times a file was actually read (the benchmark and tests count them).
int fileReads();

} // namespace ini
