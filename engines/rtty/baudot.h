#pragma once
// The five-unit teleprinter code (ITA2 with the US figures row, as amateur RTTY uses it), with
// its two shifts: letters and figures.
#include <cstdint>
#include <optional>
#include <vector>

namespace rtty {

constexpr std::uint8_t kLtrs = 0x1F;
constexpr std::uint8_t kFigs = 0x1B;

// Turns characters (Windows-1252 codes) into codes, putting in the shift changes they need.
// Lower-case letters go as capitals; characters the code cannot carry are dropped.
class BaudotEncoder {
public:
    // Codes for one character (empty when it cannot be sent).
    std::vector<std::uint8_t> encode(unsigned char ch);
    // An explicit shift: its code, and the state follows it.
    std::uint8_t shiftTo(bool figures);
    // After a space a receiver with unshift-on-space is back in letters and one without it is
    // not: a figure after a space is always sent with its shift again (and a letter too when
    // figures went before the space), so that every receiver prints the text right.
    // Forget the state: the next figure or letter is always preceded by its shift.
    void reset() { known_ = false; }
    bool figures() const { return figures_; }

private:
    bool figures_ = false;
    bool known_ = false;
};

// Turns received codes into characters. Shift codes give no character. Without
// unshift-on-space, figures go on over a space or line end, except into a word that does not
// read as figures (a number or a question mark): a sender that counts on unshift-on-space
// sends the letters after figures without a letters shift.
class BaudotDecoder {
public:
    std::optional<unsigned char> decode(std::uint8_t code);
    void setUnshiftOnSpace(bool on) { uos_ = on; }
    void reset() { figures_ = carried_ = false; }
    bool figures() const { return figures_; }

private:
    bool figureWord(std::uint8_t code);
    bool figures_ = false;
    bool uos_ = false;
    bool carried_ = false;    // figures carried over the end of a word
    bool afterDigit_ = false; // the last character of the word was a digit
};

// The character of a code in a shift (0 when none), and the code of a character with the shift
// it needs (nullopt when it has none; `both` when the character is in both shifts).
unsigned char BaudotChar(std::uint8_t code, bool figures);
struct BaudotCode {
    std::uint8_t code;
    bool figures;
    bool both;
};
std::optional<BaudotCode> BaudotCodeOf(unsigned char ch);

} // namespace rtty
