#include "radio_control/radio_types.h"

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

// Receive coverage in kHz. The Icom type stands for every CI-V radio but the IC-735: the
// IC-706 family (HF to 2 m, and 70 cm on the IC-706MkIIG) and the VHF/UHF rigs with their
// 23 cm bands, so nothing one of them tunes is refused; the Kenwood type for the whole family, up to the TS-2000
// with its sub receiver and 23 cm unit; the Omni VI Plus adds 6 m to the Omni VI.
constexpr TuningRange kHf[] = {{100, 30000}};
constexpr TuningRange kIcomCiv[] = {{30, 199999.999}, {400000, 470000}, {1240000, 1300000}};
constexpr TuningRange kKenwood[] = {{30, 60000}, {118000, 174000}, {220000, 512000}, {1240000, 1300000}};
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
