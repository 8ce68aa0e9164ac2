#pragma once
// Runs an engine's sound on a thread of its own, one block at a time: a block is read from the
// device, the engine makes the block to play from it, and that is played. When the sound stops
// (a card unplugged, the sound server gone or hung) the engine is told once, gets a block's
// time of nothing every block so that its displays go on, and the device is opened again every
// two seconds until it answers; then the engine is told that the sound is back. Nothing here
// waits on the sound library for longer than the caller allows.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engines/sound/audio.h"

namespace sound {

class SoundRunner {
public:
    // What the engine does; every call comes from the runner's thread.
    struct Client {
        virtual ~Client() = default;
        // One block: n samples in, n samples to play out.
        virtual void soundBlock(const float* in, float* out, int n) = 0;
        // A block's time passed without sound.
        virtual void noSound(int n) = 0;
        // The sound stopped (an engine error code, 10..32); said once until it is back.
        virtual void soundLost(int code) = 0;
        virtual void soundBack() = 0;
        // soundBlock threw: the runner ends.
        virtual void soundFailed(const std::string& what) = 0;
    };
    using Opener = std::function<std::unique_ptr<AudioDevice>()>;

    SoundRunner(Client& client, int block);
    ~SoundRunner();
    SoundRunner(const SoundRunner&) = delete;
    SoundRunner& operator=(const SoundRunner&) = delete;

    // Opens a device and runs. Waits up to `wait` for the open: its error code when it failed
    // within that time (then nothing runs), else 0 (a later failure comes as soundLost).
    int start(Opener opener, std::chrono::milliseconds wait);
    // Ends the run at once (the device is closed without waiting long for the library).
    void stop();
    // True from a start that opened (or still opens) until stop, also while the sound is lost;
    // false once a fault in the engine ended the run.
    bool running() const;
    // False while the sound is lost (or not yet opened).
    bool hasSound() const;

    // How often the device is opened again after the sound was lost.
    static constexpr auto kRetry = std::chrono::seconds(2);
    // The words for the operator when the sound stops: what happened, and what happens now.
    // detail: what the device itself said, if anything.
    static std::string lostText(const std::string& detail = {});

private:
    void run();
    void runLoop();
    int openDevice(std::unique_ptr<AudioDevice>& device);
    int pump(AudioDevice& device);
    bool pause(std::chrono::steady_clock::duration d); // ticks noSound; false when stopping
    bool stopping() const;

    Client& engine_;
    const int block_;
    Opener opener_;
    std::thread thread_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool ended_ = false;
    bool sound_ = false;
    AudioDevice* current_ = nullptr; // the device being opened or played, for stop() to cancel
    // The first open, as start() waits for it.
    bool firstDone_ = false, starterWaiting_ = false;
    int firstCode_ = 0;
};

} // namespace sound
