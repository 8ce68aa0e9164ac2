#pragma once
// What the parts of bench_rtty_cer share: the receivers compared (the engine as the program
// starts it, the same with the squelch off, and minimodem), the other programs' signals, jobs
// on a few threads and the 1% crossing.
#include "rtty_bench.h" // before Qt, whose keywords it would trip on

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rttycer {

constexpr double kMark = 2125;
constexpr double kRate = rtty::kSampleRate;
constexpr double kKeyedPower = 16000.0 * 16000.0 / 2; // of rttybench::keyed's signal

// The engine's switches as the program starts it (squelch on at its default level, UOS off),
// and the same with the squelch off.
constexpr std::int32_t kStart = rtty::kSwAfc | rtty::kSwNet | rtty::kSwBandPass | rtty::kSwSquelch;
constexpr std::int32_t kStartOff = kStart & ~rtty::kSwSquelch;

// The receivers measured. The error rates are given with unshift-on-space on, as most operators
// run it and as minimodem prints: the engine's default squelch, the squelch off, minimodem; and
// as the program starts (UOS off), with its default squelch and with the squelch off.
enum Receiver : std::size_t { kDefaultSquelch, kOff, kMinimodem, kStartSquelch, kStartSquelchOff, kReceivers };
inline const char* receiverName(std::size_t r)
{
    static const char* const names[] = {"default", "sq off", "minimodem", "UOS off", "UOS off,sq off"};
    return names[r];
}
inline std::int32_t switchesOf(std::size_t r)
{
    static const std::int32_t words[] = {kStart | rtty::kSwUos, kStartOff | rtty::kSwUos, 0, kStart, kStartOff};
    return words[r];
}
// The first three, as the error-rate tables compare them.
constexpr std::size_t kCompared = 3;

// What a receiver prints from the signal tuned to mark and space (the engine copies a signal
// whose mark is the upper tone in reverse).
std::string receive(std::size_t receiver, const std::vector<float>& audio, double markHz, double spaceHz);

// A signal of another program: its text (without white space) sent once, its mark on 1585 Hz
// and its space on 1415 Hz, half a second of digital silence before.
struct OtherSignal {
    const char* name;
    std::vector<float> audio;
    std::string text;
    bool ok = false;
};
// The recording of another program in tests/data/peer, and minimodem's transmission of its text.
OtherSignal recording();
OtherSignal minimodemSignal();

std::string withoutBlanks(const std::string& s);

// Runs jobs 0..count-1 on a few threads.
void parallel(std::size_t count, int threads, const std::function<void(std::size_t)>& job);

// The SNR from which on every point is at or below 1%, between that point and the one below
// it where the CER crosses 1% (linear); NaN when the highest point is above 1%, and the lowest
// point itself when every one is at or below.
double crossing(const std::vector<double>& snrs, const std::vector<double>& cer);

// Characters of sent[first, first + n) that were not printed.
std::size_t lostIn(const std::string& sent, const std::string& got, std::size_t first, std::size_t n);

// The parts of the bench.
void steady(std::size_t chars, int threads, const std::vector<double>& snrs);
void fading(std::size_t chars, int threads);
void start(int threads);
void squelchLine(int threads);

} // namespace rttycer
