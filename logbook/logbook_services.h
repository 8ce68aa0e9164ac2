#pragma once
// What the rest of the program uses of the logbook at start-up and shut-down.
#include <QString>
#include <cstdint>

#include "logbook/cd_drive.h"

// Opens the logbook file "Logbook" in the program folder, creating it when missing.
void OpenLogbook();
// Fills the band box with the band names.
void LoadBands();
// Closes the logbook; the record library's status.
std::int16_t CloseLogbook(std::int32_t handle);
