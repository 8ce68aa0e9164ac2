#include "core/txtyping.h"

void SendTxChar(std::int16_t&)
{
}

void LineWrapKey(std::int16_t&)
{
}

void TypeCharToTxWindow(std::int16_t&)
{
}
