#pragma once
// Layout of the block shared with the RTTY engine ("MMTTY", 21204 bytes).
#include <cstdint>

namespace mmtty {
constexpr const char* kBlockName = "MMTTY";
constexpr int kBlockSize = 21204;
constexpr int kTitle = 4;            // engine window title, 64 bytes used
constexpr int kPortName = 132;       // PTT port name, 8 bytes used
constexpr int kStartFlag = 148;      // 32-bit
constexpr int kSpectrumReady = 152;  // 32-bit
constexpr int kSpectrum = 156;       // 2048 x 32-bit
constexpr int kXYReady = 8348;       // 32-bit
constexpr int kXYScopeX = 8352;      // 512 x 32-bit
constexpr int kXYScopeY = 10400;     // 512 x 32-bit
constexpr int kVersion = 12448;      // engine version text, 8 bytes used
constexpr int kPortName2 = 12464;    // second port name, 8 bytes used
constexpr int kLostSound = 12480;    // 32-bit
constexpr int kOverload = 12484;     // 32-bit
constexpr int kProfileNames = 12500; // slot n at 12500 + 64 n, 32 bytes used
constexpr int kProfileStride = 64;
constexpr int kEngineMessage = 13600; // the engine's message for the operator, 512 bytes, NUL ended
constexpr int kEngineMessageSize = 512;

// Zeroes the block and writes the fields that are set when it is created.
void Seed(unsigned char* block);
// Writes text, a NUL, then blanks up to `width` bytes (Windows-1252).
void PutPaddedText(unsigned char* at, const char* text, int width);
} // namespace mmtty
