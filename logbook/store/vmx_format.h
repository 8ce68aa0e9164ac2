#pragma once
// The small pieces of the record library that need no database: primary key numbers, the field
// specification, the file's identity in its header, and system errors as statuses.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vmx {

// "SnLb" in the application id field of the SQLite header marks our record files.
inline constexpr std::uint32_t kApplicationId = 0x536E4C62;
inline constexpr int kFormatVersion = 1;

// The number a primary key text spells: blanks round it, an optional sign, digits with an
// optional point, an optional exponent. False when the text is anything else.
bool keyValue(std::string_view text, double& value);

// Index widths of a field specification, one per field: 0 for "$", the width for "X<width>$".
// False when the field list is malformed.
bool parseFieldSpec(std::string_view spec, std::vector<int>& widths);

// Whether the file at `path` is one of ours, from its first 100 bytes only (the file is opened
// read-only and never changed): VmxOk, VmxNotOurFile, VmxNewerVersion or a system error status.
std::int16_t checkHeader(const std::string& path);

// A system error number as a status.
std::int16_t statusFromErrno(int err);

// An SQLite result code as a status.
std::int16_t statusFromSqlite(int rc);

// Syncs the folder that holds `path`, so a rename or unlink in it survives a power loss.
void syncFolderOf(const std::string& path);

} // namespace vmx
