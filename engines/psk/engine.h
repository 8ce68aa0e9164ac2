#pragma once
// The running modem: owns the receiver, the transmitter and the PTT port, processes sound one
// block at a time on the sound runner's thread and reports through the installed message
// poster. Every setting may be given before start and is kept across stop and start. When the
// sound stops, a transmission ends (PTT released, status 0), the error code is posted with words
// for the operator left in the sound layer (sound::takeAudioError), the displays get empty
// blocks and the status light goes red while there is no sound, and reception resumes by
// itself when the device answers again.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engines/psk/dsp/resampler.h"
#include "engines/psk/receive/receiver.h"
#include "engines/sound/audio.h"
#include "engines/sound/runner.h"
#include "engines/psk/transmit/comport.h"
#include "engines/psk/transmit/transmitter.h"

namespace psk {

using MessagePoster = std::function<void(std::int32_t hwnd, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)>;

// Message numbers posted to the window given at start.
constexpr std::uint32_t kMsgDataReady = 2024; // wParam main-channel Hz, lParam level 0..100
constexpr std::uint32_t kMsgCharacter = 2025; // wParam code, lParam channel or -1 for an echo
constexpr std::uint32_t kMsgStatus = 2026;    // wParam 0 receive, 1 transmit, 2 overload, else error
constexpr std::uint32_t kMsgImd = 2027;       // wParam dB, lParam channel
constexpr int kBlock = 1024;                  // samples per tick
// How long start waits for the sound device to open before it goes on without it (a sound
// server that hangs): a later failure is posted as a status.
constexpr auto kOpenWait = std::chrono::milliseconds(1500);

class Engine : private sound::SoundRunner::Client {
public:
    Engine();
    ~Engine() override;
    static Engine& instance();

    void setPoster(MessagePoster poster);
    int start(std::int32_t hwnd, int device, int channels);
    // The same on devices of the caller's making.
    int start(std::int32_t hwnd, sound::SoundRunner::Opener opener, int channels);
    void stop();
    bool running() const { return runner_.running(); }

    void setFftMode(int smoothing, int scale);
    void setAfcLimit(int limit, int channel);
    void setClockError(int ppm);
    void setRxFrequency(int hz, int afcRange, int channel);
    void setSquelch(int threshold, int speed, int channel);
    void setRxMode(int mode, int channel);
    int setComPort(int port, int line);

    void sendCharacter(int code, bool control);
    void setTxFrequency(int hz);
    int startTx(int mode);
    void abortTx();
    void clearTx();
    void setCwSpeed(int speed);
    void setCwText(const std::string& text);

    int fftData(std::int32_t* out, int first, int last);
    void vectorData(std::int32_t* out, int channel);
    int signalLevel(int channel);
    int rxFrequency(int channel);

private:
    struct Message {
        std::uint32_t msg;
        std::intptr_t wParam, lParam;
    };
    struct ChannelSettings {
        int hz = 1000, afcRange = 0, afcLimit = 0, threshold = 0, speed = 0, mode = 0;
    };
    void soundBlock(const float* in, float* out, int n) override;
    void noSound(int n) override;
    void soundLost(int code) override;
    void soundBack() override;
    void soundFailed(const std::string& what) override;
    // Ends a transmission at once and drops PTT (under the lock).
    void endTransmission(std::vector<Message>& messages);
    void applySettings(Receiver& rx);
    void post(const std::vector<Message>& messages);
    static bool validChannel(int ch) { return ch >= 0 && ch < Receiver::kChannels; }

    std::mutex mutex_;          // guards everything below that the thread touches
    std::mutex posterMutex_;
    MessagePoster poster_;
    std::int32_t hwnd_ = 0;

    std::array<ChannelSettings, Receiver::kChannels> settings_{};
    int smoothing_ = 1, scale_ = 100, ppm_ = 0, channels_ = 3;
    std::unique_ptr<Receiver> receiver_;
    Transmitter transmitter_;
    Resampler rxResampler_, txResampler_;
    std::vector<float> txFifo_;
    PttPort ptt_;
    bool overload_ = false;
    bool lost_ = false; // the sound stopped and has not come back
    std::vector<float> rxBlock_, txRaw_ = std::vector<float>(256);
    sound::SoundRunner runner_{*this, kBlock}; // last: it stops before the rest goes
};

} // namespace psk
