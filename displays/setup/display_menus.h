#pragma once

struct MainWindowControls;
// The main window's commands that act on the displays: display kind, width and pen, frequency
// markers, audio-frequency scale, waterfall colours, always on top, the display panel, and the
// layout events that resize the display.
void mnuDisplayWidth_Click();
void mnuDisplayPen1_Click();
void mnuDisplayPen2_Click();
void mnuSpectrum_Click();
void mnuWaterfall_Click();
void mnuMarker_Click(int k); // 1..4
void mnuAudioFreq_Click();
void mnuWaterfallColors_Click();
void mnuOnTop_Click();
void mnuDisplay_Click();
// The main window's size changed: the display buffer and the scale follow.
void DisplayForm_Resize();
// The display panel's splitter was moved.
void Label_SplitterMoved();

// Attaches the displays' handlers to the main window: spectrum, waterfall, scale, readouts,
// palette, the channel and tuning windows and the display dialogs.
void ConnectDisplays(MainWindowControls& w);
