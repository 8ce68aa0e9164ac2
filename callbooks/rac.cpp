// The RAC disc's library: sGetCallInfo(path, call sign, buffer, length, &code) answers one record
// whose fields are bracketed by control characters, ended by a NUL, and sets the code (0 found,
// 1101 not on the disc, 2 file not found, 3 path not found, 5 access denied, -5 internal error).
// The data are the Canadian amateur call sign list (amateur_delim.txt, fields separated by
// ";": call sign, first name, surname, address, city, province, postal code, the
// qualifications A to E, then the club's name, second name line, address, city, province and
// postal code) in the folder `path`.
#include "callbook_text.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

using callbook_text::trim;

enum Code : std::int16_t {
    Found = 0, NotOnDisc = 1101, FileNotFound = 2, PathNotFound = 3, AccessDenied = 5, Internal = -5,
};

std::string field(const std::vector<std::string>& f, std::size_t i)
{
    if (i >= f.size())
        return std::string();
    std::string s = trim(f[i]);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    return s;
}

std::string joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string out;
    for (const std::string& p : parts)
        if (!p.empty())
            out += (out.empty() ? "" : separator) + p;
    return out;
}

std::string qualifications(const std::vector<std::string>& f)
{
    static const char* const kNames[] = {"Basic", "Morse 5 WPM", "Morse 12 WPM", "Advanced",
                                         "Basic with Honours"};
    std::vector<std::string> held;
    for (std::size_t i = 0; i < 5; ++i)
        if (!field(f, 7 + i).empty())
            held.push_back(kNames[i]);
    return joined(held, ", ");
}

// A person: \2 name, address, city \3 \5 postal code \6 province \7 qualifications \8 \24 call
// sign \25. A club (no address of a person): \2 club, address, city province postal code \7
// qualifications \8 \16 second line of the club's name \17 \18, without character 3.
std::string record(const std::vector<std::string>& f)
{
    const std::string call = field(f, 0);
    const std::string person = joined({field(f, 1), field(f, 2)}, " ");
    std::string r;
    if (!person.empty() || field(f, 12).empty()) {
        r += '\x02' + joined({person, field(f, 3), field(f, 4)}, ", ") + '\x03';
        r += '\x05' + field(f, 6) + '\x06' + field(f, 5);
        r += '\x07' + qualifications(f) + '\x08';
        r += '\x18' + call + '\x19';
    } else {
        const std::string place = joined({field(f, 16), field(f, 17)}, "  ");
        r += '\x02' + joined({field(f, 12), field(f, 14), joined({field(f, 15), place}, " ")}, ", ");
        r += '\x07' + qualifications(f) + '\x08';
        r += '\x10' + field(f, 13) + '\x11' + '\x12';
    }
    return r;
}

} // namespace

extern "C" __attribute__((visibility("default"))) std::int32_t
sGetCallInfo(const char* path, const char* callSign, char* buffer, std::int32_t bufferLength,
             std::int16_t* code)
{
    std::int16_t scratch = 0;
    std::int16_t& result = code ? *code : scratch;
    if (!path || !callSign || !buffer || bufferLength <= 0) {
        result = Internal;
        return 0;
    }
    const std::string dir(path);
    if (!callbook_text::isFolder(dir)) {
        result = PathNotFound;
        return 0;
    }
    const std::string file = callbook_text::findFile(dir, {"amateur_delim.txt", "AMATEUR_DELIM.TXT"});
    if (file.empty()) {
        result = FileNotFound;
        return 0;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        result = AccessDenied;
        return 0;
    }
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> f = callbook_text::split(line, ';');
        if (!callbook_text::sameCall(callSign, field(f, 0)))
            continue;
        result = callbook_text::put(record(f), buffer, bufferLength) ? Found : Internal;
        return 0;
    }
    result = NotOnDisc;
    return 0;
}
