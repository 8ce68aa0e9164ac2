#include "core/rxtext.h"

void AppendRxText(RichText&, const QString&, std::int32_t, bool)
{
}

void TrimRichText(RichText&)
{
}

void ShowControlCodeName(int)
{
}

void RxBackspace(RichText&)
{
}

void EchoToRxWindow(const QString&)
{
}
