// The HamCall disc's library: LookupCallSign(path, call sign, buffer length, buffer) answers one
// record whose fields are each introduced by a marker byte (181..255), in ascending order, the
// record ended by a NUL. The data are the FCC licence files in the folder `path` (the disc's
// HAM0 folder).
#include "callbook_text.h"
#include "fcc_records.h"

#include <cstdint>
#include <string>

namespace {

enum Marker : unsigned char {
    CallSign = 181, LicenceClass = 182, First = 184, Initial = 185, Last = 186, Suffix = 187,
    Street = 188, PoBox = 189, Attention = 190, City = 191, State = 192, Zip = 193,
    Expiry = 196, ExpiryEnd = 197, PreviousCall = 207, End = 210,
};

void add(std::string& record, Marker marker, const std::string& text)
{
    if (text.empty())
        return;
    record += char(marker);
    record += fcc::plain(text);
}

// MM/DD/YYYY as YYYYMMDD; empty when the date is not in that form.
std::string yyyymmdd(const std::string& date)
{
    if (date.size() != 10 || date[2] != '/' || date[5] != '/')
        return std::string();
    const std::string digits = date.substr(6, 4) + date.substr(0, 2) + date.substr(3, 2);
    for (char c : digits)
        if (c < '0' || c > '9')
            return std::string();
    return digits;
}

std::string record(const fcc::Licence& l)
{
    std::string r;
    add(r, CallSign, l.callSign);
    add(r, LicenceClass, fcc::className(l.operatorClass));
    if (l.firstName.empty() && l.lastName.empty()) {
        add(r, First, l.entityName);
    } else {
        add(r, First, l.firstName);
        add(r, Initial, l.middleInitial);
        add(r, Last, l.lastName);
        add(r, Suffix, l.suffix);
    }
    add(r, Street, l.street);
    add(r, PoBox, l.poBox.empty() ? std::string() : "PO Box " + l.poBox);
    add(r, Attention, l.attention.empty() ? std::string() : "Attn: " + l.attention);
    add(r, City, l.city);
    add(r, State, l.state);
    add(r, Zip, l.zip);
    const std::string expiry = yyyymmdd(l.expiryDate);
    if (!expiry.empty()) {
        add(r, Expiry, expiry);
        r += char(ExpiryEnd);
    }
    add(r, PreviousCall, l.previousCall.empty() ? std::string() : "ex " + l.previousCall);
    r += char(End);
    return r;
}

} // namespace

extern "C" __attribute__((visibility("default"))) std::int16_t
LookupCallSign(const char* path, const char* callSign, std::int32_t bufferLength, char* buffer)
{
    if (!path || !callSign || !buffer || bufferLength <= 0)
        return -4;
    fcc::Licence licence;
    switch (fcc::find(path, callSign, licence)) {
    case fcc::Result::NoFolder:
    case fcc::Result::NoFiles:
        return -2;
    case fcc::Result::Unreadable:
        return -3;
    case fcc::Result::NotFound:
        return -1;
    case fcc::Result::Found:
        break;
    }
    return callbook_text::put(record(licence), buffer, bufferLength) ? 1 : -4;
}
