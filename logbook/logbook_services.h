#pragma once
// What the rest of the program uses of the logbook: opening and closing it at start-up and
// shut-down, the band list, logging the QSO panel, the previous-QSO look-up, the two logbook
// pages, the QSO panel's handlers, and the hooks through which the logbook's windows plug in.
#include <QString>
#include <cstdint>

#include "logbook/callbook/cd_drive.h"
#include "logbook/qso/qso_logging.h"
#include "logbook/qso/qso_panel.h"
#include "logbook/store/database.h"
#include "logbook/store/logbook_page.h"
#include "logbook/windows/logbook_windows.h"
