#pragma once
// The tuning window of auxiliary channel 2, opened from `Aux2`'s "Show tuning window".
#include "displays/windows/tuning_window_aux.h"

class TuningWindowAux2 : public TuningWindowAux {
    Q_OBJECT
public:
    // The loaded window, loaded (not shown) on first use.
    static TuningWindowAux2& instance();
    static TuningWindowAux2* existing();

    TuningWindowAux2();
};
