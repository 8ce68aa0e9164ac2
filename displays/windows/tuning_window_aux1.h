#pragma once
// The tuning window of auxiliary channel 1, opened from `Aux1`'s "Show tuning window".
#include "displays/windows/tuning_window_aux.h"

class TuningWindowAux1 : public TuningWindowAux {
    Q_OBJECT
public:
    // The loaded window, loaded (not shown) on first use.
    static TuningWindowAux1& instance();
    static TuningWindowAux1* existing();

    TuningWindowAux1();
};
