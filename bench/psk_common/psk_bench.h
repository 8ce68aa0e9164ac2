#pragma once
// Shared by the PSK benchmarks: test text, transmissions from our own transmitter, noise,
// a receiver run and the character error count.
#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "engines/psk/receive/receiver.h"
#include "engines/psk/transmit/transmitter.h"

namespace pskbench {

// Plain QSO-like text of n characters, different for each seed.
inline std::string text(std::size_t n, unsigned seed)
{
    static const char* const words[] = {
        "the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "cq", "de", "name", "is",
        "qth", "rig", "antenna", "dipole", "watts", "weather", "here", "sunny", "tnx", "fer", "qso",
        "73", "report", "599", "Sam", "Copy", "BTU", "K", "ok", "and", "very", "good", "signal",
        "2024", "14070", "grid", "JO01", "hope", "to", "see", "you", "again", "on", "the", "band"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        s += words[rng() % (sizeof words / sizeof *words)];
        s += (rng() % 12 == 0) ? "\r\n" : " ";
    }
    s.resize(n);
    return s;
}

// One transmission (short preamble and postamble), with silence before and after.
inline std::vector<float> transmission(const std::string& t, int mode, double hz, double leadSeconds = 1.0)
{
    psk::Transmitter tx;
    tx.setFrequency(hz);
    for (char c : t)
        tx.queueCharacter(static_cast<unsigned char>(c));
    tx.queueControl(3);
    tx.start(mode);
    tx.queueControl(1);
    std::vector<float> out(std::size_t(leadSeconds * 8000), 0.0f), block(1024);
    std::vector<psk::TxEvent> events;
    do {
        tx.fill(block.data(), int(block.size()), events);
        out.insert(out.end(), block.begin(), block.end());
    } while (tx.active());
    out.insert(out.end(), 8000, 0.0f);
    return out;
}

struct Station {
    std::vector<float> sound;
    std::vector<std::size_t> ends; // sample at which each character's bits are out
};

// One transmission: `idleBefore` seconds of idle after the preamble, the text, `idleAfter`
// seconds of idle, the postamble; starting `lead` seconds into the sound.
inline Station transmit(const std::string& text, int mode, double hz, double lead, double idleBefore, double idleAfter)
{
    psk::Transmitter tx;
    tx.setFrequency(hz);
    tx.queueControl(3);
    tx.start(mode);
    Station st;
    st.sound.assign(std::size_t(lead * 8000), 0.0f);
    std::vector<float> block(256);
    std::vector<psk::TxEvent> events;
    auto run = [&](auto until) {
        while (!until()) {
            events.clear();
            tx.fill(block.data(), int(block.size()), events);
            st.sound.insert(st.sound.end(), block.begin(), block.end());
            for (const auto& e : events)
                if (e.kind == psk::TxEvent::Echo)
                    st.ends.push_back(st.sound.size());
        }
    };
    const std::size_t idleEnd = st.sound.size() + std::size_t(idleBefore * 8000);
    run([&] { return st.sound.size() >= idleEnd; });
    for (char c : text)
        tx.queueCharacter(static_cast<unsigned char>(c));
    run([&] { return st.ends.size() >= text.size(); });
    const std::size_t tail = st.sound.size() + std::size_t(idleAfter * 8000);
    run([&] { return st.sound.size() >= tail; });
    tx.queueControl(1);
    run([&] { return !tx.active(); });
    return st;
}

// Mean power of the non-silent part.
inline double signalPower(const std::vector<float>& s)
{
    double sum = 0;
    std::size_t n = 0;
    for (float v : s)
        if (v != 0.0f) {
            sum += double(v) * v;
            ++n;
        }
    return n ? sum / double(n) : 0;
}

// White Gaussian noise for snrDb measured in 3000 Hz (the noise spreads over 4000 Hz).
inline void addNoise(std::vector<float>& s, double power, double snrDb, unsigned seed)
{
    double noise = power / std::pow(10.0, snrDb / 10) * (4000.0 / 3000.0);
    std::mt19937 rng(seed);
    std::normal_distribution<double> g(0.0, std::sqrt(noise));
    for (float& v : s)
        v = float(v + g(rng));
}

struct Tuning {
    double hz;
    int mode;
    int afc = 0;
};

inline std::vector<std::string> receive(const std::vector<float>& s, const std::vector<Tuning>& tune)
{
    psk::Receiver rx;
    rx.setChannelCount(int(tune.size()));
    for (std::size_t i = 0; i < tune.size(); ++i) {
        auto& ch = rx.channel(int(i));
        ch.setMode(tune[i].mode);
        ch.setAfcLimit(tune[i].afc ? 100 : 0);
        ch.setSquelch(0, 0);
        ch.setFrequency(tune[i].hz, tune[i].afc);
    }
    std::vector<std::string> out(tune.size());
    std::array<psk::RxOutput, psk::Receiver::kChannels> res;
    for (std::size_t pos = 0; pos < s.size(); pos += 1024) {
        for (auto& r : res)
            r = {};
        rx.process(s.data() + pos, int(std::min<std::size_t>(1024, s.size() - pos)), res);
        for (std::size_t i = 0; i < tune.size(); ++i)
            for (int c : res[i].chars)
                out[i] += char(c);
    }
    return out;
}

// Edit distance between the sent text and the best-matching stretch of the received text
// (what the receiver printed in the noise before and after is not counted).
inline std::size_t errors(const std::string& sent, const std::string& got)
{
    const std::size_t n = sent.size(), m = got.size();
    std::vector<std::size_t> prev(m + 1, 0), cur(m + 1);
    for (std::size_t i = 1; i <= n; ++i) {
        cur[0] = i;
        for (std::size_t j = 1; j <= m; ++j)
            cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (sent[i - 1] != got[j - 1])});
        std::swap(prev, cur);
    }
    return *std::min_element(prev.begin(), prev.end());
}

} // namespace pskbench
