#pragma once
// The radio types the component knows, by the names the program's settings use.
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

namespace varnel {

// Type codes; the code alone picks the command builder and the reply parser.
enum RadioCode : int {
    NoRadio = 0,
    IcomCiv = 11,    // Icom, five-byte frequency
    Icom735 = 12,    // IC-735, four-byte frequency
    Kenwood = 21,
    YaesuFT1000D = 31,
    YaesuFT1000MP = 34,
    YaesuFT847 = 35,
    YaesuFT990 = 39,
    TenTecOmniVI = 42,
    Kachina505 = 61,
};

// The code of a radio type name; the name must match exactly (case and blanks included).
std::optional<int> radioCodeForName(const QString& name);
// The name of a radio type code; empty for a code that is no type.
QString radioTypeName(int code);

// Every supported name, in the order they are tested.
QStringList radioTypeNames();

// A stretch of frequencies a radio can be tuned to, both ends included.
struct TuningRange {
    double lowestKHz;
    double highestKHz;
};

// What each radio type can be tuned to (for receiving): a single model's coverage, or for
// a family type every stretch that some radio of the family tunes over the type's commands;
// empty for the types without serial commands.
std::span<const TuningRange> tuningRanges(int code);
// True when a radio of this type can be tuned to the frequency.
bool canTune(int code, double khz);
// The type's ranges in words: "100 to 30000 kHz", "100 to 30000 and 50000 to 54000 kHz".
QString tuningRangeText(int code);

// CI-V radios: Icom (both kinds) and the Ten Tec Omni VI.
inline bool isCiv(int code) { return code == IcomCiv || code == Icom735 || code == TenTecOmniVI; }
// Radios that take the Yaesu FT-1000 family's five-byte blocks with a status read.
inline bool isYaesuStatus(int code)
{
    return code == YaesuFT1000D || code == YaesuFT1000MP || code == YaesuFT990;
}

} // namespace varnel
