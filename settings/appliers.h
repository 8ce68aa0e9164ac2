#pragma once
// Stored phrases turned into main-window state through the menu handlers the operator would
// use, and the message for a stored value that is none of the known words.
#include <QString>

// "Error reading '<part>' part of the .INI file.  <value> does not appear to be a valid entry",
// titled ".INI Error", OK only.
void ShowINIValueError(const QString& part, const QString& value);

// A [Settings] phrase: "Net On"/"Net Off", display smoothing, CW ID speed, "LineWrap True"/
// "LineWrap False", "Slashed Zero True"/"Slashed Zero False", "Width 1"/"Width 2",
// "Long Squelch True"/"Long Squelch False"; any other value shows the message (part "Settings").
void ApplySettingsPhrase(const QString& value);
