#pragma once
// The macro store: two sets ("Macro" for the PSK engine, "RTTY Macro" for the RTTY engine) of 36
// buttons, fourteen keys each, in the settings file; the text encoding, the caption rule and the
// length limit.
#include <QString>

constexpr int kMacroTextLimit = 3000; // characters of a stored (encoded) macro text

// The set in use: "Macro" while the PSK engine is active, else "RTTY Macro".
QString ActiveMacroSection();

// Text to store: each carriage return becomes "~", line feeds are dropped.
QString MacroTextToStore(const QString& text);

// A stored macro text of button n, whole (up to the limit), trimmed and cut at a NUL.
QString ReadStoredMacroText(const QString& section, int n);

// A caption as stored: the first "Chr$(" with a ")" behind it turns the whole caption into the one
// character of that code (a code outside 1..255 keeps the caption as typed); then an empty
// caption becomes " ".
QString MacroCaptionRule(const QString& caption);

// The "Too verbose" box for an encoded text of `length` characters.
void ShowMacroTooLong(int length);

// Writes the fourteen keys of button n from element n of the macro arrays (the text given
// already encoded) into `section`, in store order.
void WriteMacroButton(const QString& section, int n, const QString& encodedText);
