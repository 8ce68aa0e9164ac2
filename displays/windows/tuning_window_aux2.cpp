#include "displays/windows/tuning_window_aux2.h"

TuningWindowAux2::TuningWindowAux2()
    : TuningWindowAux(2, QStringLiteral("Aux 2 Rx Tuning window"))
{
}

TuningWindowAux2& TuningWindowAux2::instance()
{
    return LoadTuningWindow<TuningWindowAux2>(2);
}

TuningWindowAux2* TuningWindowAux2::existing()
{
    return dynamic_cast<TuningWindowAux2*>(TuningWindowBase::existing(2));
}
