#pragma once
// What the engine tick draws into the tuning windows: the frames of the zoomed spectra, one
// bin of each zoomed spectrum, the RTTY XY scope, and the signal bars.

// Step 12: clears the zoomed spectra and draws their frame lines; clears the XY scope in RTTY.
void DrawTuningFrames();

// Per-tick facts the bin loop needs, gathered once.
struct MiniSpectrumPass {
    bool receiveShown = false; // the main window's indicator reads "Receive"
    bool psk = true;
};
MiniSpectrumPass BeginMiniSpectra();
// The bin into every shown tuning window whose bin range holds it.
void DrawMiniSpectrumBin(const MiniSpectrumPass& pass, int bin, double value);
// RTTY XY scope, one bin: keeps the sample slots and plots the slot's dot.
void DrawXYScopeBin(int bin);
// Step 17: zoomed spectra to screen, signal levels, bars and their colours.
void DrawSignalBars();
