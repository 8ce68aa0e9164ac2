#pragma once
// The PSK engine calls of the program, one thin function each over psk::Engine. Window
// handles are small integers; notifications are posted through the installed poster from
// the engine's own thread: 2024 data ready (Hz, level), 2025 character (code, channel or -1
// for an echo), 2026 status (0 receive, 1 transmit, 2 overload, 10..32 error), 2027 IMD
// (dB, channel). Every setter may be called before fnStartSoundCard and is applied at start.
#include <cstdint>
#include <functional>

// Installs the function that delivers engine notifications (must be thread-safe).
void pskSetMessagePoster(std::function<void(std::int32_t hwnd, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)> poster);

// Opens the sound device (-1 default) and starts `channels` receive channels; 0 = ok, 10..32 an error code.
std::int32_t fnStartSoundCard(std::int32_t hwnd, std::int32_t device, std::int32_t channels);
// Stops sound processing, drops PTT and ends a transmission.
std::int32_t fnStopSoundCard();
// Spectrum smoothing (1 none, 3 medium, 6 heavy), scale (display units for 30 dB above the noise floor, 100 usual), unused.
std::int32_t fnSetFFTMode(std::int32_t smoothing, std::int32_t scale, std::int32_t reserved);
// AFC limit of a channel: 0 turns AFC off, anything above lets it follow within the AFC range.
std::int32_t fnSetAFCLimit(std::int32_t limit, std::int32_t channel);
// Sound card clock error in parts per million (positive: the card runs fast); corrected by resampling.
std::int32_t fnSetClockErrorAdjustment(std::int32_t ppm);
// Tunes a channel to hz; with afcRange > 0 a signal within that many Hz is searched for and followed.
std::int32_t fnSetRXFrequency(std::int32_t hz, std::int32_t afcRange, std::int32_t channel);
// Squelch threshold 0..100 against the signal quality, speed 0 fast / 1 slow, for a channel.
std::int32_t fnSetSquelchThreshold(std::int32_t threshold, std::int32_t speed, std::int32_t channel);
// Engine version in hundredths.
std::int32_t fnGetDLLVersion();
// Receive mode of a channel: 0 BPSK, 1 QPSK, 2 inverted QPSK, 3 Tune.
std::int32_t fnSetRXPSKMode(std::int32_t mode, std::int32_t channel);
// PTT port 0..8 (0 none) and line 0 none, 1 RTS, 2 DTR, 3 both; returns 0 when the port cannot be opened.
std::int32_t fnSetComPort(std::int32_t port, std::int32_t line);
// Queues a character (control 0) or a control code (control non-zero: 1 receive after the queue, 2 CW ID, 3 short preamble).
std::int32_t fnSendTXCharacter(std::int32_t code, std::int32_t control);
// Transmit audio frequency in Hz.
std::int32_t fnSetTXFrequency(std::int32_t hz);
// Starts transmitting in a mode (0 BPSK, 1 QPSK, 2 inverted QPSK, 3 Tune); 14 when the sound card is not open.
std::int32_t fnStartTX(std::int32_t mode);
// Ends a transmission at once and drops everything queued.
std::int32_t fnAbortTX();
// Drops the queued characters not yet begun.
std::int32_t fnClearTXBuffer();
// Copies spectrum bins first..last (0..1023, values about 0..1000); returns 1 while the input overloads.
std::int32_t fnGetFFTData(std::int32_t* data, std::int32_t first, std::int32_t last);
// Copies eight (x, y) phase-scope points of a channel into data[16].
std::int32_t fnGetVectorData(std::int32_t* data, std::int32_t channel);
// Signal level 0..100 of a channel.
std::int32_t fnGetSignalLevel(std::int32_t channel);
// Present receive frequency of a channel in whole Hz (follows AFC).
std::int32_t fnGetRXFrequency(std::int32_t channel);
// CW identification speed: 1 = 37, 2 = 19, 3 = 12, 4 = 9 words per minute.
std::int32_t fnSetCWIDSpeed(std::int32_t speed);
// CW identification text (one byte per character, Windows-1252).
std::int32_t fnSetCWIDString(const char* text);
