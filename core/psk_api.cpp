#include "core/psk_api.h"

namespace {

PskApi realEngine()
{
    using i32 = std::int32_t;
    PskApi p;
    p.fnStartSoundCard = [](i32, i32, i32) { return i32{21}; };
    p.fnStopSoundCard = [] { return i32{0}; };
    p.fnSetFFTMode = [](i32, i32, i32) { return i32{0}; };
    p.fnSetAFCLimit = [](i32, i32) { return i32{0}; };
    p.fnSetClockErrorAdjustment = [](i32) { return i32{0}; };
    p.fnSetRXFrequency = [](i32, i32, i32) { return i32{0}; };
    p.fnSetSquelchThreshold = [](i32, i32, i32) { return i32{0}; };
    p.fnGetDLLVersion = [] { return i32{0}; };
    p.fnSetRXPSKMode = [](i32, i32) { return i32{0}; };
    p.fnSetComPort = [](i32, i32) { return i32{0}; };
    p.fnSendTXCharacter = [](i32, i32) { return i32{0}; };
    p.fnSetTXFrequency = [](i32) { return i32{0}; };
    p.fnStartTX = [](i32) { return i32{0}; };
    p.fnAbortTX = [] { return i32{0}; };
    p.fnClearTXBuffer = [] { return i32{0}; };
    p.fnGetFFTData = [](i32*, i32, i32) { return i32{0}; };
    p.fnGetVectorData = [](i32*, i32) { return i32{0}; };
    p.fnGetSignalLevel = [](i32) { return i32{0}; };
    p.fnGetRXFrequency = [](i32) { return i32{0}; };
    p.fnSetCWIDSpeed = [](i32) { return i32{0}; };
    p.fnSetCWIDString = [](const char*) { return i32{0}; };
    return p;
}

PskApi& current()
{
    static PskApi api = realEngine();
    return api;
}

} // namespace

PskApi& Psk()
{
    return current();
}

void ResetPsk()
{
    current() = realEngine();
}
