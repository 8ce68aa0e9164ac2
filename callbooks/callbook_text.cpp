#include "callbook_text.h"

#include <cstring>
#include <sys/stat.h>

namespace callbook_text {

std::vector<std::string> split(const std::string& line, char separator)
{
    std::string s = line;
    if (!s.empty() && s.back() == '\r')
        s.pop_back();
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(separator, start);
        if (at == std::string::npos) {
            fields.push_back(s.substr(start));
            return fields;
        }
        fields.push_back(s.substr(start, at - start));
        start = at + 1;
    }
}

std::string trim(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::string upper(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

bool sameCall(const std::string& typed, const std::string& stored)
{
    const std::string a = upper(trim(typed));
    return !a.empty() && a == upper(trim(stored));
}

std::string folder(const std::string& path)
{
    if (path.empty() || path.back() == '/')
        return path;
    return path + '/';
}

bool isFolder(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string findFile(const std::string& dir, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        const std::string path = folder(dir) + name;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return path;
    }
    return std::string();
}

bool put(const std::string& text, char* buffer, std::int32_t length)
{
    if (!buffer || length <= 0)
        return false;
    if (text.size() + 1 > std::size_t(length)) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

} // namespace callbook_text
