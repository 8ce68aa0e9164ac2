#pragma once
// One PSK31 receive channel: mixes the wanted signal to baseband, decimates, matched-filters,
// recovers symbol timing and carrier phase (with AFC), and decodes BPSK (Varicode) or QPSK
// (soft-decision Viterbi, then Varicode). Also measures signal quality, squelch and IMD.
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engines/psk/coding/varicode.h"
#include "engines/psk/dsp/dsp.h"
#include "engines/psk/receive/bpsk_detector.h"
#include "engines/psk/receive/qpsk_decoder.h"

namespace psk {

enum class RxMode { Bpsk = 0, Qpsk = 1, QpskInverted = 2, Tune = 3 };

struct RxOutput {
    std::vector<int> chars; // decoded characters that passed the squelch, in order
    std::vector<int> imd;   // IMD readings in dB
};

// An idle seen, and whether it is seen again in the same place within a few blocks. (Beside a
// neighbour's text an idle's tones stand out only in some blocks.)
class IdleSighting {
public:
    bool again(bool found, double hz);
    bool near(double hz) const { return hz_ > 0 && std::abs(hz - hz_) < 1.0; } // where one was seen
    void clear() { hz_ = 0; }

private:
    static constexpr int kBlocks = 8; // blocks of 1024 samples: the second the search looks at
    double hz_ = 0;
    int age_ = 0;
};

// A carrier's line found in one place (or a line beside it, a step or two away), search after
// search: noise lifts one in a place for a block or two.
class SteadyLine {
public:
    bool steady(bool found, double hz, double step); // found there long enough
    double hz() const { return hz_; }                 // where it was found first
    void clear() { score_ = 0; power_ = {}; }
    bool running() const { return score_ > 0; }
    // The power of the lines at hz() and a step either side, summed over the blocks it was found:
    // which of them is strongest over those seconds.
    void add(const std::array<double, 3>& power);
    int strongest() const;

private:
    static constexpr int kBlocks = 16; // blocks of 1024 samples: two seconds
    double hz_ = 0;
    int score_ = 0;
    std::array<double, 3> power_{};
};

class RxChannel {
public:
    static constexpr double kFreePullHz = 4.0; // how far off a signal is followed without AFC
    static constexpr double kHeldHz = 2.0;     // how far the loops leave the station read while it is not read
    static constexpr double kPlaceHz = 30.0;   // how far from where the operator tuned a partner answers

    RxChannel();

    void setFrequency(double hz, int afcRange); // tunes, and searches within the range
    void setAfcLimit(int limit) { afcLimit_ = limit; }
    void setSquelch(int threshold, int speed);
    void setMode(int mode);

    void process(const float* samples, int n, RxOutput& out);
    // At the end of a recording: lets out what the decoder still holds (the last characters).
    void flush(RxOutput& out);

    double frequency() const { return nco_.frequency(); }
    double setFrequencyHz() const { return setHz_; }
    int level() const;                          // 0..100 signal quality (0 while what is decoded is no text)
    bool squelchOpen() const { return threshold_ <= 0 || level() > threshold_; } // 0: always open
    void vectors(std::int32_t out[16]) const;   // last eight phase-change vectors (x, y)

