#pragma once
// The transmit side of the modem: a queue of characters and control codes turned into sound,
// with preamble, postamble, QPSK coding, Tune and CW identification. Not thread-safe: the
// engine calls it under its own lock.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "engines/psk/coding/viterbi.h"
#include "engines/psk/transmit/modulator.h"

namespace psk {

enum class TxMode { Bpsk = 0, Qpsk = 1, QpskInverted = 2, Tune = 3 };

struct TxEvent {
    enum Kind { Started, Echo, Finished } kind;
    int code = 0;
};

class Transmitter {
public:
    static constexpr int kShortAmble = 32; // symbols (about one second)
    static constexpr int kLongAmble = 64;

    explicit Transmitter(double amplitude = 16000.0) : mod_(amplitude) {}

    void setFrequency(double hz) { freq_ = hz; }
    double frequency() const { return freq_; }
    void setCwSpeed(int speed) { cwSpeed_ = speed; }
    void setCwText(std::string text) { cwText_ = std::move(text); }

    void queueCharacter(std::uint8_t code);
    // Control codes: 1 back to receive after the queue, 2 CW identification, 3 short
    // preamble and postamble for the next transmission; others are ignored.
    void queueControl(int code);
    void start(int mode);       // ignored while a transmission runs or is pending
    void abort();               // stops at once; Finished follows if anything was running
    void clearQueue();          // drops characters not yet begun; control codes stay

    bool active() const { return state_ != State::Off; }
    // Produces exactly n samples (silence when off) and the events they carry, in order.
    void fill(float* out, int n, std::vector<TxEvent>& events);

private:
    enum class State { Off, Starting, Preamble, Data, Flush, Postamble, Tune, Cw, Ending };
    struct Item {
        int code;            // character code, or -1 end, -2 CW identification
        std::string cwText;
        int cwSpeed = 0;
    };
    void step(std::vector<TxEvent>& events);
    void sendBit(int bit);
    void sendPhaseChange(int quarterTurns);
    void beginCw(const Item& item);
    bool qpsk() const { return mode_ == TxMode::Qpsk || mode_ == TxMode::QpskInverted; }

    Modulator mod_;
    ConvEncoder encoder_;
    std::deque<Item> queue_;
    std::vector<float> pending_;
    std::size_t pendingPos_ = 0;
    std::deque<std::pair<std::uint64_t, TxEvent>> events_; // released when their sample is out
    std::uint64_t produced_ = 0;   // samples generated since construction
    std::uint64_t delivered_ = 0;  // samples handed out by fill
    void emit(TxEvent::Kind kind, int code = 0) { events_.push_back({produced_ + pending_.size(), {kind, code}}); }
    State state_ = State::Off;
    TxMode mode_ = TxMode::Bpsk;
    double freq_ = 1000;
    int cwSpeed_ = 2;
    std::string cwText_;
    bool shortNext_ = false;
    bool shortThis_ = false;
    int count_ = 0;
    std::string bits_;       // bits of the character being sent, with its gap
    std::size_t bitPos_ = 0;
    int echo_ = -1;          // character to report when its bits are out
    bool endAfterFlush_ = false;
    Item cwAfterFlush_{0, {}, 0};
    bool cwPending_ = false;
    std::vector<std::pair<bool, int>> cwElements_;
    std::size_t cwPos_ = 0;
    int cwDot_ = 0;
    bool cwRampDone_ = false;
    bool afterCwTune_ = false;
};

} // namespace psk
