#include "radio_control/radio_types.h"

#include "platform/vb/vbnum.h"

#include <array>

namespace varnel {
namespace {

struct Entry {
    const char* name;
    int code;
};

constexpr std::array<Entry, 10> kTypes{{
    {"No Radio", NoRadio},
    {"Icom (not IC-735)", IcomCiv},
    {"Icom (IC-735 only)", Icom735},
    {"Kenwood - all", Kenwood},
    {"Yaesu FT-1000D", YaesuFT1000D},
    {"Yaesu FT-1000MP", YaesuFT1000MP},
    {"Yaesu FT-990", YaesuFT990},
    {"Yaesu FT-847", YaesuFT847},
    {"Ten Tec Omni VI", TenTecOmniVI},
    {"Kachina 505", Kachina505},
}};

// Receive coverage in kHz. A single-model type holds its radio's coverage. A family type
// holds every stretch some radio of the family tunes over the family's commands, cut where
// the command's frequency field ends, so that it refuses only what none of them can take.
constexpr TuningRange kHf[] = {{100, 30000}};
// Every CI-V radio but the IC-735, with the five-byte field (hertz to the 1 GHz digit, so
// below 10 GHz): the wide-band receivers from 5 kHz (IC-R9500, to 3335 MHz; the IC-R8600
// to 3 GHz, the IC-R20 and IC-R30 to 3305 MHz) and the IC-905's 5.7 GHz band. Its 10 GHz
// band needs the radio's six-byte field, which this type does not send.
constexpr TuningRange kIcomCiv[] = {{5, 3335000}, {5650000, 5925000}};
// The Kenwood FA command (eleven digits of hertz, far beyond any of them): the general
// coverage receivers from 30 kHz to 60 MHz (TS-2000, TS-590, TS-990), the TS-890S's 4 m band
// (taken at its widest allocation, 69.9-70.5 MHz), the R-5000's VHF converter from 108 MHz
// and the TS-2000's sub receiver to 174 MHz, its 220-512 MHz and both its and the TS-790's
// 23 cm band.
constexpr TuningRange kKenwood[] = {
    {30, 60000}, {69900, 70500}, {108000, 174000}, {220000, 512000}, {1240000, 1300000}};
constexpr TuningRange kFT847[] = {{100, 30000}, {36000, 76000}, {108000, 174000}, {420000, 512000}};
constexpr TuningRange kOmniVI[] = {{100, 30000}, {50000, 54000}};

} // namespace

std::span<const TuningRange> tuningRanges(int code)
{
    switch (code) {
    case IcomCiv: return kIcomCiv;
    case Icom735:
    case YaesuFT1000D:
    case YaesuFT1000MP:
    case YaesuFT990: return kHf;
    case Kenwood: return kKenwood;
    case YaesuFT847: return kFT847;
    case TenTecOmniVI: return kOmniVI;
    default: return {};
    }
}

bool canTune(int code, double khz)
{
    for (const TuningRange& r : tuningRanges(code))
        if (khz >= r.lowestKHz && khz <= r.highestKHz)
            return true;
    return false;
}

QString tuningRangeText(int code)
{
    QStringList stretches;
    for (const TuningRange& r : tuningRanges(code))
        stretches << vb::Text(r.lowestKHz) + QStringLiteral(" to ") + vb::Text(r.highestKHz);
    if (stretches.size() > 1) {
        const QString last = stretches.takeLast();
        return stretches.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last + QStringLiteral(" kHz");
    }
    return stretches.isEmpty() ? QString() : stretches.front() + QStringLiteral(" kHz");
}

QString radioTypeName(int code)
{
    for (const Entry& e : kTypes)
        if (e.code == code)
            return QString::fromLatin1(e.name);
    return QString();
}

std::optional<int> radioCodeForName(const QString& name)
{
    for (const Entry& e : kTypes)
        if (name == QLatin1String(e.name))
            return e.code;
    return std::nullopt;
}

QStringList radioTypeNames()
{
    QStringList names;
    for (const Entry& e : kTypes)
        names << QString::fromLatin1(e.name);
    return names;
}

} // namespace varnel
