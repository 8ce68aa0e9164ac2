#include "displays/windows/aux1.h"

Aux1::Aux1()
    : AuxWindow(1, QStringLiteral("Aux Rx Channel 1"))
{
}

Aux1& Aux1::instance()
{
    return LoadAuxWindow<Aux1>(1);
}

Aux1* Aux1::existing()
{
    return dynamic_cast<Aux1*>(AuxWindow::existing(1));
}
