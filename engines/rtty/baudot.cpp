#include "engines/rtty/baudot.h"

namespace rtty {
namespace {

// Index: the code. 0: no character (shifts, blank).
constexpr unsigned char kLetters[32] = {
    0,   'E', '\n', 'A', ' ', 'S', 'I', 'U', '\r', 'D', 'R', 'J', 'N', 'F', 'C', 'K',
    'T', 'Z', 'L',  'W', 'H', 'Y', 'P', 'Q', 'O',  'B', 'G', 0,   'M', 'X', 'V', 0};
constexpr unsigned char kFigures[32] = {
    0,   '3', '\n', '-', ' ', 7,   '8', '7', '\r', '$', '4', '\'', ',', '!', ':', '(',
    '5', '"', ')',  '2', '#', '6', '0', '1', '9',  '?', '&', 0,    '.', '/', ';', 0};

bool inBothShifts(std::uint8_t code)
{
    return code == 0x02 || code == 0x04 || code == 0x08; // LF, space, CR
}

} // namespace

unsigned char BaudotChar(std::uint8_t code, bool figures)
{
    code &= 0x1F;
    return figures ? kFigures[code] : kLetters[code];
}

std::optional<BaudotCode> BaudotCodeOf(unsigned char ch)
{
    if (ch >= 'a' && ch <= 'z')
        ch = static_cast<unsigned char>(ch - 'a' + 'A');
    if (ch == 0)
        return std::nullopt;
    for (std::uint8_t c = 0; c < 32; ++c) {
        if (kLetters[c] == ch)
            return BaudotCode{c, false, inBothShifts(c)};
        if (kFigures[c] == ch)
            return BaudotCode{c, true, inBothShifts(c)};
    }
    return std::nullopt;
}

std::vector<std::uint8_t> BaudotEncoder::encode(unsigned char ch)
{
    std::vector<std::uint8_t> out;
    const auto c = BaudotCodeOf(ch);
    if (!c)
        return out;
    if (!c->both && (!known_ || c->figures != figures_))
        out.push_back(shiftTo(c->figures));
    out.push_back(c->code);
    if (c->code == 0x04 && figures_)
        known_ = false;
    return out;
}

std::uint8_t BaudotEncoder::shiftTo(bool figures)
{
    figures_ = figures;
    known_ = true;
    return figures ? kFigs : kLtrs;
}

std::optional<unsigned char> BaudotDecoder::decode(std::uint8_t code)
{
    code &= 0x1F;
    if (code == kLtrs || code == kFigs) {
        figures_ = code == kFigs;
        carried_ = false;
        return std::nullopt;
    }
    if (figures_ && carried_ && !figureWord(code))
        figures_ = carried_ = false; // a word of letters: the sender took the shift for unshifted
    const unsigned char ch = BaudotChar(code, figures_);
    if (inBothShifts(code)) {
        if (code == 0x04 && uos_)
            figures_ = false;
        // Figures carried over a word's end: a word of them must read as figures.
        carried_ = figures_;
        afterDigit_ = false;
    }
    if (ch == 0)
        return std::nullopt;
    return ch;
}

// In figures carried over a word's end: a number (digits, a point, comma, stroke, hyphen or
// colon between them) or a question mark; anything else is a word of letters.
bool BaudotDecoder::figureWord(std::uint8_t code)
{
    if (code == 0 || inBothShifts(code))
        return true;
    const unsigned char figure = kFigures[code];
    const bool digit = figure >= '0' && figure <= '9';
    const bool between = afterDigit_ && (figure == '.' || figure == ',' || figure == '/' || figure == '-' || figure == ':');
    afterDigit_ = digit;
    return digit || between || figure == '?';
}

} // namespace rtty
