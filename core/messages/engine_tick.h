#pragma once
// One engine tick (PSK data ready or RTTY data): pumps the radio poll and the Logger check,
// counts down the lights, flushes the pending text and has the displays drawn.
void OnEngineTick();

// The pending text of every channel into the receive windows (the tick's flush step).
void FlushPendingText();
