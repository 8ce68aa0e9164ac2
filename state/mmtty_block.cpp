#include "state/mmtty_block.h"

#include <cstring>

namespace mmtty {

void PutPaddedText(unsigned char* at, const char* text, int width)
{
    const int n = static_cast<int>(std::strlen(text));
    std::memset(at, ' ', static_cast<size_t>(width));
    std::memcpy(at, text, static_cast<size_t>(n < width ? n : width));
    if (n < width)
        at[n] = 0;
}

void Seed(unsigned char* block)
{
    std::memset(block, 0, kBlockSize);
    PutPaddedText(block + kTitle, "MMTTY Engine", 64);
    PutPaddedText(block + kPortName2, "NONE", 8);
    const std::int32_t one = 1;
    std::memcpy(block + kStartFlag, &one, sizeof one);
}

} // namespace mmtty
