#pragma once
// Stored phrases turned into main-window state through the menu handlers the operator would
// use, and the message for a stored value that is none of the known words. Words are compared
// exactly, letter case included.
#include <QString>
#include <initializer_list>

// "Error reading '<part>' part of the .INI file.  <value> does not appear to be a valid entry",
// titled ".INI Error", OK only.
void ShowINIValueError(const QString& part, const QString& value);

// A switch restored through its handler: the mark is set to the opposite of `on` and the
// handler inverts it (doing its work and storing its key). An item whose handler is not
// attached yet is left showing `on`.
void RestoreSwitch(const char* item, bool on);
// A choice made through its handler. An item whose handler is not attached yet is checked and
// its sisters unchecked.
void Choose(const char* item, std::initializer_list<const char*> sisters);

// A [Settings] phrase: "Net On"/"Net Off", display smoothing, CW ID speed, "LineWrap True"/
// "LineWrap False", "Slashed Zero True"/"Slashed Zero False", "Width 1"/"Width 2",
// "Long Squelch True"/"Long Squelch False"; any other value shows the message (part "Settings").
void ApplySettingsPhrase(const QString& value);

// "True"/"False" restore the overload warning; anything else does nothing.
void ApplyOverloadWarning(const QString& value);
// "As Typed", "ALL CAPS", "all lowercase"; else the message (part "Typing Preference").
void ApplyTypingPreference(const QString& value);
// "Spectrum" or "Waterfall"; else the message (part "Display").
void ApplyDisplayMode(const QString& value);
// "Tuning Window True"/"Tuning Window False"; else the message (part "Tuning Window").
void ApplyTuningWindow(const QString& value);
// "True"/"False" show or hide the QSO panel, only in standalone mode; else the message
// (part "Mini-Log"). Outside standalone mode nothing at all happens.
void ApplyMiniLogVisible(const QString& value);
// A [Form View] value: "On Top ..", "Control Panel ..", "Display ..", "StatusBar .." with
// " True"/" False", "Radio Auto", "Radio Simulated 1".."4", "Radio Disabled", "36Macros",
// "24Macros", "12Macros", "NoMacros"; else the message (part "Form View").
void ApplyFormViewSetting(const QString& value);
// "Fast" or "Slow"; anything else does nothing.
void ApplySquelchSpeed(const QString& value);

// The seven QSO panel entry boxes: background colour, text colour (decimal Windows RGB) and
// bold ("True"/"False"). A text that does not convert throws (inival::TypeMismatch,
// vb::OverflowError) before any box changes.
void SetMiniLogBackColor(const QString& value);
void SetMiniLogForeColor(const QString& value);
void SetMiniLogFontBold(const QString& value);
