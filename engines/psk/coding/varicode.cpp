#include "engines/psk/coding/varicode.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace psk {
namespace {

// Codes 0..127 as published with the mode.
const char* const kAscii[128] = {
    "1010101011", "1011011011", "1011101101", "1101110111", "1011101011", "1101011111",
    "1011101111", "1011111101", "1011111111", "11101111",   "11101",      "1101101111",
    "1011011101", "11111",      "1101110101", "1110101011", "1011110111", "1011110101",
    "1110101101", "1110101111", "1101011011", "1101101011", "1101101101", "1101010111",
    "1101111011", "1101111101", "1110110111", "1101010101", "1101011101", "1110111011",
    "1011111011", "1101111111", "1",          "111111111",  "101011111",  "111110101",
    "111011011",  "1011010101", "1010111011", "101111111",  "11111011",   "11110111",
    "101101111",  "111011111",  "1110101",    "110101",     "1010111",    "110101111",
    "10110111",   "10111101",   "11101101",   "11111111",   "101110111",  "101011011",
    "101101011",  "110101101",  "110101011",  "110110111",  "11110101",   "110111101",
    "111101101",  "1010101",    "111010111",  "1010101111", "1010111101", "1111101",
    "11101011",   "10101101",   "10110101",   "1110111",    "11011011",   "11111101",
    "101010101",  "1111111",    "111111101",  "101111101",  "11010111",   "10111011",
    "11011101",   "10101011",   "11010101",   "111011101",  "10101111",   "1101111",
    "1101101",    "101010111",  "110110101",  "101011101",  "101110101",  "101111011",
    "1010101101", "111110111",  "111101111",  "111111011",  "1010111111", "101101101",
    "1011011111", "1011",       "1011111",    "101111",     "101101",     "11",
    "111101",     "1011011",    "101011",     "1101",       "111101011",  "10111111",
    "11011",      "111011",     "1111",       "111",        "111111",     "110111111",
    "10101",      "10111",      "101",        "110111",     "1111011",    "1101011",
    "11011111",   "1011101",    "111010101",  "1010110111", "110111011",  "1010110101",
    "1011010111", "1110110101"};

bool validPattern(std::uint32_t v, int len)
{
    if (!(v & 1) || !((v >> (len - 1)) & 1))
        return false;
    for (int i = 0; i + 1 < len; ++i)
        if (!((v >> i) & 3))
            return false;
    return true;
}

std::string toBits(std::uint32_t v, int len)
{
    std::string s(len, '0');
    for (int i = 0; i < len; ++i)
        if ((v >> (len - 1 - i)) & 1)
            s[i] = '1';
    return s;
}

struct Tables {
    std::array<std::string, 256> bits;
    std::unordered_map<std::uint64_t, int> lookup; // (length << 32 | pattern) -> code
    Tables()
    {
        for (int c = 0; c < 128; ++c)
            bits[c] = kAscii[c];
        std::unordered_map<std::string, bool> used;
        for (int c = 0; c < 128; ++c)
            used[bits[c]] = true;
        // Codes 128..255 take the unused patterns in order of length, then of value.
        int next = 128;
        for (int len = 1; next < 256 && len <= 16; ++len)
            for (std::uint32_t v = 1u << (len - 1); next < 256 && v < (1u << len); ++v)
                if (validPattern(v, len) && !used.count(toBits(v, len)))
                    bits[next++] = toBits(v, len);
        for (int c = 0; c < 256; ++c) {
            std::uint32_t v = 0;
            for (char b : bits[c])
                v = (v << 1) | (b == '1');
            lookup[(std::uint64_t(bits[c].size()) << 32) | v] = c;
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

} // namespace

const std::string& varicodeBits(std::uint8_t code) { return tables().bits[code]; }

int varicodeLookup(std::uint32_t pattern, int length)
{
    if (length <= 0 || length > 16)
        return -1;
    auto it = tables().lookup.find((std::uint64_t(length) << 32) | pattern);
    return it == tables().lookup.end() ? -1 : it->second;
}

int VaricodeDecoder::push(int bit)
{
    if (bit) {
        if (zero_) {
            reg_ <<= 1;
            ++len_;
            zero_ = false;
        }
        reg_ = (reg_ << 1) | 1u;
        ++len_;
        if (len_ > 16) { // no character is this long: wait for the next gap
            reg_ = 0;
            len_ = 0;
            lost_ = true;
        }
        return -1;
    }
    if (len_ == 0 && !lost_)
        return -1;
    if (!zero_) {
        zero_ = true;
        return -1;
    }
    int c = lost_ ? -1 : varicodeLookup(reg_, len_);
    reset();
    return c;
}

void TextMeter::push(int bit)
{
    ++sinceCharacter_;
    if (bit) {
        if (zero_) {
            reg_ <<= 1;
            ++len_;
        }
        zero_ = false;
        reg_ = (reg_ << 1) | 1u;
        lost_ = lost_ || ++len_ > 16;
        return;
    }
    if (len_ == 0 || !zero_) { // idle, or the first zero after a character's last one bit
        zero_ = len_ > 0;
        return;
    }
    const int c = lost_ ? -1 : varicodeLookup(reg_, len_);
    // Text: the printable characters, the line breaks and the accented letters.
    const bool text = (c >= 32 && c <= 126) || c == 10 || c == 13 || c >= 192;
    ++count_;
    sinceCharacter_ = 0;
    recent_ = (recent_ << 1) | (text ? 0u : 1u);
    garbled_ += std::max(kWeight, 1.0 / count_) * ((text ? 0.0 : 1.0) - garbled_);
    reg_ = 0;
    len_ = 0;
    zero_ = false;
    lost_ = false;
}

} // namespace psk
