#pragma once
// The window of auxiliary receive channel 2 ("Aux Rx Channel 2", section [Aux 2]).
#include "displays/windows/aux_window.h"

class Aux2 : public AuxWindow {
    Q_OBJECT
public:
    // The loaded window, loaded (not shown) on first use.
    static Aux2& instance();
    static Aux2* existing();

    Aux2();
};
