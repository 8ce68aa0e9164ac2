#pragma once
// Sound in and out for the engine, behind one small interface: the sound card through
// PortAudio, a WAV file played into the receiver (and the transmitter recorded), silence,
// or the looped demo recording. SONDREL_AUDIO chooses: "file:IN.wav[,OUT.wav]", "null",
// "demo"; unset or empty means the sound card. SONDREL_AUDIO_SPEED=N runs files, silence
// and the demo N times faster than real time.
#include <memory>
#include <string>

namespace psk {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Each returns 0, or an engine error code (10..32).
    virtual int open() = 0;
    virtual int read(float* samples, int n) = 0;        // blocks until n samples are in
    virtual int write(const float* samples, int n) = 0; // 16-bit scale
    virtual void close() = 0;
};

// The device for a PortAudio device number (-1 = the default devices), unless SONDREL_AUDIO
// names another source.
std::unique_ptr<AudioDevice> makeAudioDevice(int device);

// Where the demo recording is looked for: beside the running program, or in
// ../share/sondrel from it.
std::string demoRecordingPath();
inline constexpr const char* kDemoFileName = "sondrel_demo.wav";

} // namespace psk
