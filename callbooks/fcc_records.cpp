#include "fcc_records.h"

#include "callbook_text.h"

#include <fstream>
#include <vector>

namespace fcc {

namespace {

using callbook_text::split;
using callbook_text::trim;

std::string field(const std::vector<std::string>& f, std::size_t i)
{
    return i < f.size() ? trim(f[i]) : std::string();
}

std::string dataFile(const std::string& folder, const char* stem)
{
    const std::string s(stem);
    return callbook_text::findFile(folder, {s + ".dat", s + ".DAT", callbook_text::upper(s) + ".dat",
                                            callbook_text::upper(s) + ".DAT"});
}

// Calls `each` with the fields of every line of `path` whose record type is `type`; false when
// the file cannot be read.
template <class F> bool walk(const std::string& path, const char* type, F&& each)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 3, std::string(type) + "|") != 0)
            continue;
        each(split(line, '|'));
    }
    return true;
}

} // namespace

Result find(const std::string& folder, const std::string& callSign, Licence& licence)
{
    if (!callbook_text::isFolder(folder))
        return Result::NoFolder;
    const std::string en = dataFile(folder, "EN");
    if (en.empty())
        return Result::NoFiles;

    // EN: 2 unique system identifier, 5 call sign, 8 entity name, 9 first name, 10 initial,
    // 11 last name, 12 suffix, 16 street, 17 city, 18 state, 19 zip, 20 PO box, 21 attention.
    std::vector<Licence> found;
    std::vector<std::string> ids;
    const bool read = walk(en, "EN", [&](const std::vector<std::string>& f) {
        if (!callbook_text::sameCall(callSign, field(f, 4)))
            return;
        Licence l;
        l.callSign = field(f, 4);
        l.entityName = field(f, 7);
        l.firstName = field(f, 8);
        l.middleInitial = field(f, 9);
        l.lastName = field(f, 10);
        l.suffix = field(f, 11);
        l.street = field(f, 15);
        l.city = field(f, 16);
        l.state = field(f, 17);
        l.zip = field(f, 18);
        l.poBox = field(f, 19);
        l.attention = field(f, 20);
        found.push_back(l);
        ids.push_back(field(f, 1));
    });
    if (!read)
        return Result::Unreadable;
    if (found.empty())
        return Result::NotFound;

    // AM: 2 identifier, 6 operator class, 16 previous call sign.
    const std::string am = dataFile(folder, "AM");
    if (!am.empty())
        walk(am, "AM", [&](const std::vector<std::string>& f) {
            for (std::size_t i = 0; i < ids.size(); ++i)
                if (ids[i] == field(f, 1)) {
                    found[i].operatorClass = field(f, 5);
                    found[i].previousCall = field(f, 15);
                }
        });
    // HD: 2 identifier, 6 licence status, 8 grant date, 9 expiry date.
    const std::string hd = dataFile(folder, "HD");
    if (!hd.empty())
        walk(hd, "HD", [&](const std::vector<std::string>& f) {
            for (std::size_t i = 0; i < ids.size(); ++i)
                if (ids[i] == field(f, 1)) {
                    found[i].status = field(f, 5);
                    found[i].grantDate = field(f, 7);
                    found[i].expiryDate = field(f, 8);
                }
        });
    licence = found.back();
    for (const Licence& l : found)
        if (l.status == "A")
            licence = l;
    return Result::Found;
}

std::string className(const std::string& code)
{
    if (code == "E") return "Extra";
    if (code == "A") return "Advanced";
    if (code == "G") return "General";
    if (code == "T") return "Technician";
    if (code == "P") return "Technician Plus";
    if (code == "N") return "Novice";
    return code;
}

std::string fullName(const Licence& l)
{
    if (l.firstName.empty() && l.lastName.empty())
        return l.entityName;
    std::string name;
    for (const std::string* part : {&l.firstName, &l.middleInitial, &l.lastName, &l.suffix})
        if (!part->empty())
            name += (name.empty() ? "" : " ") + *part;
    return name;
}

std::string plain(const std::string& s)
{
    std::string out = s;
    for (char& c : out) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 32 || b >= 181)
            c = b < 32 ? ' ' : '?';
    }
    return out;
}

} // namespace fcc
