#pragma once
// Frequency-shift keying at 8000 samples per second: the demodulator (two matched filters, one
// on each tone, and an asynchronous character decision) and the modulator (continuous phase).
// A character is a start bit (space), five data bits (first bit first, mark = 1) and one and a
// half stop bits (mark).
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

namespace rtty {

// The rates and shifts the engine works with; a profile's value outside them is not used.
constexpr double kMinBaud = 20, kMaxBaud = 300;
constexpr double kMinShiftHz = 20, kMaxShiftHz = 1000;
inline bool usableBaud(double b) { return b >= kMinBaud && b <= kMaxBaud; }
inline bool usableShift(double hz) { return std::abs(hz) >= kMinShiftHz && std::abs(hz) <= kMaxShiftHz; }

constexpr double kSampleRate = 8000;
constexpr double kDefaultBaud = 45.45;
constexpr double kDefaultMarkHz = 2125;
constexpr double kDefaultShiftHz = 170;

// A second-order section (direct form I).
class Biquad {
public:
    void notch(double hz, double q);
    void bandPass(double hz, double q);
    float process(float x);
    void clear() { x1_ = x2_ = y1_ = y2_ = 0; }

private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// The receiver: a filter matched to one bit on each tone (noncoherent), a soft value per sample
// that weighs each tone by its own level (followed bit by bit through fades, so that a tone
// fading alone leaves the decisions to the other), and the character framing: each
// character's timing is found from the signal by fitting a whole frame (mark before, start
// bit, five data bits, stop bit) around the start bit's edge; a frame whose start and stop bits
// do not check is dropped and the search goes on behind it. In steady text the characters'
// clock runs on through a fade, so that the text comes back in step with the signal. A clear
// character after noise begins a signal, whose period and tones' levels are learnt afresh;
// nothing is framed inside a steady tone or across the noise before a signal. The squelch
// weighs whether a signal is there over several characters (how clearly one tone sounds at a
// time in their bits, how strong against the noise, whether in step), and the level shows how
// far a signal there stands out of the noise.
class FskDemodulator {
public:
    FskDemodulator();
    void setTones(double markHz, double spaceHz);
    double markHz() const { return markHz_; }
    double spaceHz() const { return spaceHz_; }
    // 20..300 Bd; other rates are not used.
    void setBaud(double baud);
    double baud() const { return baud_; }
    void setReverse(bool on) { reverse_ = on; }
    void setAfc(bool on) { afc_ = on; }
    // Characters are given only while the level (0..100) reaches the threshold; 0 always, 100
    // never (a squelch set to the top holds everything).
    void setSquelch(double thresholdPercent) { squelch_ = thresholdPercent; }
    void setBandPass(bool on);
    void setNotch(bool on, double hz);

    // Forgets what was heard (the filters' memory and any frame begun): after transmitting.
    void restart();

    // Demodulates samples (16-bit scale); each character's code is appended to `codes`.
    void process(const float* samples, int n, std::vector<std::uint8_t>& codes);

    // Signal level, 0..1024: while a signal is there, how far its characters stand out of the
    // noise (at least 205, the squelch's default threshold; a clean signal about 1000); with no
    // signal there, how near the last character came to one (noise alone about 0); between
    // characters, how clearly one tone sounds.
    int level() const;
    // The two filters' outputs as an XY picture: the last 512 samples (0 where none yet).
    static constexpr int kScopePoints = 512;
    void scope(std::int32_t* x, std::int32_t* y) const;

private:
    using cplx = std::complex<double>;
    struct Tone {
        double hz = 0;
        cplx phasor{1, 0}, step{1, 0};
        std::vector<cplx> ring;
        cplx sum{0, 0};
        // The filter's output a few samples back: its turn since then is the frequency error.
        static constexpr int kLag = 32;
        std::array<cplx, kLag> past{};
        int pastPos = 0;
        cplx last{0, 0};
        cplx next(float x, int pos);
        void setFrequency(double f);
    };
    void resize();
    void frame(std::vector<std::uint8_t>& codes);
    bool evaluate(long long trigger, std::vector<std::uint8_t>& codes);
    // How much likelier mark is than space at a sample (positive: mark).
    float soft(long long at) const
    {
        const auto i = static_cast<size_t>(at & ringMask_);
        return markWeight_ * markRing_[i] - spaceWeight_ * spaceRing_[i] - offset_;
    }
    long long bitAt(long long edge, int k) const;
    double fitAt(long long edge, bool fresh = false) const;
    bool beginsHere(long long edge) const;
    long long bestEdge(long long from, long long to, double* fit, bool fresh = false) const;
    double strengthAt(long long edge) const;
    double clarityAt(long long edge) const;
    // Whether a signal is there, over the characters up to the one at `edge`, and the level
    // shown; and whether the squelch passes that character (the level reaches the threshold).
    void weighPresence(long long edge, bool inStep);
    bool passes() const;
    // How near the frame at `edge` comes to opening the squelch (1: it opens it): its quality
    // and its strength against the noise's envelope.
    double nearness(long long edge) const;
    // The envelope of the tone that is off, as the bits read so far show it.
    double noiseLevel() const;
    // 0..1: how far the bits of the frame at `edge` stand out of the noise (their spread about
    // the tone's level), from noise alone to a clean signal.
    double gradeAt(long long edge) const;
    // 0..1: the clarity above that of noise alone (the level's scale).
    static double qualityOf(double clarity);
    double quality(long long edge) const { return qualityOf(clarityAt(edge)); }
    void give(long long edge, bool inStep, bool faded, std::vector<std::uint8_t>& codes);
    std::uint8_t followLevels(long long edge);
    void weigh();
    void followTones();

