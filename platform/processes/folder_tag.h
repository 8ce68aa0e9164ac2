#pragma once
// Stable names derived from the program folder, so that two program folders (two test runs, two
// operators' set-ups) never share a lock, a socket or a shared memory block.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace places {
// 32-bit FNV-1a of the bytes: the same in every process and on every run.
std::uint32_t stableHash(const QByteArray& bytes);
// Eight lower-case hexadecimal digits of the hash of programFolder().
QString programFolderTag();
} // namespace places