    int afcRange() const { return afcRange_; }
    bool searching() const { return afcOn() && searchWanted_; } // AFC is looking for a signal
    bool holding() const { return home_ && !taken_; } // a station read since tuning holds the channel
    // Our own over has been sent (the channels rested meanwhile): the station read has handed
    // over, and the reply is listened for.
    void overSent() { overSent_ = true; }

private:
    bool afcOn() const { return afcLimit_ > 0 && afcRange_ > 0; }
    void decimated(cplx z, RxOutput& out);
    void symbol(cplx y, cplx raw, RxOutput& out); // equalised and as matched-filtered
    void measureImd(RxOutput& out);
    std::uint64_t decoderDelay() const; // symbols between a symbol and its bit
    void letOut(int bit, std::uint64_t source, RxOutput& out); // a decided bit of a symbol, through the squelch
    void freeFrequency(double w); // QPSK without AFC: takes w radians per symbol off the symbols
    void freeRecover(int n);      // and back to where the operator tuned when lost
    void heldRecover(int n);      // with AFC: the loops back on the station held when lost
    // The loops have held nothing for so long (held: they hold something now, and the count
    // starts again; neither: it stays where it is).
    bool lostFor(int n, bool lost, bool held, int samples);
    bool stationLine(double around, double width, double& hz) const; // QPSK's carrier within width of around
    void retune(double hz);
    double scaled(double quality) const; // on one scale for BPSK and QPSK
    bool reading() const; // the loops read a signal now: characters of text, the loops holding it
    // Acquisition (acquisition.cpp).
    void initSearch();
    void acquire();
    // (nearer: only lines within this of where the operator tuned, outside the spectrum of the
    // signal followed, averaged apart from the search's.)
    // (place: also the strongest line of the search's average within kPlaceHz of where he tuned.)
    struct Line {
        double hz = 0, strength = 0;
    };
    bool lineSearch(int order, double& hz, double& strength, double& slowHz, double& slowStrength, double nearer = 0, Line* place = nullptr);
    std::array<cplx, 3> lines(int order, double hz, bool filtered, double& noise) const;
    double centre(int order, double hz, double& phase) const;
    // Idle search (idle_search.cpp): true when a signal's idle is seen between the frequencies;
    // weaker: the weaker tone over the noise as a share of the stronger; balanced: only idles
    // whose tones are both clear are looked at (one tone of another signal is passed over), and
    // the noise around each is the median of the bins (a strong tone among them counts for none).
    // besideHz: a signal's carrier, within whose spectrum no tone of the idle may lie.
    bool idleSearch(double lowHz, double highHz, double& hz, double& phase, double& strength, double& weaker,
                    bool balanced = false, double besideHz = 0) const;
    void fineSearch();           // QPSK without AFC: finds a signal a few hertz off by its idle
    void watchForIdle();         // with AFC, nothing copied since tuning: another signal's idle
    bool confirmedIdle(bool found, double hz); // an idle seen in the same place twice running
    void restart(double phase);  // decodes afresh from a signal just found
    void checkSideband();
    bool image(double hz, int order = 2, double followed = 0) const; // a line there is the envelope's of a carrier a symbol rate away
    bool inText(double idleHz, const Line& carrier) const; // an idle there is a pair of lines of that carrier's text
    bool recentIdle(double& hz, double& phase, double strength); // an idle just begun, placed better
    bool idleLine(double idleHz) const; // an idle there has the line of its own that a pair of text lines has not
    bool idleEnvelope(double idleHz) const; // and the lines of its envelope beside it, which a tone has not
    bool idleImage(double hz, double strength) const; // and an idle there, of an idle a symbol rate away
    void startOn(double hz, double phase);
    void timingOf(double hz); // the symbol timing taken from the signal there
    double followed(double hz) const; // where AFC may take the oscillator
    // The reply (reply.cpp): the station held going quiet, and the signal nearest where the
    // operator tuned.
    void holdOrRelease(int n);
    void release();
    void drop(); // the signal taken as the reply was none
    bool quietAt(double hz) const;    // nothing within a few hertz of hz but noise
    void takeAsReply(double hz);       // a signal just found, nearest where the operator tuned
    void watchNearer();               // a signal starting nearer where the operator tuned
    void watchNearerLine(double d);   // by its carrier, within d of where he tuned
    void tryBeside();                 // a reply so taken that reads as garbage: the line beside
    bool nearestIdle(double& hz, double& phase, double& strength); // the nearest idle to it within |hz - there|
    bool steadyReply(bool line, double hz, double lineHz, bool candidate); // a carrier staying in one place near where he tuned

    Nco nco_;
    double setHz_ = 1000;
    int afcRange_ = 0;
    int afcLimit_ = 0;
    int threshold_ = 0;
    int speed_ = 0;
    RxMode mode_ = RxMode::Bpsk;

    std::vector<double> decimTaps_;
    std::vector<cplx> decimBuf_; // doubled history so the filter reads one straight run
    int decimPos_ = 0;
    int decimPhase_ = 0;

    std::array<double, 2 * kDecimatedPerSymbol> mfTaps_{};
    std::array<cplx, 4 * kDecimatedPerSymbol> mfBuf_{};
    int mfPos_ = 0;

