#pragma once
// PTT that the program keys itself: by command or on the radio's own port, through the radio
// control component (standalone) or the Logger. "Serial Port" PTT is keyed by the engine.
void KeyProgramPTT();
// Releases it; run at every end of a transmission, keyed or not.
void ReleaseProgramPTT();
// The program keyed PTT and has not released it since.
bool ProgramPTTKeyed();
