#pragma once
// What keys a transmitter at this moment, by file descriptor: the serial lines raised for PTT and
// the command that releases a radio keyed by a command. Kept so that the transmitter can be
// released directly when the normal way cannot run: a shut-down that has not finished soon
// after a termination signal, or the process ending through exit() with something still keyed.
//
// Every owner of such a descriptor says what it keyed and calls forget() before it closes the
// descriptor. One table serves the whole process: a component loaded as a plug-in uses its
// host's (the host publishes it before loading any component).
#include <QByteArray>

namespace pttguard {

// How long a direct release waits for a release command to leave the port.
constexpr int kDrainMs = 300;

// The RTS and DTR bits (TIOCM_RTS, TIOCM_DTR) that key a transmitter on fd now; 0 for none.
void setLines(int fd, int bits);
// The command that releases the radio keyed by a command on fd; empty when none is keyed.
void setReleaseCommand(int fd, const QByteArray& command);
// Nothing on fd is kept any more (call before closing it).
void forget(int fd);
// Something is keyed.
bool keyed();

// Drops every line kept and writes every release command kept, waiting up to drainMs for the
// commands to leave the port; then nothing is kept. Safe from any thread.
void releaseAll(int drainMs = kDrainMs);

// The same from a signal handler (a crash): does nothing when the table is being changed at
// that moment, since waiting could never end.
void releaseAllFromSignalHandler(int drainMs = kDrainMs);

// For the host: makes this module's table the one that plug-ins loaded from now on use.
void publish();

} // namespace pttguard
