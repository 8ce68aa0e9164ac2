#pragma once
// What the three callbook stand-ins share: reading delimited text files, matching call signs and
// handing an answer to the caller's buffer without ever writing past its stated length.
#include <cstdint>
#include <string>
#include <vector>

namespace callbook_text {

// The fields of one line split at `separator`; a trailing carriage return is dropped.
std::vector<std::string> split(const std::string& line, char separator);

// Blanks and tabs removed at both ends.
std::string trim(const std::string& s);

// Letters in capitals (ASCII only).
std::string upper(const std::string& s);

// A call sign as typed (blanks round it dropped, any letter case) equals one read from a file.
bool sameCall(const std::string& typed, const std::string& stored);

// The folder path with a "/" at its end.
std::string folder(const std::string& path);

bool isFolder(const std::string& path);

// The first of `names` that exists in `folder` (disc images often carry names in capitals),
// or the empty text.
std::string findFile(const std::string& folder, const std::vector<std::string>& names);

// Copies `text` and a NUL into `buffer` of `length` bytes; false (and an empty buffer when it
// has room for the NUL) when the text does not fit.
bool put(const std::string& text, char* buffer, std::int32_t length);

} // namespace callbook_text
