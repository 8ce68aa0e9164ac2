#include "state/psk_api.h"

#include "engines/psk/pskcore.h"
#include "platform/processes/winmsg.h"

namespace {

PskApi realEngine()
{
    // The engine's notifications reach the main window as window messages, from its own thread.
    pskSetMessagePoster([](std::int32_t hwnd, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
        win::PostMessage(hwnd, msg, wParam, lParam);
    });
    PskApi p;
    p.fnStartSoundCard = ::fnStartSoundCard;
    p.fnStopSoundCard = ::fnStopSoundCard;
    p.fnSetFFTMode = ::fnSetFFTMode;
    p.fnSetAFCLimit = ::fnSetAFCLimit;
    p.fnSetClockErrorAdjustment = ::fnSetClockErrorAdjustment;
    p.fnSetRXFrequency = ::fnSetRXFrequency;
    p.fnSetSquelchThreshold = ::fnSetSquelchThreshold;
    p.fnGetDLLVersion = ::fnGetDLLVersion;
    p.fnSetRXPSKMode = ::fnSetRXPSKMode;
    p.fnSetComPort = ::fnSetComPort;
    p.fnSendTXCharacter = ::fnSendTXCharacter;
    p.fnSetTXFrequency = ::fnSetTXFrequency;
    p.fnStartTX = ::fnStartTX;
    p.fnAbortTX = ::fnAbortTX;
    p.fnClearTXBuffer = ::fnClearTXBuffer;
    p.fnGetFFTData = ::fnGetFFTData;
    p.fnGetVectorData = ::fnGetVectorData;
    p.fnGetSignalLevel = ::fnGetSignalLevel;
    p.fnGetRXFrequency = ::fnGetRXFrequency;
    p.fnSetCWIDSpeed = ::fnSetCWIDSpeed;
    p.fnSetCWIDString = ::fnSetCWIDString;
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
