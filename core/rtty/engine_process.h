#pragma once
// The RTTY engine program while it runs: kept so that the program's end can let it finish on
// its own before anything is forced.
class QProcess;

// Keeps a started engine process (it is forgotten when it is deleted).
void KeepEngineProcess(QProcess* process);
// True while a kept engine process runs.
bool EngineProcessRunning();
// Gives the kept engine processes up to graceMs, handling messages meanwhile (so a quit command
// just posted reaches them), to end; any still running then is killed.
void EndEngineProcesses(int graceMs);
// How many engine processes had to be killed so far.
int KilledEngineProcesses();
