#pragma once
// The callbook discs' libraries, loaded at run time from the program's folder (beside the
// executable, then the folder that holds the settings file). A library counts as present only
// when every entry point a look-up calls is there.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace callbook {

// The libraries' file names, without the platform's prefix and suffix.
inline const QString kHamCallLibrary = QStringLiteral("HamCal32");
inline const QString kQRZLibrary = QStringLiteral("qrz32");
inline const QString kRACLibrary = QStringLiteral("RACCD32A");

// The entry points, in the order asked for; empty when the library or any entry is missing.
std::vector<void*> resolve(const QString& library, std::initializer_list<const char*> entries);

// The folders looked in, in order.
QStringList searchFolders();

// Tests: other folders to look in (empty: the program's own), or a resolver that hands out fakes
// (empty: the libraries on disc).
void setSearchFolders(const QStringList& folders);
using Resolver = std::function<void*(const QString& library, const char* entry)>;
void setResolver(Resolver resolver);

// The entry points as the look-ups call them. Every buffer is passed with its length; a library
// never writes past it and ends its answer with a NUL.
using LookupCallSignFn = std::int16_t (*)(const char* path, const char* call, std::int32_t length,
                                          char* buffer);
using QRZInitFn = std::int32_t (*)(char* drive, std::int32_t length);
using QRZSearchFn = std::int32_t (*)(std::int32_t kind, const char* call, const char* first,
                                     const char* second, char* buffer, std::int32_t length,
                                     std::int32_t flags);
using QRZExitFn = std::int32_t (*)();
using GetCallInfoFn = std::int32_t (*)(const char* path, const char* call, char* buffer,
                                       std::int32_t length, std::int16_t* result);

} // namespace callbook
