#pragma once
// The drawing steps of an engine tick: the engine's spectrum and scope data are fetched, the
// spectrum or waterfall, the phase or XY scopes and the zoomed spectra are drawn bin by bin,
// the receive frequencies are followed and the signal bars are drawn. Everything drawn goes to
// back buffers that reach the screen once per tick. Nothing here throws: a step that cannot be
// done (a zero divisor, a missing window) is skipped.
#include <cstdint>

// Steps 11 to 17 of the tick: fetch, tuning-window frames, main display buffer, the bins,
// display to screen, frequency trackers, signal bars.
void DrawEngineData();

// Step 11 alone: PSK engine vector and FFT data, or the RTTY engine's block.
void FetchEngineData();
// One phase-scope segment of channel 0, 1 or 2.
void DrawVectorMain();
void DrawVectorAux1();
void DrawVectorAux2();
