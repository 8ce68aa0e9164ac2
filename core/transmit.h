#pragma once
// Starting, ending and aborting a transmission (the engine reports the switch itself).
void ToggleTransmit();
void AbortTransmit();