    double markHz_ = kDefaultMarkHz, spaceHz_ = kDefaultMarkHz + kDefaultShiftHz;
    double baud_ = kDefaultBaud;
    double bitSamples_ = kSampleRate / kDefaultBaud;
    int filterLength_ = 176;
    int pos_ = 0;
    Tone mark_, space_;
    bool reverse_ = false, afc_ = false;
    double squelch_ = 0;
    bool bandPassOn_ = false, notchOn_ = false;
    Biquad bandPass_, notch_;
    double power_ = 0;       // input power, averaged over about a bit
    double levelAvg_ = 0;    // 0..1: how much of the input the two filters hold (the AFC follows above a half)
    double clarity_ = 0;     // how clearly one tone sounds at a time, averaged over a few bits
    double squelchLevel_ = 0; // 0..1: the signal level shown and weighed by the squelch
    long long lastFrame_ = 0; // where the last character was given
    double lastQuality_ = 0;  // and its quality (see quality())
    bool present_ = false;    // a signal is there (see weighPresence())
    double evidence_ = 0;     // what the characters so far say of it
    double grade_ = 0;        // how far it stands out of the noise (see gradeAt())
    long long lastPresent_ = 0; // the last character with a signal there
    bool began_ = false;      // a signal began at the last character weighed
    long long noiseUntil_ = 0; // the end of the last character given that was no clearer than noise
    // the two filters' envelopes (mark, space), one per sample, kept for a little more than a character
    std::vector<float> markRing_, spaceRing_;
    long long ringMask_ = 0;
    long long now_ = 0;        // samples seen
    long long scan_ = 0;       // next sample looked at for a start bit
    long long earliest_ = 0;   // no start bit edge before this sample
    long long pending_ = -1;   // sample where a start bit was seen, its frame not yet complete
    long long lastEdge_ = -1;  // the last character's start bit edge
    long long signalFrom_ = 0; // where the signal began after digital silence (no frame reaches back to it)
    int silentRun_ = 0;
    double period_ = 0;        // samples from one start bit to the next in steady text
    int periodGaps_ = 0;       // gaps out of step it was learnt from since the signal began
    long long runStart_ = 0;   // the edge that began the run of steady text
    int runPeriods_ = 0;       // periods since
    double senderBit_ = 0;     // the sender's bit length, as its steady text shows it
    long long clockNext_ = -1; // steady text: where the next start bit is due
    int inStepRun_ = 0;        // characters in a row found where the one before put them
    int clockMisses_ = 0;      // weak characters in a row the clock ran on through
    bool misfit_ = false;      // the last strong frame did not fit the clock
    int unheard_ = 0;          // characters the clock ran through that gave nothing
    double strength_ = 0;      // mean strength of the bits of steady text
    // each tone's level, as the bits decided on it show it, and what the soft value makes of them
    double markLevel_ = 0, spaceLevel_ = 0;
    double markSpread_ = 0, spaceSpread_ = 0; // variance of each level's estimate
    double noiseMean_ = 0, noiseVar_ = 0;     // envelope of the tone that is off, and the noise it shows
    int noiseBits_ = 0;                       // bits it was read from (up to 1000)
    float markWeight_ = 1, spaceWeight_ = 1, offset_ = 0;
    double afcError_ = 0;
    std::array<std::int32_t, kScopePoints> scopeX_{}, scopeY_{};
    int scopePos_ = 0;
};

class FskModulator {
public:
    void setTones(double markHz, double spaceHz) { markHz_ = markHz; spaceHz_ = spaceHz; }
    // 20..300 Bd; other rates are not used.
    void setBaud(double baud);
    void setAmplitude(double a) { amplitude_ = a; }
    void setStopBits(double bits) { stopBits_ = bits; }
    // One character: start bit, five data bits, stop bits (1.5 unless set).
    void code(std::uint8_t c, std::vector<float>& out);
    // Steady mark for a number of bit times.
    void idle(double bits, std::vector<float>& out);
    double markHz() const { return markHz_; }
    double spaceHz() const { return spaceHz_; }

private:
    void bit(bool mark, double bits, std::vector<float>& out);
    double markHz_ = kDefaultMarkHz, spaceHz_ = kDefaultMarkHz + kDefaultShiftHz;
    double bitSamples_ = kSampleRate / kDefaultBaud;
    double amplitude_ = 16000;
    double stopBits_ = 1.5;
    double phase_ = 0;
    double owed_ = 0; // fraction of a sample carried to the next bit
};

} // namespace rtty
