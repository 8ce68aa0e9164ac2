// Runs a WAV recording (16-bit, 8000 samples/s) through the RTTY engine's receiver as fast as it
// can and prints the decoded text.
//   rtty_decode [-m MARK_HZ] [-s SPACE_HZ] [-b BAUD] [-u] [-a] FILE.wav
// Mark and space may be either way round; -u turns unshift-on-space on, -a the AFC; otherwise
// the engine's default switches.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engines/sound/wavfile.h"
#include "engines/rtty/baudot.h"
#include "engines/rtty/fsk.h"

namespace {

int usage(const char* prog)
{
    std::fprintf(stderr, "usage: %s [-m MARK_HZ] [-s SPACE_HZ] [-b BAUD] [-u] [-a] FILE.wav\n", prog);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    double mark = rtty::kDefaultMarkHz, space = rtty::kDefaultMarkHz + rtty::kDefaultShiftHz;
    double baud = rtty::kDefaultBaud;
    bool uos = false, afc = false;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "-m" && hasValue)
            mark = std::atof(argv[++i]);
        else if (a == "-s" && hasValue)
            space = std::atof(argv[++i]);
        else if (a == "-b" && hasValue)
            baud = std::atof(argv[++i]);
        else if (a == "-u")
            uos = true;
        else if (a == "-a")
            afc = true;
        else if (!a.empty() && a[0] != '-' && file.empty())
            file = a;
        else
            return usage(argv[0]);
    }
    if (file.empty())
        return usage(argv[0]);
    if (!(mark > 0 && mark < 4000 && space > 0 && space < 4000) || !rtty::usableShift(space - mark)) {
        std::fprintf(stderr, "%s: mark %.0f Hz and space %.0f Hz are not a usable pair of tones\n", argv[0], mark, space);
        return 2;
    }
    if (!rtty::usableBaud(baud)) {
        std::fprintf(stderr, "%s: %g Bd is not a usable rate (%g to %g)\n", argv[0], baud, rtty::kMinBaud, rtty::kMaxBaud);
        return 2;
    }

    sound::WavReader reader;
    if (int rc = reader.open(file)) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), rc == 17 ? "not 16-bit PCM at 8000 samples/s" : "cannot read");
        return 1;
    }
    rtty::FskDemodulator demod;
    demod.setBaud(baud);
    demod.setTones(mark, space);
    demod.setAfc(afc);
    demod.setBandPass(true); // and the squelch at its usual level, as the engine starts
    demod.setSquelch(20);
    rtty::BaudotDecoder decoder;
    decoder.setUnshiftOnSpace(uos);
    std::string text;
    std::vector<std::int16_t> samples(1024);
    std::vector<float> block;
    std::vector<std::uint8_t> codes;
    auto take = [&] {
        for (std::uint8_t c : codes)
            if (auto ch = decoder.decode(c))
                if (*ch != '\n')
                    text += *ch == '\r' ? '\n' : static_cast<char>(*ch);
        codes.clear();
    };
    while (std::size_t n = reader.read(samples.data(), samples.size())) {
        block.assign(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(n));
        demod.process(block.data(), static_cast<int>(n), codes);
        take();
    }
    // Half a second of silence: the last character's frame completes.
    block.assign(4000, 0.0f);
    demod.process(block.data(), static_cast<int>(block.size()), codes);
    take();
    std::printf("%s\n", text.c_str());
    return 0;
}
