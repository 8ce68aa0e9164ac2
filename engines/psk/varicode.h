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

} // namespace psk
