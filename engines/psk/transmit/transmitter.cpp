#include "engines/psk/transmit/transmitter.h"

#include <algorithm>

#include "engines/psk/coding/varicode.h"

namespace psk {

void Transmitter::queueCharacter(std::uint8_t code)
{
    queue_.push_back({code, {}, 0});
}

void Transmitter::queueControl(int code)
{
    switch (code) {
    case 1: {
        // A return to receive with nothing to wait for, while receiving, would only end the
        // next transmission before it began.
        bool waiting = std::any_of(queue_.begin(), queue_.end(), [](const Item& i) { return i.code != -1; });
        if (state_ != State::Off || waiting)
            queue_.push_back({-1, {}, 0});
        break;
    }
    case 2:
        queue_.push_back({-2, cwText_, cwSpeed_});
        break;
    case 3:
        shortNext_ = true;
        break;
    default:
        break;
    }
}

void Transmitter::start(int mode)
{
    if (state_ != State::Off)
        return;
    mode_ = mode >= 0 && mode <= 3 ? TxMode(mode) : TxMode::Bpsk;
    state_ = State::Starting;
}

void Transmitter::abort()
{
    if (state_ == State::Off)
        return;
    state_ = State::Off;
    queue_.clear();
    pending_.clear();
    pendingPos_ = 0;
    events_.clear();
    produced_ = delivered_;
    bits_.clear();
    bitPos_ = 0;
    echo_ = -1;
    shortNext_ = false;
    mod_.reset();
    emit(TxEvent::Finished);
}

void Transmitter::clearQueue()
{
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [](const Item& i) { return i.code >= 0; }),
                 queue_.end());
}

void Transmitter::fill(float* out, int n, std::vector<TxEvent>& events)
{
    int done = 0;
    while (done < n) {
        if (pendingPos_ < pending_.size()) {
            int take = int(std::min<std::size_t>(pending_.size() - pendingPos_, std::size_t(n - done)));
            std::copy_n(pending_.begin() + std::ptrdiff_t(pendingPos_), take, out + done);
            pendingPos_ += std::size_t(take);
            done += take;
            delivered_ += std::uint64_t(take);
            continue;
        }
        pending_.clear();
        pendingPos_ = 0;
        if (state_ == State::Off) {
            std::fill(out + done, out + n, 0.0f);
            delivered_ += std::uint64_t(n - done);
            produced_ = delivered_;
            done = n;
            break;
        }
        std::size_t before = pending_.size();
        step(events);
        produced_ += pending_.size() - before;
    }
    while (!events_.empty() && events_.front().first <= delivered_) {
        events.push_back(events_.front().second);
        events_.pop_front();
    }
}

void Transmitter::sendPhaseChange(int quarterTurns)
{
    static const cplx kTurn[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    cplx now = mod_.phasor();
    cplx target = std::abs(now) < 0.5 ? cplx(1, 0) : now * kTurn[quarterTurns & 3];
    mod_.symbol(target, pending_);
}

void Transmitter::sendBit(int bit)
{
    if (qpsk()) {
        int q = qpskPhaseChange(encoder_.push(bit));
        if (mode_ == TxMode::QpskInverted)
            q = (4 - q) & 3;
        sendPhaseChange(q);
    } else {
        sendPhaseChange(bit ? 0 : 2);
    }
}

void Transmitter::beginCw(const Item& item)
{
    cwElements_ = morseElements(item.cwText);
    cwDot_ = morseDotSamples(item.cwSpeed);
    cwPos_ = 0;
    cwRampDone_ = false;
    afterCwTune_ = mode_ == TxMode::Tune;
    state_ = State::Cw;
}

void Transmitter::step(std::vector<TxEvent>& events)
{
    (void)events;
    mod_.setFrequency(freq_);
    int amble = shortThis_ ? kShortAmble : kLongAmble;
    switch (state_) {
    case State::Off:
        return;
    case State::Starting:
        shortThis_ = shortNext_;
        shortNext_ = false;
        mod_.reset();
        encoder_.reset();
        bits_.clear();
        bitPos_ = 0;
        emit(TxEvent::Started);
        state_ = mode_ == TxMode::Tune ? State::Tune : State::Preamble;
        count_ = shortThis_ ? kShortAmble : kLongAmble;
        return;
    case State::Preamble:
        sendBit(0);
        if (--count_ <= 0)
            state_ = State::Data;
        return;
    case State::Data:
        if (bitPos_ < bits_.size()) {
            sendBit(bits_[bitPos_++] == '1');
            if (bitPos_ == bits_.size() && echo_ >= 0) {
                emit(TxEvent::Echo, echo_);
                echo_ = -1;
            }
            return;
        }
        if (queue_.empty()) {
            sendBit(0);
            return;
        }
        {
            Item item = queue_.front();
            queue_.pop_front();
            if (item.code >= 0) {
                bits_ = varicodeBits(std::uint8_t(item.code)) + "00";
                bitPos_ = 0;
                echo_ = item.code;
            } else if (qpsk()) {
                // Flush the coder so the far receiver's decoder delivers the last character.
                state_ = State::Flush;
                count_ = ViterbiDecoder::kDelay + 4;
                endAfterFlush_ = item.code == -1;
                cwAfterFlush_ = item;
            } else if (item.code == -1) {
                state_ = State::Postamble;
                count_ = amble;
            } else {
                beginCw(item);
            }
        }
        return;
    case State::Flush:
        sendBit(0);
        if (--count_ <= 0) {
            if (endAfterFlush_) {
                state_ = State::Postamble;
                count_ = amble;
            } else {
                beginCw(cwAfterFlush_);
            }
        }
        return;
    case State::Postamble:
        sendPhaseChange(0);
        if (--count_ <= 0)
            state_ = State::Ending;
        return;
    case State::Tune:
        while (!queue_.empty() && queue_.front().code >= 0)
            queue_.pop_front(); // nothing is keyed in Tune
        if (!queue_.empty()) {
            Item item = queue_.front();
            queue_.pop_front();
            if (item.code == -1)
                state_ = State::Ending;
            else
                beginCw(item);
            return;
        }
        sendPhaseChange(0);
        return;
    case State::Cw:
        if (!cwRampDone_) {
            cwRampDone_ = true;
            if (std::abs(mod_.phasor()) > 0.5)
                mod_.symbol(0, pending_);
            else
                mod_.keyed(false, cwDot_ * 3, pending_);
            return;
        }
        if (cwPos_ < cwElements_.size()) {
            const auto& e = cwElements_[cwPos_++];
            mod_.keyed(e.first, e.second * cwDot_, pending_);
            return;
        }
        mod_.keyed(false, cwDot_ * 3, pending_);
        mod_.reset();
        if (!queue_.empty() && queue_.front().code == -1) {
            queue_.pop_front();
            state_ = State::Off;
            emit(TxEvent::Finished);
            return;
        }
        encoder_.reset();
        state_ = afterCwTune_ ? State::Tune : State::Preamble;
        count_ = kShortAmble;
        return;
    case State::Ending:
        mod_.symbol(0, pending_);
        state_ = State::Off;
        mod_.reset();
        shortThis_ = false;
        // Reported once the last sample of the fade is out.
        emit(TxEvent::Finished);
        return;
    }
}

} // namespace psk
