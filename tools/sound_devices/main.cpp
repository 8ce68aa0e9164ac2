// Lists the sound devices that Sondrel can use, with the names that SONDREL_AUDIO=device:NAME
// matches.
//   sondrel-sound-devices            the list
//   sondrel-sound-devices --check    no output; exit 0 when a capture and a playback device exist
#include <cstdio>
#include <cstring>
#include <string>

#include "engines/sound/audio.h"

int main(int argc, char** argv)
{
    const auto list = sound::listSoundDevices();
    if (argc > 1 && std::strcmp(argv[1], "--check") == 0) {
        bool capture = false, playback = false;
        for (const auto& d : list) {
            capture = capture || d.inputs > 0;
            playback = playback || d.outputs > 0;
        }
        return capture && playback ? 0 : 1;
    }
    const std::string trouble = sound::takeAudioError(); // the sound system did not answer
    std::printf("%s\n", (list.empty() && !trouble.empty() ? trouble : sound::describeDevices(list)).c_str());
    return 0;
}
