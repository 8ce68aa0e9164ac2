// Character error rate of the RTTY engine (45.45 Bd, 170 Hz) through white Gaussian noise, SNR
// in 3000 Hz as for PSK, with the engine's own transmitter as the source: on its own signal, on
// a sender 1.5% slow and on one whose tones are 10 Hz high (the receiver's AFC on, as by
// default; squelch off; unshift-on-space on, as most receivers have it). Prints the SNR where each crosses 1%, and the receiver's speed.
//   bench_rtty_cer [characters per point, default 10000] [lowest dB] [highest dB] [step dB] [threads]
#include "psk_bench.h" // before Qt, whose keywords it would trip on

#include <QByteArray>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "engines/rtty/engine.h"
#include "platform/system/inifile.h"
#include "platform/vb/vbnum.h"

namespace {

struct Sender {
    const char* name;
    double baud;
    double toneOffsetHz;
};

constexpr double kMark = 2125;

// The engine's own transmission of the text, with a second of silence before and after.
std::vector<float> transmission(const std::string& text, const Sender& s)
{
    QTemporaryDir dir;
    const QString profiles = dir.filePath(QStringLiteral("UserPara.INI"));
    rtty::RttyEngine tx(nullptr, profiles, [](int, std::int32_t) {});
    if (s.baud != rtty::kDefaultBaud) {
        ini::write(profiles, QStringLiteral("Define0"), QStringLiteral("Mark"), vb::Text(kMark));
        ini::write(profiles, QStringLiteral("Define0"), QStringLiteral("Shift"), QStringLiteral("170"));
        ini::write(profiles, QStringLiteral("Define0"), QStringLiteral("Baud"), vb::Text(s.baud));
        tx.command(24, 0);
    }
    tx.command(9, static_cast<std::int32_t>(kMark + s.toneOffsetHz));
    tx.command(10, static_cast<std::int32_t>(kMark + 170 + s.toneOffsetHz));
    for (unsigned char c : text)
        tx.command(4, c);
    tx.command(3, 2);
    tx.command(3, 1);
    std::vector<float> out(8000, 0.0f), in(rtty::RttyEngine::kBlock, 0.0f), block(rtty::RttyEngine::kBlock);
    while (tx.transmitting()) {
        tx.processBlock(in.data(), block.data(), rtty::RttyEngine::kBlock);
        out.insert(out.end(), block.begin(), block.end());
    }
    out.insert(out.end(), 8000, 0.0f);
    return out;
}

std::string receive(const std::vector<float>& s, double* seconds = nullptr)
{
    std::string got;
    QTemporaryDir dir;
    rtty::RttyEngine rx(nullptr, dir.filePath(QStringLiteral("UserPara.INI")), [&](int code, std::int32_t v) {
        if (code == rtty::kNoteChar)
            got += static_cast<char>(v & 0xFF);
    });
    rx.command(9, static_cast<std::int32_t>(kMark));
    rx.command(10, static_cast<std::int32_t>(kMark + 170));
    rx.command(11, rtty::kSwAfc | rtty::kSwNet | rtty::kSwBandPass | rtty::kSwUos); // squelch off
    std::vector<float> out(rtty::RttyEngine::kBlock);
    const auto t0 = std::chrono::steady_clock::now();
    for (std::size_t at = 0; at + rtty::RttyEngine::kBlock <= s.size(); at += rtty::RttyEngine::kBlock)
        rx.processBlock(s.data() + at, out.data(), rtty::RttyEngine::kBlock);
    if (seconds)
        *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return got;
}

std::string upper(std::string t)
{
    for (char& c : t)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t chars = argc > 1 ? std::size_t(std::atoi(argv[1])) : 10000;
    std::vector<double> snrs;
    const double from = argc > 2 ? std::atof(argv[2]) : -10, to = argc > 3 ? std::atof(argv[3]) : -4;
    const double step = argc > 4 ? std::atof(argv[4]) : 0.5;
    const int threads = argc > 5 ? std::max(1, std::atoi(argv[5])) : 4;
    for (int i = 0; step > 0 && from + i * step <= to + 1e-9; ++i)
        snrs.push_back(from + i * step);
    if (snrs.empty()) {
        std::fprintf(stderr, "bench_rtty_cer: no SNR in the range given\n");
        return 1;
    }
    const Sender senders[] = {{"own", rtty::kDefaultBaud, 0},
                              {"baud -1.5%", rtty::kDefaultBaud * 0.985, 0},
                              {"tone +10Hz", rtty::kDefaultBaud, 10}};
    constexpr int kSenders = 3;

    // Speed: the whole receiving engine (filters, framing, spectrum) on a clean signal.
    const std::string speedText = upper(pskbench::text(std::min<std::size_t>(chars, 2000), 1));
    const std::vector<float> clean = transmission(speedText, senders[0]);
    double seconds = 0;
    const std::string cleanCopy = receive(clean, &seconds);
    const double realTime = (double(clean.size()) / 8000.0) / seconds;

    std::vector<std::vector<double>> cer(kSenders, std::vector<double>(snrs.size()));
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            for (std::size_t job; (job = next++) < kSenders * snrs.size();) {
                const std::size_t m = job / snrs.size(), i = job % snrs.size();
                const std::string text = upper(pskbench::text(chars, unsigned(100 + i)));
                std::vector<float> s = transmission(text, senders[m]);
                pskbench::addNoise(s, pskbench::signalPower(s), snrs[i], unsigned(7 + i));
                cer[m][i] = double(pskbench::errors(text, receive(s))) / double(text.size());
            }
        });
    for (auto& t : pool)
        t.join();

    std::printf("RTTY 45.45 Bd 170 Hz: character error rate, %zu characters per point, SNR in 3000 Hz\n"
                "(receiver: AFC on, squelch off, unshift-on-space on)\n", chars);
    std::printf("%8s %12s %12s %12s\n", "SNR dB", senders[0].name, senders[1].name, senders[2].name);
    for (std::size_t i = 0; i < snrs.size(); ++i)
        std::printf("%8.2f %11.2f%% %11.2f%% %11.2f%%\n", snrs[i], 100 * cer[0][i], 100 * cer[1][i], 100 * cer[2][i]);
    for (int m = 0; m < kSenders; ++m) {
        // Lowest SNR from which on every point is at or below 1%.
        double at = snrs.back();
        bool any = false;
        for (std::size_t i = snrs.size(); i-- > 0;) {
            if (cer[m][i] > 0.01)
                break;
            at = snrs[i];
            any = true;
        }
        if (any)
            std::printf("%s: CER <= 1%% from %.1f dB SNR\n", senders[m].name, at);
        else
            std::printf("%s: CER above 1%% at every SNR measured\n", senders[m].name);
    }
    std::printf("Receiver speed: %.0f x real time (%.1f s of signal in %.3f s; clean copy %s)\n", realTime,
                double(clean.size()) / 8000.0, seconds, pskbench::errors(speedText, cleanCopy) == 0 ? "exact" : "WITH ERRORS");
    return 0;
}
