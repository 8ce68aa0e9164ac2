#pragma once
// The RTTY engine: receives and sends RTTY on the sound card as the program commands it (the
// registered message "MMTTY", wParam the command code, lParam its value) and reports back with
// notifications (0x8000 + code). Spectrum and XY scope samples, the level counters and the PTT
// port name go through the block shared with the program.
#include <QString>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engines/psk/audio.h"
#include "engines/psk/comport.h"
#include "engines/psk/spectrum.h"
#include "engines/rtty/baudot.h"
#include "engines/rtty/fsk.h"

namespace rtty {

// Switch word bits (the program shows and toggles them).
enum : std::int32_t {
    kSwAfc = 0x4,
    kSwNet = 0x8,
    kSwBandPass = 0x20,
    kSwNotch = 0x40,
    kSwSquelch = 0x80,
    kSwReverse = 0x100,
    kSwUos = 0x200,
    kSwNotchReports = 0x4000, // the notch frequency is reported to the program
    kSwWordOut = 0x20000,     // send whole words
};
// View word bits.
enum : std::int32_t { kViewMedium = 0x40, kViewHeavy = 0x80, kViewScope = 0x1000 };

// Notification codes (sent as 0x8000 + code).
enum Notification : int {
    kNoteHandle = 0, kNoteChar = 3, kNotePtt = 4, kNoteMark = 7, kNoteSpace = 8, kNoteSwitches = 9,
    kNoteView = 0x0A, kNoteLevel = 0x0B, kNoteNotch = 0x11, kNoteShift = 0x12,
};

class RttyEngine {
public:
    using Notify = std::function<void(int code, std::int32_t value)>;
    // block: the shared block (may be null); profiles: the profile file ("UserPara.INI").
    RttyEngine(unsigned char* block, QString profiles, Notify notify);
    ~RttyEngine();
    RttyEngine(const RttyEngine&) = delete;
    RttyEngine& operator=(const RttyEngine&) = delete;

    // A command of the program (any code but the hello and quit, which the window handles).
    void command(int code, std::int32_t value);
    // Everything the program shows: tones, shift, switch and view words.
    void reportState();

    // Runs the sound on its own thread; 0 or an error code of the device.
    int start(std::unique_ptr<psk::AudioDevice> device);
    void stop();
    // One block of sound: input in, output (transmit audio, or silence) out. The sound thread
    // calls it; tests may call it directly.
    void processBlock(const float* in, float* out, int n);

    bool transmitting() const;
    std::int32_t switches() const;
    static constexpr int kBlock = 256;

private:
    void applySwitches(std::int32_t word);
    void setTones(double markHz, double spaceHz);
    void reportTones();
    void startTransmit();
    void endTransmit();
    void fillTransmit(int n);
    bool nextCharacterReady() const;
    void openPttPort();
    void selectProfile(int n);
    void storeProfile(int n);
    void deleteProfile(int n);
    void writeSpectrum(const float* samples, int n);

    mutable std::mutex mutex_;
    unsigned char* block_;
    QString profiles_;
    Notify notify_;
    FskDemodulator demod_;
    FskModulator mod_;
    BaudotEncoder encoder_;
    BaudotDecoder decoder_;
    psk::Spectrum spectrum_;
    psk::PttPort ptt_;
    std::int32_t switches_ = kSwAfc | kSwNet | kSwBandPass | kSwSquelch | kSwNotchReports;
    std::int32_t view_ = 0;
    double squelchPercent_ = 20;
    int notchHz_ = 0;
    double reportedMark_ = 0, reportedSpace_ = 0;
    int watchdogSeconds_ = 0;
    // transmitting
    bool tx_ = false, stopping_ = false;
    long long txSamplesSent_ = 0;
    std::deque<int> txChars_;          // characters, or kFigsRequest / kLtrsRequest
    std::deque<float> txAudio_;
    std::deque<std::pair<long long, unsigned char>> echoes_; // sent when the audio is out
    long long audioQueued_ = 0, audioOut_ = 0;
    // sound thread
    std::unique_ptr<psk::AudioDevice> device_;
    std::thread thread_;
    std::atomic<bool> running_{false};
};

} // namespace rtty
