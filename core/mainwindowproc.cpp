#include "core/hookmodule.h"

// Engine, RTTY engine and Logger notifications to the main window.
std::optional<std::intptr_t> MainWindowProc(std::uint32_t, std::intptr_t, std::intptr_t)
{
    return std::nullopt;
}
