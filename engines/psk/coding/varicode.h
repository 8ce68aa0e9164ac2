#pragma once
// PSK31 Varicode: one variable-length bit pattern per character code 0..255. Characters are
// separated on the air by two zero bits; no code contains two zeros in a row.
#include <cstdint>
#include <string>

namespace psk {

// The bit pattern of a character, most significant bit first ("1011" for 'a').
const std::string& varicodeBits(std::uint8_t code);

// The character of a bit pattern, or -1 when no character has it.
int varicodeLookup(std::uint32_t pattern, int length);

// Turns a stream of received bits into characters.
class VaricodeDecoder {
public:
    // Feeds one bit; returns the character completed by it, or -1.
    int push(int bit);
    void reset() { reg_ = 0; len_ = 0; zero_ = false; lost_ = false; }
    // Starts afresh in the middle of a stream: nothing counts before the next gap.
    void resync() { reset(); lost_ = true; }

private:
    std::uint32_t reg_ = 0;
    int len_ = 0;
    bool zero_ = false;  // one zero seen after the last one bit
    bool lost_ = false;  // an over-long pattern is being skipped

};

// Whether received bits read as text: decoded noise gives about one character in eight that no
// text has (a pattern longer than any character, a control code, one of the unused codes);
// text copied cleanly next to none, however weak the signal and whatever sits beside it. The
// share of such characters among the last 60 or so gives the reading.
class TextMeter {
public:
    void push(int bit);
    void reset() { *this = TextMeter(); } // unknown: not copying until enough text has come
    // The recent characters are text.
    bool copying() const { return count_ >= kEnough && garbled_ < kCopying; }
    // The recent characters are as garbled as decoded noise: no signal is copied (the loops may
    // still hold a line of one, beside its carrier, as firmly as a signal).
    bool garbage() const { return count_ >= kEnough && garbled_ >= kGarbage; }
    double garbled() const { return garbled_; } // share of characters no text has
    // A character has been completed within the last second or so: the reading is of what is
    // decoded now (through a long run of idle, or of bits that complete none, it stays as it was).
    bool current() const { return count_ > 0 && sinceCharacter_ <= kCurrentBits; }
    // None of the last eight characters is one that no text has (the reading above takes dozens
    // to turn).
    bool clean() const { return count_ >= 8 && (recent_ & 0xffu) == 0; }

private:
    static constexpr int kEnough = 16;        // characters before the reading counts
    static constexpr double kCopying = 0.04;  // noise reads about 0.12
    static constexpr double kGarbage = 0.08;
    static constexpr double kWeight = 1.0 / 64;
    static constexpr int kCurrentBits = 32;
    std::uint32_t reg_ = 0;
    int len_ = 0;
    bool zero_ = false;
    bool lost_ = false;
    int count_ = 0;
    double garbled_ = 0;
    int sinceCharacter_ = 0; // bits since the last character was completed
    std::uint32_t recent_ = 0; // a bit a character, newest lowest: one that no text has
};

} // namespace psk
