#pragma once
// What the macro interpreter reaches through replaceable functions: the pass of the message
// queue between two typed characters (and between two bytes of a text file). Tests replace it to
// act in the middle of a macro (an abort, a second macro); the default handles pending events.
#include <functional>

struct MacroHookTable {
    std::function<void()> Yield;
};

// The hooks in force.
MacroHookTable& MacroHooks();
// Puts the defaults back (tests).
void ResetMacroHooks();