    std::array<cplx, 256> imdBuf_{}; // the last half second at 500/s, for IMD
    int imdPos_ = 0;
    int sinceRetune_ = 0;            // decimated samples mixed at the present oscillator frequency
    std::array<cplx, 512> searchBuf_{}; // the last second at 500/s, for acquisition
    int searchPos_ = 0;
    std::array<double, kDecimatedPerSymbol> searchTaps_{};
    std::array<double, 512> searchWin_{}; // the window over the filtered buffer
    std::array<double, 512> searchIdleWin_{}; // and over the whole buffer
    std::vector<std::vector<double>> searchPower2_, searchPower4_; // line spectra per band, averaged while searching
    std::vector<std::vector<double>> slowPower2_, slowPower4_;     // the same over a longer time
    std::vector<cplx> bandSignals_; // the search bands' filtered signals, kept between orders
    int searchBlocks_ = 0;
    int slowBlocks_ = 0;             // blocks in the long average (kept from search to search)
    int checkBlocks_ = 0;
    int sidebandVotes_ = 0;
    bool onSideband_ = false;        // the loops hold a sideband and may not move to the carrier
    double candidate_ = 0;           // frequency found by the last search, awaiting confirmation
    int candidateRun_ = 0;           // blocks running it has been confirmed
    int slowRun_ = 0;                // blocks running the long average's lines have agreed
    double slowRunHz_ = 0;           // where they agreed first
    int reversalRun_ = 0;

    std::array<double, kDecimatedPerSymbol> energy_{};
    std::int64_t index_ = 0;
    double nextStrobe_ = kDecimatedPerSymbol;
    cplx lastMf_{0, 0};
    std::array<cplx, 5> symbols_{};   // the last five symbol samples, newest last
    std::array<double, 5> eqTaps_{};

    double theta_ = 0;      // carrier phase estimate, radians
    double omega_ = 0;      // residual frequency without AFC, radians per symbol
    double freePhase_ = 0;  // QPSK without AFC: the turn taken off the symbols, radians
    double fadePhase_ = 0;  // BPSK without AFC: the same, for the detector without a loop
    double fastAmp_ = 0;    // the symbols' magnitude over the last few
    double amp_ = 0;        // average symbol magnitude
    double signalAmp_ = 0;  // the signal's amplitude before the equaliser
    cplx prevDecision_{1, 0};
    cplx prevY_{0, 0};
    cplx fllMean_{0, 0};
    double qualityFast_ = 0, qualitySlow_ = 0;
    int unlocked_ = 0;
    int acquire_ = 0;       // symbols left of fast frequency pull after tuning
    bool searchWanted_ = false;
    bool fresh_ = false;    // no signal found since tuning
    double foundHz_ = 0;    // where the search last found one
    double idleCandidate_ = 0; // where the last fine search or watch saw an idle
    IdleSighting nearerIdle_;   // where the watch for a signal nearer saw one
    IdleSighting replyIdle_;    // and the search while listening for the reply
    SteadyLine nearerLine_;     // a carrier the watch found nearer
    std::vector<std::vector<double>> watchPower_; // the watch's line spectra per band
    int watchBlocks_ = 0;       // blocks in them
    double replyBeside_ = 0;    // QPSK: the line beside the one taken as the reply's carrier
    TextMeter text_;        // whether what is decoded reads as text
    TextMeter readable_;    // the same since the signal began: whether it is one that can be copied
    bool noiseBefore_ = false; // the quality has read as noise since
    bool home_ = false;     // a station has been copied since tuning: it holds the channel
    double homeHz_ = 0;     // where it was read last
    double firmHz_ = 0;     // and where it was last read well for a while (0: not yet)
    int firmFor_ = 0;       // samples running that it has been read well
    double readHz_ = 0;     // where the loops were for the last character of text read
    std::array<double, 64> ncoAt_{}; // the oscillator at each of the last symbols
    int copiedFor_ = 0;     // samples running that what is decoded has read as text
    bool taken_ = false;    // it holds the channel as the signal found nearest where the operator
                            // tuned, and has not been read long yet
    bool listening_ = false; // for the reply: the station held has gone quiet
    bool parked_ = false;   // and nothing has been taken since: the loops stay where it was
    int quietFor_ = 0;      // samples running that the station held has been quiet
    int unreadFor_ = 0;     // and that the signal taken as the reply has given no text to copy
    bool takenRead_ = false; // it has been read well since it was taken
    int garbledFor_ = 0;    // samples running that the loops have held nothing
    int steadyScore_ = 0;   // listening: blocks a carrier without idle has been found in one place
    double steadyHz_ = 0;   // (more than missed), and where
    int steadyOn_ = 0, steadyBeside_ = 0; // found there, and half a symbol rate beside
    bool overSent_ = false; // our own over since the last block

    QpskDecoder viterbi_;
    BpskDecoder bpsk_;
    std::array<bool, 64> squelchHistory_{};
    bool wasOpen_ = false;
    std::uint64_t symbolCount_ = 0;
    std::uint64_t settleUntil_ = 0; // symbols before this one are taken as idle
    VaricodeDecoder varicode_;
    std::array<cplx, 8> vectors_{};
    int vectorPos_ = 0;
};

} // namespace psk
