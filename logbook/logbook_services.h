#pragma once
// What the rest of the program uses of the logbook: opening and closing it at start-up and
// shut-down, the band list, logging the QSO panel, the previous-QSO look-up, the two logbook
// pages, the QSO panel's handlers, and the hooks through which the logbook's windows plug in.
#include <QString>
#include <cstdint>

#include "logbook/cd_drive.h"
#include "logbook/database.h"
#include "logbook/logbook_page.h"
#include "logbook/logbook_windows.h"
#include "logbook/qso_logging.h"
#include "logbook/qso_panel.h"
