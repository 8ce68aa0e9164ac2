#include "displays/windows/tuning_window_aux1.h"

TuningWindowAux1::TuningWindowAux1()
    : TuningWindowAux(1, QStringLiteral("Aux 1 Rx Tuning Window"))
{
}

TuningWindowAux1& TuningWindowAux1::instance()
{
    return LoadTuningWindow<TuningWindowAux1>(1);
}

TuningWindowAux1* TuningWindowAux1::existing()
{
    return dynamic_cast<TuningWindowAux1*>(TuningWindowBase::existing(1));
}
