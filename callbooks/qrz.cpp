// The QRZ disc's library: QRZInit(drive, length) opens the disc in the folder `drive`,
// QRZSearch(1, call sign, "", "", buffer, length, 1) writes a text page of CR LF lines (the
// call sign and the name; then up to column 45 the address, city and previous call, and from
// column 46 on "Born:", "Licn:" and "Expn:"), QRZExit() closes the disc. The data are the FCC
// licence files in that folder.
#include "callbook_text.h"
#include "fcc_records.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kLeftColumns = 45;

std::string g_drive;
bool g_open = false;

std::string left(const std::string& text)
{
    std::string s = fcc::plain(text).substr(0, kLeftColumns);
    s.resize(kLeftColumns, ' ');
    return s;
}

// MM/DD/YYYY as MM/DD/YY, the eight characters the page has room for.
std::string shortDate(const std::string& date)
{
    if (date.size() != 10 || date[2] != '/' || date[5] != '/')
        return std::string();
    return date.substr(0, 6) + date.substr(8, 2);
}

std::string page(const fcc::Licence& l)
{
    const std::string crlf = "\r\n";
    std::string cityLine = l.city;
    if (!l.state.empty())
        cityLine += (cityLine.empty() ? "" : ", ") + l.state;
    if (!l.zip.empty())
        cityLine += (cityLine.empty() ? "" : " ") + l.zip;
    std::string street = l.street;
    if (street.empty() && !l.poBox.empty())
        street = "PO Box " + l.poBox;
    const std::string cls = fcc::className(l.operatorClass);
    const std::string expiry = shortDate(l.expiryDate);

    std::string p = fcc::plain(l.callSign) + " " + fcc::plain(fcc::fullName(l)) + crlf;
    p += left(street) + " " + crlf;
    p += left(cityLine) + (cls.empty() ? " " : " Licn: " + cls) + crlf;
    p += left(l.previousCall.empty() ? std::string() : "Prev: " + l.previousCall)
         + (expiry.empty() ? " " : " Expn:" + expiry) + crlf;
    return p;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t QRZInit(char* drive, std::int32_t driveLength)
{
    if (!drive || driveLength <= 0)
        return 0;
    const std::string folder(drive, strnlen(drive, std::size_t(driveLength)));
    if (callbook_text::findFile(folder, {"EN.dat", "EN.DAT", "en.dat"}).empty())
        return 0;
    g_drive = folder;
    g_open = true;
    return 1;
}

__attribute__((visibility("default"))) std::int32_t
QRZSearch(std::int32_t /*kind*/, const char* callSign, const char* /*first*/, const char* /*second*/,
          char* buffer, std::int32_t bufferLength, std::int32_t /*flags*/)
{
    if (!g_open || !callSign || !buffer || bufferLength <= 0)
        return 0;
    fcc::Licence licence;
    if (fcc::find(g_drive, callSign, licence) != fcc::Result::Found)
        return 0;
    return callbook_text::put(page(licence), buffer, bufferLength) ? 1 : 0;
}

__attribute__((visibility("default"))) std::int32_t QRZExit()
{
    g_open = false;
    g_drive.clear();
    return 0;
}

} // extern "C"
