#pragma once
// Each part of the program attaches its event handlers to the main window's controls and menu
// items here; the main window calls these once, after its controls exist.
struct MainWindowControls;

void ConnectReceiveRoad(MainWindowControls& w);   // modes, receive text, word capture, PTT options
void ConnectTransmitRoad(MainWindowControls& w);  // typing, transmit start/stop/abort
void ConnectDisplays(MainWindowControls& w);      // spectrum, waterfall, scale, readouts, palette
void ConnectLogbook(MainWindowControls& w);       // QSO panel and logbook commands
void ConnectRadioControl(MainWindowControls& w);  // radio settings, presets, split, Logger link, standalone
void ConnectMenuCommands(MainWindowControls& w);  // the main window's own menu switches and commands
void ConnectMacroButtons(MainWindowControls& w);  // macro buttons, their repeat and rows
