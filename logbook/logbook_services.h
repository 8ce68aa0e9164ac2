#pragma once
// What the rest of the program uses of the logbook: opening and closing it at start-up and
// shut-down, the band list, logging the QSO panel, the previous-QSO look-up, the two logbook
// pages, the QSO panel's handlers, and the hooks through which the logbook's windows plug in.
#include <QString>
#include <cstdint>

#include "logbook/cd_drive.h"
#include "logbook/logbook_page.h"
#include "logbook/logbook_windows.h"
#include "logbook/qso_logging.h"
#include "logbook/qso_panel.h"

// Opens the logbook file "Logbook" in the program folder, creating it when missing, and sets
// QSOCounter to the record count plus one; reports a failure with the logbook error box.
void OpenLogbook();
// Fills the band box with the band names.
void LoadBands();
// Closes the logbook; the record library's status.
std::int16_t CloseLogbook(std::int32_t handle);
// "QSO # " and QSOCounter less QSOOffsetCounter, on the menu item mnuSerialNum.
void ShowQSOCounter();
