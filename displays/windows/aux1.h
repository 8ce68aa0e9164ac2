#pragma once
// The window of auxiliary receive channel 1 ("Aux Rx Channel 1", section [Aux 1]).
#include "displays/windows/aux_window.h"

class Aux1 : public AuxWindow {
    Q_OBJECT
public:
    // The loaded window, loaded (not shown) on first use.
    static Aux1& instance();
    static Aux1* existing();

    Aux1();
};
