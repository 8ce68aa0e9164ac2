#include "displays/windows/aux2.h"

Aux2::Aux2()
    : AuxWindow(2, QStringLiteral("Aux Rx Channel 2"))
{
}

Aux2& Aux2::instance()
{
    return LoadAuxWindow<Aux2>(2);
}

Aux2* Aux2::existing()
{
    return dynamic_cast<Aux2*>(AuxWindow::existing(2));
}
