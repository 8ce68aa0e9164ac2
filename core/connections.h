#pragma once
// Each part of the program attaches its event handlers to the main window's controls and menu
// items here; the main window calls these once, after its controls exist.
class Sondrel;

void ConnectReceiveRoad(Sondrel& w);   // modes, receive text, word capture, PTT options
void ConnectTransmitRoad(Sondrel& w);  // typing, transmit start/stop/abort
void ConnectDisplays(Sondrel& w);      // spectrum, waterfall, scale, readouts, palette
void ConnectLogbook(Sondrel& w);       // QSO panel and logbook commands
void ConnectRadioControl(Sondrel& w);  // radio settings, presets, split, Logger link, standalone
void ConnectMenuCommands(Sondrel& w);  // the main window's own menu switches and commands
void ConnectMacroButtons(Sondrel& w);  // macro buttons, their repeat and rows
