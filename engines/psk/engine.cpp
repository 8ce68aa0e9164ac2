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
    stop();
    auto dev = sound::makeAudioDevice(device);
    int rc = dev->open();
    if (rc != 0)
        return rc;
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
        device_ = std::move(dev);
    }
    {
        std::lock_guard lock(posterMutex_);
        hwnd_ = hwnd;
    }
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return 0;
}

void Engine::stop()
{
    if (!thread_.joinable())
        return;
    stopping_ = true;
    thread_.join();
    std::vector<Message> messages;
    {
        std::lock_guard lock(mutex_);
        device_->close();
        device_.reset();
        if (transmitter_.active()) {
            transmitter_.abort();
            messages.push_back({kMsgStatus, 0, 0});
        }
        std::vector<TxEvent> drop;
        float scratch[kBlock];
        transmitter_.fill(scratch, kBlock, drop); // releases the abort's own event
        ptt_.key(false);
    }
    post(messages);
}

void Engine::run()
{
    std::vector<float> in(kBlock), rx, out(kBlock), txRaw(256);
    std::vector<Message> messages;
    while (!stopping_) {
        int rc = device_->read(in.data(), kBlock);
        messages.clear();
        {
            std::lock_guard lock(mutex_);
            if (rc != 0) {
                ptt_.key(false);
                messages.push_back({kMsgStatus, rc, 0});
            } else {
                rx.clear();
                if (rxResampler_.step() == 1.0)
                    rx.assign(in.begin(), in.end());
                else
                    rxResampler_.process(in.data(), kBlock, rx);

                bool transmitting = transmitter_.active();
                std::vector<TxEvent> events;
                if (txResampler_.step() == 1.0) {
                    transmitter_.fill(out.data(), kBlock, events);
                } else {
                    while (txFifo_.size() < std::size_t(kBlock)) {
                        transmitter_.fill(txRaw.data(), int(txRaw.size()), events);
                        txResampler_.process(txRaw.data(), int(txRaw.size()), txFifo_);
                    }
                    std::copy_n(txFifo_.begin(), kBlock, out.begin());
                    txFifo_.erase(txFifo_.begin(), txFifo_.begin() + kBlock);
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
                    receiver_->showTransmit(out.data(), kBlock);
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
        }
        post(messages);
        if (rc != 0)
            break;
        rc = device_->write(out.data(), kBlock);
        if (rc != 0) {
            {
                std::lock_guard lock(mutex_);
                ptt_.key(false);
            }
            post({{kMsgStatus, rc, 0}});
            break;
        }
    }
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
    if (!running())
        return 14;
    std::lock_guard lock(mutex_);
    transmitter_.start(mode);
    return 0;
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
