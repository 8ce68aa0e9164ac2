#include "engines/psk/engine.h"

#include <algorithm>
#include <cmath>

namespace psk {

Engine::Engine() : receiver_(std::make_unique<Receiver>()) { applySettings(*receiver_); }

Engine::~Engine() { stop(); }

Engine& Engine::instance()
{
    static Engine engine;
    return engine;
}

void Engine::setPoster(MessagePoster poster)
{
    std::lock_guard lock(posterMutex_);
    poster_ = std::move(poster);
}

void Engine::post(const std::vector<Message>& messages)
{
    if (messages.empty())
        return;
    std::lock_guard lock(posterMutex_);
    if (!poster_ || hwnd_ == 0)
        return;
    for (const auto& m : messages)
        poster_(hwnd_, m.msg, m.wParam, m.lParam);
}

void Engine::applySettings(Receiver& rx)
{
    rx.spectrum().setMode(smoothing_, scale_);
    rx.setChannelCount(channels_);
    for (int i = 0; i < Receiver::kChannels; ++i) {
        const auto& s = settings_[i];
        RxChannel& ch = rx.channel(i);
        ch.setMode(s.mode);
        ch.setAfcLimit(s.afcLimit);
        ch.setSquelch(s.threshold, s.speed);
        ch.setFrequency(s.hz, s.afcRange);
    }
}

int Engine::start(std::int32_t hwnd, int device, int channels)
{
    return start(hwnd, [device] { return sound::makeAudioDevice(device); }, channels);
}

int Engine::start(std::int32_t hwnd, sound::SoundRunner::Opener opener, int channels)
{
    stop();
    {
        std::lock_guard lock(mutex_);
        channels_ = std::clamp(channels, 1, Receiver::kChannels);
        receiver_ = std::make_unique<Receiver>();
        applySettings(*receiver_);
        rxResampler_ = Resampler();
        txResampler_ = Resampler();
        double step = 1.0 + ppm_ * 1e-6;
        rxResampler_.setStep(step);
        txResampler_.setStep(1.0 / step);
        txFifo_.clear();
        lost_ = false;
    }
    {
        std::lock_guard lock(posterMutex_);
        hwnd_ = hwnd;
    }
    const int rc = runner_.start(std::move(opener), kOpenWait);
    if (rc != 0) {
        std::lock_guard lock(posterMutex_);
        hwnd_ = 0;
    }
    return rc;
}

void Engine::stop()
{
    if (!running())
        return;
    runner_.stop();
    std::vector<Message> messages;
    {
        std::lock_guard lock(mutex_);
        endTransmission(messages);
        lost_ = false;
    }
    post(messages);
}

void Engine::endTransmission(std::vector<Message>& messages)
{
    if (transmitter_.active()) {
        transmitter_.abort();
        messages.push_back({kMsgStatus, 0, 0});
    }
    std::vector<TxEvent> drop;
    float scratch[kBlock];
    transmitter_.fill(scratch, kBlock, drop); // releases the abort's own event
    txFifo_.clear();
    ptt_.key(false);
}

void Engine::soundBlock(const float* in, float* out, int n)
{
    std::vector<Message> messages;
    {
        std::lock_guard lock(mutex_);
        auto& rx = rxBlock_;
        rx.clear();
        if (rxResampler_.step() == 1.0)
            rx.assign(in, in + n);
        else
            rxResampler_.process(in, n, rx);

        bool transmitting = transmitter_.active();
        std::vector<TxEvent> events;
        if (txResampler_.step() == 1.0) {
            transmitter_.fill(out, n, events);
        } else {
            while (txFifo_.size() < std::size_t(n)) {
                transmitter_.fill(txRaw_.data(), int(txRaw_.size()), events);
                txResampler_.process(txRaw_.data(), int(txRaw_.size()), txFifo_);
            }
            std::copy_n(txFifo_.begin(), n, out);
            txFifo_.erase(txFifo_.begin(), txFifo_.begin() + n);
        }
        for (const auto& e : events) {
            if (e.kind == TxEvent::Started) {
                ptt_.key(true);
                messages.push_back({kMsgStatus, 1, 0});
            } else if (e.kind == TxEvent::Echo) {
                messages.push_back({kMsgCharacter, e.code, -1});
            } else {
                ptt_.key(false);
                messages.push_back({kMsgStatus, 0, 0});
            }
        }
        transmitting = transmitting || transmitter_.active();
        std::array<RxOutput, Receiver::kChannels> outputs;
        if (transmitting)
            receiver_->showTransmit(out, n);
        else
            receiver_->process(rx.data(), int(rx.size()), outputs);
        for (int ch = 0; ch < receiver_->channelCount(); ++ch) {
            for (int c : outputs[ch].chars)
                messages.push_back({kMsgCharacter, c, ch});
            for (int db : outputs[ch].imd)
                messages.push_back({kMsgImd, db, ch});
        }
        overload_ = !transmitting && receiver_->spectrum().overload();
        if (overload_)
            messages.push_back({kMsgStatus, 2, 0});
        const RxChannel& main = receiver_->channel(0);
        messages.push_back({kMsgDataReady, std::lround(main.frequency()), transmitting ? 0 : main.level()});
    }
    post(messages);
}

// No sound: the spectrum and waterfall fall to nothing, the status light stays red, and a
// transmission begun meanwhile ends (it has no sound to go out on).
void Engine::noSound(int n)
{
    std::vector<Message> messages;
    {
        std::lock_guard lock(mutex_);
        endTransmission(messages);
        std::vector<float> silence(std::size_t(n), 0.0f);
        std::array<RxOutput, Receiver::kChannels> dropped;
        receiver_->process(silence.data(), n, dropped);
        overload_ = false;
        messages.push_back({kMsgStatus, 2, 0});
        messages.push_back({kMsgDataReady, std::lround(receiver_->channel(0).frequency()), 0});
    }
    post(messages);
}

void Engine::soundLost(int code)
{
    std::vector<Message> messages;
    {
        std::lock_guard lock(mutex_);
        endTransmission(messages);
        lost_ = true;
    }
    sound::setAudioError(sound::SoundRunner::lostText(sound::takeAudioError()));
    messages.push_back({kMsgStatus, code, 0});
    post(messages);
}

void Engine::soundBack()
{
    {
        std::lock_guard lock(mutex_);
        lost_ = false;
    }
    sound::takeAudioError(); // what the failed tries meanwhile said is old news now
}

void Engine::soundFailed(const std::string& what)
{
    std::vector<Message> messages;
    {
        std::lock_guard lock(mutex_);
        endTransmission(messages);
        lost_ = true; // nothing is sent until it is started again
    }
    sound::setAudioError("The PSK engine stopped on a fault (" + what + "); the transmitter is released. "
                         "Choose RTTY and then the PSK mode again (Mode menu) to start it again.");
    messages.push_back({kMsgStatus, what.find("alloc") != std::string::npos ? 10 : 22, 0});
    post(messages);
}

void Engine::setFftMode(int smoothing, int scale)
{
    std::lock_guard lock(mutex_);
    smoothing_ = smoothing;
    scale_ = scale;
    receiver_->spectrum().setMode(smoothing, scale);
}

void Engine::setAfcLimit(int limit, int channel)
{
    if (!validChannel(channel))
        return;
    std::lock_guard lock(mutex_);
    settings_[channel].afcLimit = limit;
    receiver_->channel(channel).setAfcLimit(limit);
}

void Engine::setClockError(int ppm)
{
    std::lock_guard lock(mutex_);
    ppm_ = std::clamp(ppm, -100000, 100000);
    double step = 1.0 + ppm_ * 1e-6;
    rxResampler_.setStep(step);
    txResampler_.setStep(1.0 / step);
}

void Engine::setRxFrequency(int hz, int afcRange, int channel)
{
    if (!validChannel(channel))
        return;
    std::lock_guard lock(mutex_);
    settings_[channel].hz = hz;
    settings_[channel].afcRange = afcRange;
    receiver_->channel(channel).setFrequency(hz, afcRange);
}

void Engine::setSquelch(int threshold, int speed, int channel)
{
    if (!validChannel(channel))
        return;
    std::lock_guard lock(mutex_);
    settings_[channel].threshold = threshold;
    settings_[channel].speed = speed;
    receiver_->channel(channel).setSquelch(threshold, speed);
}

void Engine::setRxMode(int mode, int channel)
{
    if (!validChannel(channel))
        return;
    std::lock_guard lock(mutex_);
    settings_[channel].mode = mode;
    receiver_->channel(channel).setMode(mode);
}

int Engine::setComPort(int port, int line)
{
    std::lock_guard lock(mutex_);
    bool ok = ptt_.open(port, line);
    if (ok && transmitter_.active())
        ptt_.key(true);
    return ok ? 1 : 0;
}

void Engine::sendCharacter(int code, bool control)
{
    std::lock_guard lock(mutex_);
    if (control)
        transmitter_.queueControl(code);
    else
        transmitter_.queueCharacter(std::uint8_t(code & 0xFF));
}

void Engine::setTxFrequency(int hz)
{
    std::lock_guard lock(mutex_);
    transmitter_.setFrequency(std::clamp(hz, 100, 3900));
}

int Engine::startTx(int mode)
{
    {
        std::lock_guard lock(mutex_);
        if (!lost_) {
            if (!running())
                return 14;
            transmitter_.start(mode);
            return 0;
        }
    }
    // No sound to send on: what the program keyed is released, and the operator told why.
    sound::setAudioError(sound::SoundRunner::lostText());
    post({{kMsgStatus, 0, 0}, {kMsgStatus, 14, 0}});
    return 14;
}

void Engine::abortTx()
{
    std::lock_guard lock(mutex_);
    transmitter_.abort();
    ptt_.key(false);
}

void Engine::clearTx()
{
    std::lock_guard lock(mutex_);
    transmitter_.clearQueue();
}

void Engine::setCwSpeed(int speed)
{
    std::lock_guard lock(mutex_);
    transmitter_.setCwSpeed(speed);
}

void Engine::setCwText(const std::string& text)
{
    std::lock_guard lock(mutex_);
    transmitter_.setCwText(text);
}

int Engine::fftData(std::int32_t* out, int first, int last)
{
    std::lock_guard lock(mutex_);
    receiver_->spectrum().values(out, first, last);
    return overload_ ? 1 : 0;
}

void Engine::vectorData(std::int32_t* out, int channel)
{
    if (!validChannel(channel))
        return;
    std::lock_guard lock(mutex_);
    receiver_->channel(channel).vectors(out);
}

int Engine::signalLevel(int channel)
{
    if (!validChannel(channel))
        return 0;
    std::lock_guard lock(mutex_);
    return running() ? receiver_->channel(channel).level() : 0;
}

int Engine::rxFrequency(int channel)
{
    if (!validChannel(channel))
        return 0;
    std::lock_guard lock(mutex_);
    return int(std::lround(receiver_->channel(channel).frequency()));
}

} // namespace psk
