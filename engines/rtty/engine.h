#pragma once
// The RTTY engine: receives and sends RTTY on the sound card as the program commands it (the
// registered message "MMTTY", wParam the command code, lParam its value) and reports back with
// notifications (0x8000 + code). Spectrum and XY scope samples, the level counters and the PTT
// port name go through the block shared with the program.
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engines/psk/receive/spectrum.h"
#include "engines/sound/audio.h"
#include "engines/sound/runner.h"
#include "engines/psk/transmit/comport.h"
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
    kNoteMessage = 0x20, // a message for the operator waits in the block (engine's own)
};

// Where the engine leaves a message for the operator in the shared block (Windows-1252, NUL
// ended).
constexpr int kMessageOffset = 13600;
constexpr int kMessageSize = 512;

// The engine's own settings, kept per profile and changed in its set-up window.
struct EngineSetup {
    int soundDevice = -1;        // -1: the default devices
    double markHz = kDefaultMarkHz;
    double shiftHz = kDefaultShiftHz;
    double baud = kDefaultBaud;
    double stopBits = 1.5;       // 1, 1.5 or 2
    bool afc = true;
    bool uos = false;
    int pttPort = 0;             // 0: the port the program names
    int pttLine = 3;             // 1 RTS, 2 DTR, 3 both
};

class RttyEngine : private sound::SoundRunner::Client {
public:
    using Notify = std::function<void(int code, std::int32_t value)>;
    // A message for the operator in words (from any thread).
    using Tell = std::function<void(const QString& text)>;
    // block: the shared block (may be null); profiles: the profile file ("UserPara.INI").
    RttyEngine(unsigned char* block, QString profiles, Notify notify);
    // Messages go to the engine's window; errors also to the program.
    void setTell(Tell tell);
    ~RttyEngine() override;
    RttyEngine(const RttyEngine&) = delete;
    RttyEngine& operator=(const RttyEngine&) = delete;

    // A command of the program (any code but the hello and quit, which the window handles).
    void command(int code, std::int32_t value);
    // Everything the program shows: tones, shift, switch and view words.
    void reportState();

    // Runs the sound on its own thread; 0 or an error code of the device, which the operator
    // is told about in words. A device that has not opened within a second and a half goes on
    // opening meanwhile. When the sound stops the transmitter is released, the operator told,
    // and reception resumes by itself when the device answers again.
    int start(sound::SoundRunner::Opener opener);
    void stop();
    // The sound runs (or waits for a lost device to come back).
    bool soundRunning() const { return runner_.running(); }
    // Ends any transmission and drops PTT at once (any thread, also from a signal's handler's
    // follow-up).
    void releasePtt();
    bool pttKeyed() const;

    EngineSetup setup() const;
    // Applies the set-up window's settings and keeps them in the current profile.
    void applySetup(const EngineSetup& s);
    int currentProfile() const;
    // One block of sound: input in, output (transmit audio, or silence) out. The sound thread
    // calls it; tests may call it directly.
    void processBlock(const float* in, float* out, int n);

    bool transmitting() const;
    std::int32_t switches() const;
    static constexpr int kBlock = 256;

    // The operator's message for a sound device error code.
    static QString soundErrorText(int code);

private:
    void say(const QString& text, bool toProgram);
    void applySwitches(std::int32_t word);
    void applyTxTones();
    void setTones(double markHz, double spaceHz);
    void reportTones();
    void startTransmit();
    void endTransmit();
    void fillTransmit(int n);
    bool nextCharacterReady() const;
    void openPttPort();
    void useBaud(double baud, const QString& from);
    void selectProfile(int n, bool quiet = false);
    void storeProfile(int n);
    void deleteProfile(int n);
    void writeSpectrum(const float* samples, int n);
    void soundBlock(const float* in, float* out, int n) override;
    void noSound(int n) override;
    void soundLost(int code) override;
    void soundBack() override;
    void soundFailed(const std::string& what) override;

    mutable std::mutex mutex_;
    unsigned char* block_;
    QString profiles_;
    Notify notify_;
    Tell tell_;
    QStringList untold_;
    EngineSetup setup_;
    int profile_ = 0;
    FskDemodulator demod_;
    FskModulator mod_;
    BaudotEncoder encoder_;
    BaudotDecoder decoder_;
    psk::Spectrum spectrum_;
    psk::PttPort ptt_;
    std::int32_t switches_ = kSwAfc | kSwNet | kSwBandPass | kSwSquelch | kSwNotchReports;
    std::int32_t view_ = 0;
    double squelchPercent_ = 20; // the level, 0..100, a character must reach to be printed
    int notchHz_ = 0;
    double reportedMark_ = 0, reportedSpace_ = 0;
    double setMarkHz_ = kDefaultMarkHz, setSpaceHz_ = kDefaultMarkHz + kDefaultShiftHz; // last set by a command
    int watchdogSeconds_ = 0;
    // transmitting
    bool tx_ = false, stopping_ = false;
    long long txSamplesSent_ = 0;
    std::deque<int> txChars_;          // characters, or kFigsRequest / kLtrsRequest
    std::deque<float> txAudio_;
    std::deque<std::pair<long long, unsigned char>> echoes_; // sent when the audio is out
    long long audioQueued_ = 0, audioOut_ = 0;
    long lostBlocks_ = 0; // blocks without sound since it stopped (the block's lost-sound count)
    sound::SoundRunner runner_{*this, kBlock}; // last: it stops before the rest goes
};

} // namespace rtty
