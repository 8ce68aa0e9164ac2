#pragma once
// The frequency and IMD readouts.
#include <cstdint>

void ShowIMD(std::int32_t value, std::int32_t channel);
void ClearIMD(std::int32_t channel);
void TrackRxFrequency();
