#pragma once
// The PSK engine's calls as the program makes them. Each is a replaceable function so tests can
// watch the calls and their order; Psk() starts with the real engine.
#include <cstdint>
#include <functional>

struct PskApi {
    using i32 = std::int32_t;
    std::function<i32(i32 hwnd, i32 device, i32 channels)> fnStartSoundCard;
    std::function<i32()> fnStopSoundCard;
    std::function<i32(i32 smoothing, i32 scale, i32 param3)> fnSetFFTMode;
    std::function<i32(i32 limit, i32 channel)> fnSetAFCLimit;
    std::function<i32(i32 ppm)> fnSetClockErrorAdjustment;
    std::function<i32(i32 hz, i32 afcRange, i32 channel)> fnSetRXFrequency;
    std::function<i32(i32 threshold, i32 speed, i32 channel)> fnSetSquelchThreshold;
    std::function<i32()> fnGetDLLVersion;
    std::function<i32(i32 mode, i32 channel)> fnSetRXPSKMode;
    std::function<i32(i32 port, i32 line)> fnSetComPort;
    std::function<i32(i32 code, i32 control)> fnSendTXCharacter;
    std::function<i32(i32 hz)> fnSetTXFrequency;
    std::function<i32(i32 mode)> fnStartTX;
    std::function<i32()> fnAbortTX;
    std::function<i32()> fnClearTXBuffer;
    std::function<i32(i32* data, i32 first, i32 last)> fnGetFFTData; // returns the overload flag
    std::function<i32(i32* data, i32 channel)> fnGetVectorData;      // 16 values
    std::function<i32(i32 channel)> fnGetSignalLevel;
    std::function<i32(i32 channel)> fnGetRXFrequency;
    std::function<i32(i32 speed)> fnSetCWIDSpeed;
    std::function<i32(const char* text)> fnSetCWIDString;
};

// The engine calls in force.
PskApi& Psk();
// Puts the real engine back (tests).
void ResetPsk();
