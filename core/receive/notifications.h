#pragma once
// The engines' and the Logger's notifications to the main window, as the window procedure
// (core/messages/hookmodule.h: MainWindowProc) hands them on.
#include <cstdint>

#include "platform/vb/resume_next.h"

// The PSK engine's messages.
constexpr std::uint32_t kPskDataReady = 2024; // wParam Hz of the main channel, lParam level 0..100
constexpr std::uint32_t kPskCharacter = 2025; // wParam code, lParam channel 0..2 or -1 (echo)
constexpr std::uint32_t kPskStatus = 2026;    // wParam 0 receive, 1 transmit, 2 overload, else error
constexpr std::uint32_t kPskIMD = 2027;       // wParam dB, lParam channel

// RTTY engine notifications arrive as the registered message with 0x8000 + code.
// (They are handled by core/messages/mmtty_notify.h.)
constexpr std::int32_t kMMTTYNotifyBase = 0x8000;

// One character that an engine reports as transmitted: into the echo buffer, and marked as
// sent in the transmit window when the transmit buffer indicator is on. A "0" becomes the
// slashed zero (216) in ch when slashed zero is on.
void EchoTxChar(std::int16_t& ch);
