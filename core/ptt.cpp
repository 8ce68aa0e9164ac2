#include "core/ptt.h"

void doPTTSetup() {}
void mnuPTTOptions_Click() {}
