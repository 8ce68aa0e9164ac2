#pragma once
// Typing into the transmit window: line wrap, case, slashed zero, and each character to the engine.
#include <cstdint>

void SendTxChar(std::int16_t& code);
void LineWrapKey(std::int16_t& code);
// Types one character into the transmit window as if typed (macros and text files use it).
void TypeCharToTxWindow(std::int16_t& code);
