#include "engines/psk/pskcore.h"

#include "engines/psk/engine.h"

using psk::Engine;

void pskSetMessagePoster(std::function<void(std::int32_t, std::uint32_t, std::intptr_t, std::intptr_t)> poster)
{
    Engine::instance().setPoster(std::move(poster));
}

std::int32_t fnStartSoundCard(std::int32_t hwnd, std::int32_t device, std::int32_t channels)
{
    return Engine::instance().start(hwnd, device, channels);
}

std::int32_t fnStopSoundCard()
{
    Engine::instance().stop();
    return 0;
}

std::int32_t fnSetFFTMode(std::int32_t smoothing, std::int32_t scale, std::int32_t)
{
    Engine::instance().setFftMode(smoothing, scale);
    return 0;
}

std::int32_t fnSetAFCLimit(std::int32_t limit, std::int32_t channel)
{
    Engine::instance().setAfcLimit(limit, channel);
    return 0;
}

std::int32_t fnSetClockErrorAdjustment(std::int32_t ppm)
{
    Engine::instance().setClockError(ppm);
    return 0;
}

std::int32_t fnSetRXFrequency(std::int32_t hz, std::int32_t afcRange, std::int32_t channel)
{
    Engine::instance().setRxFrequency(hz, afcRange, channel);
    return 0;
}

std::int32_t fnSetSquelchThreshold(std::int32_t threshold, std::int32_t speed, std::int32_t channel)
{
    Engine::instance().setSquelch(threshold, speed, channel);
    return 0;
}

std::int32_t fnGetDLLVersion() { return 100; }

std::int32_t fnSetRXPSKMode(std::int32_t mode, std::int32_t channel)
{
    Engine::instance().setRxMode(mode, channel);
    return 0;
}

std::int32_t fnSetComPort(std::int32_t port, std::int32_t line)
{
    return Engine::instance().setComPort(port, line);
}

std::int32_t fnSendTXCharacter(std::int32_t code, std::int32_t control)
{
    Engine::instance().sendCharacter(code, control != 0);
    return 0;
}

std::int32_t fnSetTXFrequency(std::int32_t hz)
{
    Engine::instance().setTxFrequency(hz);
    return 0;
}

std::int32_t fnStartTX(std::int32_t mode) { return Engine::instance().startTx(mode); }

std::int32_t fnAbortTX()
{
    Engine::instance().abortTx();
    return 0;
}

std::int32_t fnClearTXBuffer()
{
    Engine::instance().clearTx();
    return 0;
}

std::int32_t fnGetFFTData(std::int32_t* data, std::int32_t first, std::int32_t last)
{
    return data ? Engine::instance().fftData(data, first, last) : 0;
}

std::int32_t fnGetVectorData(std::int32_t* data, std::int32_t channel)
{
    if (data)
        Engine::instance().vectorData(data, channel);
    return 0;
}

std::int32_t fnGetSignalLevel(std::int32_t channel) { return Engine::instance().signalLevel(channel); }

std::int32_t fnGetRXFrequency(std::int32_t channel) { return Engine::instance().rxFrequency(channel); }

std::int32_t fnSetCWIDSpeed(std::int32_t speed)
{
    Engine::instance().setCwSpeed(speed);
    return 0;
}

std::int32_t fnSetCWIDString(const char* text)
{
    Engine::instance().setCwText(text ? text : "");
    return 0;
}
