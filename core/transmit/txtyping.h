#pragma once
// Typing into the transmit window: line wrap, case, slashed zero, and each character to the
// engine; the special keys, pastes and the freeze of the receive windows. Everything here works
// on the main window's rich-text adapter, so it runs without real key events.
#include <QString>
#include <cstdint>

// Hands one character to the active engine.
void SendTxChar(std::int16_t& code);
// The wrap step for one character (may send a carriage return first, or turn a space into
// one), then sends it. Codes 10 and 0 or below are neither wrapped nor sent.
void LineWrapKey(std::int16_t& code);
// Types one character into the transmit window as if typed (macros and text files use it).
void TypeCharToTxWindow(std::int16_t& code);

// A key as the program knows it: key code (Pause 19, Esc 27, Insert 45, F1..F12 112..123, ...),
// shift state (Shift 1, Ctrl 2, Alt 4) and the character it types (0: none).
struct TxKey {
    int keyCode = 0;
    int shift = 0;
    int ascii = 0;
};

// One key pressed in the transmit window: key-down, then the typed character, which is sent,
// and shown at the end of the window. True when the text control should still handle the key
// itself (caret movement, Delete, copy and paste, Insert).
bool TxWindowKey(const TxKey& key);
// Text dropped or pasted into the transmit window: added at its end; the change sends it.
void TxWindowPaste(const QString& text);

// The steps one key goes through (TxWindowKey runs them in order).
void TxWindow_KeyDown(int& keyCode, int& shift);
void TxWindowKeyDown(int& keyCode, int& shift);
void TxWindow_KeyPress(std::int16_t& keyAscii);
// After every change of the transmit window's length: sends text that arrived three or more
// characters at once (a paste).
void TxWindow_Change();
void TxWindow_MouseDown();
void TxWindow_MouseUp();

// Insert key: freezes the receive windows, or lets them run again.
void ToggleRxFreeze();
