#pragma once
// The drawing steps of an engine tick: spectrum or waterfall, scopes, mini spectra, signal bars.
void DrawEngineData();
