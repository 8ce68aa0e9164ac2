// Opens a record file, adds the records named on the command line (key, call sign pairs) and then
// kills itself without closing or flushing, as a crash or a power switch would.
#include "logbook/store/vmx.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::int32_t handle = 0;
    std::int16_t status = VmxOpen(argv[1], 1, 1, handle, "");
    if (status != VmxOk) {
        std::fprintf(stderr, "open: %s\n", VmxReturnCode(status).c_str());
        return 3;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        status = VmxPut(handle, argv[i], VmxRecord{argv[i + 1], "W1OP"}, VmxAdd);
        if (status != VmxOk) {
            std::fprintf(stderr, "put: %s\n", VmxReturnCode(status).c_str());
            return 4;
        }
    }
    ::kill(::getpid(), SIGKILL);
    return 5;
}
