// Runs a WAV recording (16-bit, 8000 samples/s) through the receiver as fast as it can and
// prints the decoded text.
//   psk_decode [-m bpsk|qpsk|qpski] [-a AFC_HZ] [-s SQUELCH] [-f HZ]... FILE.wav
// Each -f adds a receive channel (at most three) with the mode, AFC range and squelch given
// before it; without -f one channel listens at 1000 Hz. With several channels each text is
// headed by its channel.
#include <cstdio>
#include <cstdlib>
#include <array>
#include <algorithm>
#include <string>
#include <vector>

#include "engines/psk/receive/receiver.h"
#include "engines/sound/wavfile.h"

namespace {

struct Channel {
    double hz = 1000;
    int mode = 0, afc = 0, squelch = 0;
};

int usage(const char* prog)
{
    std::fprintf(stderr, "usage: %s [-m bpsk|qpsk|qpski] [-a AFC_HZ] [-s SQUELCH] [-f HZ]... FILE.wav\n", prog);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    Channel current;
    std::vector<Channel> channels;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "-m" && hasValue) {
            std::string m = argv[++i];
            current.mode = m == "bpsk" ? 0 : m == "qpsk" ? 1 : m == "qpski" ? 2 : -1;
            if (current.mode < 0)
                return usage(argv[0]);
        } else if (a == "-a" && hasValue) {
            current.afc = std::atoi(argv[++i]);
        } else if (a == "-s" && hasValue) {
            current.squelch = std::atoi(argv[++i]);
        } else if (a == "-f" && hasValue) {
            current.hz = std::atof(argv[++i]);
            channels.push_back(current);
        } else if (!a.empty() && a[0] != '-' && file.empty()) {
            file = a;
        } else {
            return usage(argv[0]);
        }
    }
    if (file.empty() || channels.size() > 3)
        return usage(argv[0]);
    if (channels.empty())
        channels.push_back(current);

    // Read a block at a time: a recording of any length takes the same memory.
    sound::WavReader reader;
    if (int rc = reader.open(file)) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), rc == 17 ? "not 16-bit PCM at 8000 samples/s" : "cannot read");
        return 1;
    }
    psk::Receiver rx;
    rx.setChannelCount(int(channels.size()));
    for (std::size_t i = 0; i < channels.size(); ++i) {
        auto& ch = rx.channel(int(i));
        ch.setMode(channels[i].mode);
        ch.setAfcLimit(channels[i].afc > 0 ? 100 : 0);
        ch.setSquelch(channels[i].squelch, 0);
        ch.setFrequency(channels[i].hz, channels[i].afc);
    }
    std::vector<std::string> text(channels.size());
    std::vector<float> block;
    std::array<std::int16_t, 1024> samples;
    std::array<psk::RxOutput, psk::Receiver::kChannels> out;
    auto collect = [&] {
        for (std::size_t i = 0; i < channels.size(); ++i) {
            for (int c : out[i].chars)
                text[i] += c == '\r' ? '\n' : (c == '\n' ? '\0' : char(c));
            out[i] = {};
        }
    };
    while (std::size_t n = reader.read(samples.data(), samples.size())) {
        block.assign(samples.begin(), samples.begin() + std::ptrdiff_t(n));
        rx.process(block.data(), int(n), out);
        collect();
    }
    // A recording may end in the middle of the text: what the decoders still hold is printed.
    for (std::size_t i = 0; i < channels.size(); ++i)
        rx.channel(int(i)).flush(out[i]);
    collect();
    for (std::size_t i = 0; i < channels.size(); ++i) {
        std::string t;
        for (char c : text[i])
            if (c)
                t += c;
        if (channels.size() > 1)
            std::printf("--- channel %zu, %.0f Hz ---\n", i, channels[i].hz);
        std::printf("%s\n", t.c_str());
    }
    return 0;
}
