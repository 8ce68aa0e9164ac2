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

} // namespace

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
