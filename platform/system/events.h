#pragma once
// Waiting loops yield to the event queue through here; every wait ends once the program closes.
#include <QCursor>

namespace events {
// Handles pending events once (VB DoEvents).
void DoEvents();
// Set when the program starts closing; waits check it and give up.
bool ProgramClosing();
void SetProgramClosing(bool closing);
} // namespace events

// Shows the busy pointer for as long as it lives.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
