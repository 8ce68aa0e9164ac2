#pragma once
// Sound in and out for the engine, behind one small interface: the sound card through
// PortAudio, a WAV file played into the receiver (and the transmitter recorded), silence,
// or the looped demo recording. SONDREL_AUDIO chooses: "file:IN.wav[,OUT.wav]", "null",
// "demo", "device:NAME" (the capture and playback devices whose names contain NAME, in any
// letter case); unset or empty means the default sound devices. SONDREL_AUDIO_SPEED=N runs files, silence
// and the demo N times faster than real time.
#include <memory>
#include <string>
#include <vector>

namespace sound {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Each returns 0, or an engine error code (10..32).
    virtual int open() = 0;
    // Waits until n samples are in; an error when the sound has stopped coming.
    virtual int read(float* samples, int n) = 0;
    // Queues n samples (16-bit scale) to play after those before.
    virtual int write(const float* samples, int n) = 0;
    // Never waits long for the sound library, also when it hangs.
    virtual void close() = 0;
    // Makes an open or a read that waits return at once, with an error (from any thread).
    virtual void cancel() {}
};

// The device for a PortAudio device number (-1 = the default devices), unless SONDREL_AUDIO
// names another source.
std::unique_ptr<AudioDevice> makeAudioDevice(int device);

// What the last failed open of a sound device found, in words for the operator (the devices
// there are, what to set); empty when it said nothing more than its error code. Taking it
// empties it, so an old failure is never shown again.
std::string takeAudioError();
// Leaves words for the operator about a sound failure, to be taken as above.
void setAudioError(std::string text);

struct SoundDeviceInfo {
    int index;
    std::string name;
    int inputs, outputs; // channels for capture and for playback
};
// The sound library's devices, in its own order.
std::vector<SoundDeviceInfo> listSoundDevices();
// The list in words, with how to choose one.
std::string describeDevices(const std::vector<SoundDeviceInfo>& list);

// Where the demo recording is looked for: beside the running program, or in
// ../share/sondrel from it.
std::string demoRecordingPath();
inline constexpr const char* kDemoFileName = "sondrel_demo.wav";

} // namespace sound
