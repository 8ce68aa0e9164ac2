#include "displays/readouts.h"

void ShowIMD(std::int32_t, std::int32_t) {}
void ClearIMD(std::int32_t) {}
void TrackRxFrequency() {}
