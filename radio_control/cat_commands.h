#pragma once
// The exact bytes each radio type is sent: status poll, PTT on and off, set frequency.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace varnel {

struct CatCommand {
    QByteArray bytes;  // sent as they stand; commands contain 0x00
    bool hex = true;   // shown as hexadecimal bytes in the debug window
};

// What a builder produced. No commands and no refusal: the type has no such command.
struct CatBuild {
    QList<CatCommand> commands;
    QString refusal;  // why nothing was built; shown in red in the debug window
};

// Frequency text steps, on kHz text with a point.
// ".0" when there is no point, then "0" until at least three digits follow the point.
QString formatKHzString(const QString& text);
// Removes the first point when digits follow it.
QString removeDecimalPoint(const QString& text);
// "0" in front until the text is at least `length` long.
QString padWithZeros(const QString& text, int length);
// Digits with at most one point, at least one digit (blanks around allowed).
bool isFrequencyText(const QString& text);

// The radio's CI-V address: one or two hexadecimal digits, 00..7F (00 reaches whichever
// radio is on the line). Anything else is refused.
std::optional<unsigned char> civAddress(const QString& text);

// The FT-847's CAT ON block: the radio ignores every other command until it has had it.
QByteArray ft847CatOn();

CatBuild statusPoll(int radioCode, const QString& civAddressText);
CatBuild pttCommand(int radioCode, bool on, const QString& civAddressText);
// Not for the Kachina 505, whose frequency goes through its data file.
CatBuild setFrequencyCommand(int radioCode, const QString& freqText, const QString& civAddressText);

} // namespace varnel
