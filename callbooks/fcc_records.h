#pragma once
// The FCC's amateur licence files as published: pipe-separated lines, one licence per unique
// system identifier across the files EN.dat (entity: name and address), AM.dat (amateur:
// operator class, previous call sign) and HD.dat (header: status, grant and expiry dates).
#include <string>

namespace fcc {

struct Licence {
    std::string callSign;
    std::string entityName, firstName, middleInitial, lastName, suffix;
    std::string street, poBox, city, state, zip, attention;
    std::string operatorClass;  // E, A, G, T, N, P
    std::string previousCall;
    std::string status;         // A active, E expired, C cancelled, T terminated
    std::string grantDate, expiryDate; // MM/DD/YYYY
};

enum class Result { Found, NotFound, NoFolder, NoFiles, Unreadable };

// Looks `callSign` up in the files in `folder`. Of several licences of one call sign the active
// one wins, else the one listed last.
Result find(const std::string& folder, const std::string& callSign, Licence& licence);

// The operator class in words ("Extra", "General", ...), empty for a station without one.
std::string className(const std::string& code);

// The name as one line: first name, initial, last name and suffix, or the entity's name.
std::string fullName(const Licence& l);

// A byte that would be taken for a field marker or a field bracket in the answers is replaced.
std::string plain(const std::string& s);

} // namespace fcc
