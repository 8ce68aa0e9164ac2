#include "support/temp_home.h"

TempHome::TempHome()
{
    hadPrevious_ = qEnvironmentVariableIsSet("SONDREL_HOME");
    previous_ = qgetenv("SONDREL_HOME");
    qputenv("SONDREL_HOME", dir_.path().toLocal8Bit());
}

TempHome::~TempHome()
{
    if (hadPrevious_)
        qputenv("SONDREL_HOME", previous_);
    else
        qunsetenv("SONDREL_HOME");
}
