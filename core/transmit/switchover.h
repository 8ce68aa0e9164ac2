#pragma once
// What the program does when the engine reports that it has switched to transmit or receive.
void GoToTransmit();
// Releases PTT keyed by the program, shows "Receive", empties the transmit window, re-arms a
// repeating macro, logs when a macro asked for it, and brings the radio back from a split
// frequency (once per transmission).
void GoToReceive();
// Once per tick while the RTTY engine transmits: hands a pending stop request to the engine.
void RequestRTTYRxAfterTx();
// Forgets a pending return from the split frequency (a fresh main window; tests).
void ResetSwitchOver();
