#pragma once
// Mouse actions on the display and its scale: click-to-tune, the right-click move of the radio,
// the RTTY notch, and the "Reset" label. Positions are in twips.

// Left: tune the main channel (no key), channel 1 (Alt) or channel 2 (Ctrl). Right: move the
// radio so that the clicked signal lands on the preset receive frequency.
void Spectrum_MouseDown(int button, int shift, double x, double y);
void Graticule_MouseDown(int button, int shift, double x);
void Graticule_Click();
// The kHz labels 1..4 of the scale.
void ScaleLabel_MouseDown(int k, int button);
void ScaleLabel_Click(int k);
void Label3_Click(); // "Reset"
