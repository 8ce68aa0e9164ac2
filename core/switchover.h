#pragma once
// What the program does when the engine reports that it has switched to transmit or receive.
void GoToTransmit();
void GoToReceive();
// Once per tick while the RTTY engine transmits: hands a pending stop request to the engine.
void RequestRTTYRxAfterTx();
