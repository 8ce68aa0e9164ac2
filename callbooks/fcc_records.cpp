#include "fcc_records.h"

#include "callbook_text.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sys/stat.h>
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

// The FCC files hold well over a million licences; each file is read through once to index its
// lines by one field (hashed), and read again only when it changes, so a look-up reads just the
// few lines it needs.
class FileIndex {
public:
    // Indexes `path` by field `keyField` of its lines of record type `type`; false when the file
    // cannot be read.
    bool refresh(const std::string& path, const char* type, std::size_t keyField)
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return false;
        if (path == path_ && st.st_size == size_ && st.st_mtime == mtime_)
            return true;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        entries_.clear();
        const std::string prefix = std::string(type) + "|";
        std::string line;
        std::uint64_t offset = 0;
        while (std::getline(in, line)) {
            if (line.compare(0, prefix.size(), prefix) == 0)
                entries_.emplace_back(hash(keyOf(line, keyField)), offset);
            offset += line.size() + 1;
        }
        std::sort(entries_.begin(), entries_.end());
        path_ = path;
        size_ = st.st_size;
        mtime_ = st.st_mtime;
        return true;
    }

    // Calls `each` with the fields of every line whose key field is `key` (as `same` judges).
    template <class Same, class F> void find(const std::string& key, std::size_t keyField, Same&& same, F&& each) const
    {
        std::ifstream in(path_, std::ios::binary);
        const auto range = std::equal_range(entries_.begin(), entries_.end(), std::make_pair(hash(key), std::uint64_t(0)),
                                            [](const auto& a, const auto& b) { return a.first < b.first; });
        std::string line;
        for (auto it = range.first; it != range.second && in; ++it) {
            in.clear();
            in.seekg(std::streamoff(it->second));
            if (!std::getline(in, line))
                continue;
            const std::vector<std::string> f = split(line, '|');
            if (same(key, field(f, keyField)))
                each(f);
        }
    }

private:
    static std::string keyOf(const std::string& line, std::size_t n)
    {
        std::size_t start = 0;
        for (std::size_t i = 0; i < n; ++i) {
            start = line.find('|', start);
            if (start == std::string::npos)
                return std::string();
            ++start;
        }
        const std::size_t end = line.find('|', start);
        return callbook_text::upper(trim(line.substr(start, end == std::string::npos ? std::string::npos : end - start)));
    }
    static std::uint64_t hash(const std::string& key)
    {
        std::uint64_t h = 1469598103934665603ull; // FNV-1a
        for (unsigned char c : callbook_text::upper(trim(key))) {
            h ^= c;
            h *= 1099511628211ull;
        }
        return h;
    }

    std::string path_;
    off_t size_ = -1;
    time_t mtime_ = 0;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> entries_;
};

bool sameText(const std::string& a, const std::string& b)
{
    return trim(a) == trim(b);
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
    static FileIndex enIndex, amIndex, hdIndex;
    if (!enIndex.refresh(en, "EN", 4))
        return Result::Unreadable;
    std::vector<Licence> found;
    std::vector<std::string> ids;
    enIndex.find(callSign, 4, callbook_text::sameCall, [&](const std::vector<std::string>& f) {
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
    if (found.empty())
        return Result::NotFound;

    // AM: 2 identifier, 6 operator class, 16 previous call sign.
    const std::string am = dataFile(folder, "AM");
    if (!am.empty() && amIndex.refresh(am, "AM", 1))
        for (std::size_t i = 0; i < ids.size(); ++i)
            amIndex.find(ids[i], 1, sameText, [&](const std::vector<std::string>& f) {
                found[i].operatorClass = field(f, 5);
                found[i].previousCall = field(f, 15);
            });
    // HD: 2 identifier, 6 licence status, 8 grant date, 9 expiry date.
    const std::string hd = dataFile(folder, "HD");
    if (!hd.empty() && hdIndex.refresh(hd, "HD", 1))
        for (std::size_t i = 0; i < ids.size(); ++i)
            hdIndex.find(ids[i], 1, sameText, [&](const std::vector<std::string>& f) {
                found[i].status = field(f, 5);
                found[i].grantDate = field(f, 7);
                found[i].expiryDate = field(f, 8);
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
