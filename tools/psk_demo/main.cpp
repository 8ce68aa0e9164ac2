// Writes the demo recording: band noise with five PSK31 stations in BPSK and
// QPSK, made by the program's own transmitter.
//   sondrel_psk_demo OUT.wav
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engines/sound/wavfile.h"
#include "engines/psk/transmit/transmitter.h"

namespace {

struct Station {
    double hz;
    int mode;
    double level;   // relative amplitude
    double startSec;
    std::string text;
};

std::vector<float> render(const Station& s)
{
    psk::Transmitter tx(s.level * 6000.0);
    tx.setFrequency(s.hz);
    for (char c : s.text)
        tx.queueCharacter(static_cast<unsigned char>(c));
    tx.queueControl(3);
    tx.start(s.mode);
    tx.queueControl(1);
    std::vector<float> out(std::size_t(s.startSec * 8000), 0.0f), block(1024);
    std::vector<psk::TxEvent> events;
    do {
        tx.fill(block.data(), int(block.size()), events);
        out.insert(out.end(), block.begin(), block.end());
    } while (tx.active());
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.wav\n", argv[0]);
        return 2;
    }
    const Station stations[] = {
        {800, 0, 1.0, 1.0, "CQ CQ CQ de N0CALL N0CALL N0CALL pse K\r\n"},
        {1000, 0, 0.6, 3.0, "N0CALL de N1DEMO - good afternoon, name here is Sam, QTH is a quiet village. "
                            "Rig 50 watts into a dipole. How copy? BTK\r\n"},
        {1500, 0, 0.8, 0.5, "CQ CQ de N2DEMO N2DEMO - BPSK31 from the Sondrel demo: the quick brown fox jumps over the lazy dog 0123456789 pse K\r\n"},
        {2300, 1, 0.7, 2.0, "QPSK31 test from the Sondrel demo: the quick brown fox jumps over the lazy dog 0123456789\r\n"},
        {1900, 0, 0.4, 6.0, "weak one here - tnx fer QSO es 73, hope to cu agn. SK\r\n"},
    };
    std::vector<float> mix;
    for (const auto& s : stations) {
        auto one = render(s);
        if (one.size() > mix.size())
            mix.resize(one.size(), 0.0f);
        for (std::size_t i = 0; i < one.size(); ++i)
            mix[i] += one[i];
    }
    mix.resize(mix.size() + 8000, 0.0f);
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 600.0);
    for (float& v : mix)
        v = float(v + noise(rng));
    sound::WavWriter w;
    if (!w.open(argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    w.write(mix.data(), int(mix.size()));
    w.close();
    return 0;
}
