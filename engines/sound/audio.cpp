#include "engines/sound/audio.h"

#include <portaudio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "engines/sound/library.h"
#include "engines/sound/wavfile.h"

namespace sound {
namespace {

double playbackSpeed()
{
    const char* s = std::getenv("SONDREL_AUDIO_SPEED");
    double v = s ? std::atof(s) : 1.0;
    return v > 0 ? v : 1.0;
}

// Keeps a source that has no clock of its own in step with real time (times the speed).
class PacedDevice : public AudioDevice {
public:
    int read(float* samples, int n) override
    {
        if (count_ == 0)
            start_ = std::chrono::steady_clock::now();
        count_ += n;
        auto due = start_ + std::chrono::duration<double>(double(count_) / (8000.0 * speed_));
        std::this_thread::sleep_until(std::chrono::time_point_cast<std::chrono::steady_clock::duration>(due));
        produce(samples, n);
        return 0;
    }
    int write(const float* samples, int n) override
    {
        if (recorder_.isOpen())
            recorder_.write(samples, n);
        return 0;
    }
    void close() override { recorder_.close(); }

protected:
    virtual void produce(float* samples, int n) = 0;
    WavWriter recorder_;

private:
    double speed_ = playbackSpeed();
    std::chrono::steady_clock::time_point start_;
    long long count_ = 0;
};

class NullDevice : public PacedDevice {
public:
    int open() override { return 0; }

protected:
    void produce(float* samples, int n) override { std::fill(samples, samples + n, 0.0f); }
};

class FileDevice : public PacedDevice {
public:
    FileDevice(std::string in, std::string out, bool loop) : in_(std::move(in)), out_(std::move(out)), loop_(loop) {}
    int open() override
    {
        int rc = reader_.open(in_);
        if (rc)
            return rc;
        if (loop_ && reader_.frames() == 0)
            return 17;
        if (!out_.empty() && !recorder_.open(out_))
            return 21;
        return 0;
    }

protected:
    // The recording is read as it plays, so its length costs no memory.
    void produce(float* samples, int n) override
    {
        chunk_.resize(std::size_t(n));
        int done = 0;
        while (done < n) {
            std::size_t got = reader_.read(chunk_.data(), std::size_t(n - done));
            if (got == 0 && loop_ && reader_.frames() > 0) {
                reader_.rewind();
                got = reader_.read(chunk_.data(), std::size_t(n - done));
            }
            if (got == 0)
                break;
            for (std::size_t i = 0; i < got; ++i)
                samples[done + int(i)] = float(chunk_[i]);
            done += int(got);
        }
        std::fill(samples + done, samples + n, 0.0f);
    }

private:
    std::string in_, out_;
    bool loop_;
    WavReader reader_;
    std::vector<std::int16_t> chunk_;
};

int portAudioCode(PaError e)
{
    switch (e) {
    case paNoError: return 0;
    case paInsufficientMemory: return 10;
    case paInputOverflowed: return 12;
    case paTimedOut: return 13;
    case paOutputUnderflowed: return 15;
    case paInvalidSampleRate:
    case paSampleFormatNotSupported:
    case paInvalidChannelCount: return 17;
    case paInvalidDevice: return 21;
    case paDeviceUnavailable: return 23;
    case paBadStreamPtr: return 24;
    case paNotInitialized:
    case paHostApiNotFound:
    case paInvalidHostApi: return 25;
    case paCanNotReadFromAnOutputOnlyStream:
    case paCanNotWriteToAnInputOnlyStream: return 26;
    case paInvalidFlag: return 28;
    case paBadIODeviceCombination:
    case paIncompatibleHostApiSpecificStreamInfo: return 29;
    default: return 22;
    }
}

std::mutex errorLock;
std::string lastError;

void setLastError(std::string text)
{
    std::lock_guard<std::mutex> g(errorLock);
    lastError = std::move(text);
}

bool containsNoCase(const std::string& text, const std::string& part)
{
    auto lower = [](std::string s) {
        for (char& c : s)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    return lower(text).find(lower(part)) != std::string::npos;
}

std::vector<SoundDeviceInfo> devicesOfInitialisedLibrary()
{
    std::vector<SoundDeviceInfo> list;
    const int n = Pa_GetDeviceCount();
    for (int i = 0; i < n; ++i)
        if (const PaDeviceInfo* d = Pa_GetDeviceInfo(i))
            list.push_back({i, d->name ? d->name : "", d->maxInputChannels, d->maxOutputChannels});
    return list;
}

// The first device with channels in the wanted direction whose name contains the text.
PaDeviceIndex findByName(const std::vector<SoundDeviceInfo>& list, const std::string& name, bool capture)
{
    for (const auto& d : list)
        if ((capture ? d.inputs : d.outputs) > 0 && containsNoCase(d.name, name))
            return d.index;
    return paNoDevice;
}

using Clock = std::chrono::steady_clock;

// The sound is taken to have stopped when no block has come for this long; the first may take
// longer (a PulseAudio null sink's monitor gives a new capture its first sound up to two
// seconds late).
constexpr auto kSilentLimit = std::chrono::milliseconds(600);
constexpr auto kFirstSoundLimit = std::chrono::milliseconds(3000);
// How long a close waits for the sound library before it goes on without it.
constexpr auto kCloseWait = std::chrono::milliseconds(500);
// Input kept for a reader that falls behind: two seconds.
constexpr std::size_t kMaxInput = 16000;
// Played sound is queued ahead of the block being made, so that the engine's next block is in
// before the playback needs it: 128 ms at first, more (in steps of 32 ms, up to half a second)
// whenever a block comes with less than 32 ms still queued. The margin is the key's delay too:
// once a minute of blocks has come with a step more than that to spare, it is lowered a step
// again (not below the first), so that a moment of load does not lengthen every later key.
constexpr std::size_t kFirstMargin = 1024;
constexpr std::size_t kMarginStep = 256;
constexpr std::size_t kMaxMargin = 4096;
constexpr std::size_t kLowWater = 256;
constexpr long long kSettleSamples = 60 * 8000;
constexpr double kHostLatency = 0.1;
// Sound moves in steps of 32 ms, well inside the margin.
constexpr unsigned long kCallbackFrames = 256;

// What the stream's callback and the engine's thread share. The library thread that closes the
// stream holds it too, so it outlives the device when a close outlasts its wait.
struct StreamShare {
    std::mutex lock;
    std::condition_variable ready;
    std::deque<std::int16_t> input, output;
    bool playing = false;   // the engine has written: a playback that runs dry is an underrun
    bool finished = false;  // the stream ended by itself: the device or the server is gone
    bool cancelled = false;
    bool heard = false;     // the capture has delivered
    std::size_t wanted = 0; // what a waiting read needs
    // Until the capture delivers, a waiting read is woken when the playback has taken its queue
    // down to this (0: not waiting on the playback).
    std::size_t paceAt = 0;
    Clock::time_point lastSound;
    // Touched on the library thread only.
    PaStream* capture = nullptr;
    PaStream* playback = nullptr;
    bool initialised = false;
};

int onCapture(const void* in, void*, unsigned long frames, const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
              void* user)
{
    auto& s = *static_cast<StreamShare*>(user);
    const auto* from = static_cast<const std::int16_t*>(in);
    {
        std::lock_guard g(s.lock);
        for (unsigned long i = 0; i < frames; ++i)
            s.input.push_back(from ? from[i] : std::int16_t(0));
        if (s.input.size() > kMaxInput)
            s.input.erase(s.input.begin(), s.input.begin() + std::ptrdiff_t(s.input.size() - kMaxInput));
        s.lastSound = Clock::now();
        s.heard = true;
        if (s.input.size() < s.wanted)
            return paContinue; // the reader sleeps on until its block is in
    }
    s.ready.notify_all();
    return paContinue;
}

int onPlayback(const void*, void* out, unsigned long frames, const PaStreamCallbackTimeInfo*,
               PaStreamCallbackFlags flags, void* user)
{
    auto& s = *static_cast<StreamShare*>(user);
    auto* to = static_cast<std::int16_t*>(out);
    bool starved = false, wake = false;
    {
        std::lock_guard g(s.lock);
        const std::size_t have = std::min<std::size_t>(frames, s.output.size());
        std::copy_n(s.output.begin(), have, to);
        s.output.erase(s.output.begin(), s.output.begin() + std::ptrdiff_t(have));
        std::fill(to + have, to + frames, std::int16_t(0));
        starved = s.playing && have < frames;
        wake = s.paceAt > 0 && s.output.size() <= s.paceAt;
    }
    if (wake)
        s.ready.notify_all();
    if (starved)
        detail::countStarved();
    if (flags & paOutputUnderflow)
        detail::countHostUnderrun();
    return paContinue;
}

void onFinished(void* user)
{
    auto& s = *static_cast<StreamShare*>(user);
    {
        std::lock_guard g(s.lock);
        s.finished = true;
    }
    s.ready.notify_all();
}

// On the library thread.
void closeStream(StreamShare& s)
{
    for (PaStream** stream : {&s.capture, &s.playback}) {
        if (*stream) {
            Pa_AbortStream(*stream);
            Pa_CloseStream(*stream);
            *stream = nullptr;
        }
    }
    if (s.initialised) {
        Pa_Terminate();
        s.initialised = false;
    }
}

std::string noMatchText(const std::vector<SoundDeviceInfo>& list, const std::string& name, bool noCapture, bool noPlayback)
{
    std::string what = noCapture && noPlayback ? "capture or playback" : noCapture ? "capture" : "playback";
    return "No " + what + " sound device has \"" + name + "\" in its name. " + describeDevices(list);
}

// On the library thread: a capture and a playback stream at 8000 samples/s, 16-bit mono, whose
// callbacks move the sound through the share's queues. (Two streams, not one full-duplex one:
// the ALSA host polls a duplex pair of PulseAudio's plug-in into failure.)
int openStream(StreamShare& s, int device, const std::string& name)
{
    setLastError({});
    PaError e = Pa_Initialize();
    if (e != paNoError) {
        setLastError(std::string("The sound library could not start: ") + Pa_GetErrorText(e) + ".");
        return 25;
    }
    s.initialised = true;
    PaDeviceIndex in = device < 0 ? Pa_GetDefaultInputDevice() : device;
    PaDeviceIndex out = device < 0 ? Pa_GetDefaultOutputDevice() : device;
    if (!name.empty()) {
        const auto list = devicesOfInitialisedLibrary();
        in = findByName(list, name, true);
        out = findByName(list, name, false);
        if (in == paNoDevice || out == paNoDevice) {
            setLastError(noMatchText(list, name, in == paNoDevice, out == paNoDevice));
            closeStream(s);
            return 21;
        }
    }
    if (in == paNoDevice || out == paNoDevice || in >= Pa_GetDeviceCount() || out >= Pa_GetDeviceCount()) {
        setLastError(describeDevices(devicesOfInitialisedLibrary()));
        closeStream(s);
        return 21;
    }
    // The host's buffers hold a tenth of a second at least: enough for the callback to be late
    // on a busy machine without the sound server running dry.
    PaStreamParameters ip{in, 1, paInt16, std::max(kHostLatency, Pa_GetDeviceInfo(in)->defaultHighInputLatency), nullptr};
    PaStreamParameters op{out, 1, paInt16, std::max(kHostLatency, Pa_GetDeviceInfo(out)->defaultHighOutputLatency),
                          nullptr};
    {
        std::lock_guard g(s.lock);
        s.lastSound = Clock::now();
    }
    e = Pa_OpenStream(&s.capture, &ip, nullptr, 8000, kCallbackFrames, paNoFlag, onCapture, &s);
    if (e == paNoError)
        e = Pa_OpenStream(&s.playback, nullptr, &op, 8000, kCallbackFrames, paNoFlag, onPlayback, &s);
    // (The callbacks keep the library's own scheduling: raised above ordinary work they would
    // poll PulseAudio's plug-in ahead of the thread that feeds it, and start a second late.)
    for (PaStream* stream : {s.capture, s.playback})
        if (e == paNoError)
            e = Pa_SetStreamFinishedCallback(stream, onFinished);
    // The capture first: the engine runs on what it hears once it hears, and a sound server
    // may take a while to get each stream going.
    if (e == paNoError)
        e = Pa_StartStream(s.capture);
    if (e == paNoError)
        e = Pa_StartStream(s.playback);
    if (e != paNoError) {
        int code = portAudioCode(e);
        setLastError(std::string("The sound device \"") + Pa_GetDeviceInfo(in)->name + "\" could not be opened: "
                     + Pa_GetErrorText(e) + ".");
        closeStream(s);
        return code;
    }
    std::lock_guard g(s.lock);
    s.lastSound = Clock::now();
    return 0;
}

// The sound card through PortAudio. The library is called on its own thread only; the stream's
// callback fills the input queue and plays from the output queue, so neither a read nor a write
// ever waits on the library, and the playback always has sound queued ahead of it.
class PortAudioDevice : public AudioDevice {
public:
    explicit PortAudioDevice(int device, std::string name = {})
        : device_(device), name_(std::move(name)), share_(std::make_shared<StreamShare>())
    {
    }
    ~PortAudioDevice() override { close(); }

    int open() override
    {
        auto share = share_;
        auto code = std::make_shared<int>(13);
        const int device = device_;
        const std::string name = name_;
        if (!runOnLibraryThread([share, code, device, name] { *code = openStream(*share, device, name); },
                                kWaitForever, &cancelled_))
            return 13;
        return *code;
    }
    // A sound server may take a second or two to deliver a new capture stream's first sound
    // (PulseAudio's null sinks run on two-second blocks while nothing asks for less), and the
    // transmitter must not wait for it: until the capture delivers, the engine is given a block
    // of silence each time the playback has taken its queue down to the margin. When the
    // capture comes, what it brought beyond that pace is dropped, so that its blocks arrive
    // as the playback needs them and the playback's delay stays as it was.
    int read(float* samples, int n) override
    {
        std::unique_lock g(share_->lock);
        auto& in = share_->input;
        for (;;) {
            if (share_->heard && pacedByPlayback_) {
                pacedByPlayback_ = false;
                const auto keep = std::size_t(std::max<std::ptrdiff_t>(
                    0, std::ptrdiff_t(margin_ + std::size_t(n)) - std::ptrdiff_t(share_->output.size())));
                if (in.size() > keep)
                    in.erase(in.begin(), in.begin() + std::ptrdiff_t(in.size() - keep));
            }
            if (in.size() >= std::size_t(n)) {
                std::copy_n(in.begin(), n, samples);
                in.erase(in.begin(), in.begin() + n);
                return 0;
            }
            if (share_->finished || share_->cancelled)
                return 11;
            const auto limit = share_->lastSound + (share_->heard ? kSilentLimit : kFirstSoundLimit);
            if (Clock::now() >= limit)
                return 11;
            if (!share_->heard && share_->output.size() <= margin_) {
                pacedByPlayback_ = true;
                std::fill(samples, samples + n, 0.0f);
                return 0;
            }
            share_->wanted = std::size_t(n);
            share_->paceAt = share_->heard ? 0 : std::max<std::size_t>(margin_, 1);
            share_->ready.wait_until(g, limit);
            share_->wanted = 0;
            share_->paceAt = 0;
        }
    }
    int write(const float* samples, int n) override
    {
        std::lock_guard g(share_->lock);
        if (share_->finished || share_->cancelled)
            return 14;
        auto& q = share_->output;
        if (share_->playing && q.size() < kLowWater + kMarginStep) {
            sparedFor_ = 0; // a step less would not have been safe
            if (q.size() < kLowWater && margin_ < kMaxMargin) {
                margin_ += kMarginStep; // the blocks come closer to the playback than is safe
                detail::countMarginRaise();
            }
        } else if (margin_ > kFirstMargin && (sparedFor_ += n) >= kSettleSamples) {
            margin_ -= kMarginStep;
            sparedFor_ = 0;
        }
        const bool silent = std::all_of(samples, samples + n, [](float v) { return std::abs(v) < 1.0f; });
        if (silent) {
            // Between transmissions the queue is held at one block and the margin, whatever
            // the two clocks did meanwhile; a transmission starts on a full margin.
            const std::size_t target = std::size_t(n) + margin_;
            if (q.size() < target)
                q.insert(q.end(), target - q.size(), std::int16_t(0));
            while (q.size() > target && q.back() == 0)
                q.pop_back(); // silence queued for a margin since lowered
        } else {
            if (!share_->playing && q.size() < margin_)
                q.insert(q.end(), margin_ - q.size(), std::int16_t(0));
            for (int i = 0; i < n; ++i)
                q.push_back(std::int16_t(std::lround(std::clamp(samples[i], -32768.0f, 32767.0f))));
        }
        share_->playing = true;
        return 0;
    }
    void close() override
    {
        cancel();
        if (closed_)
            return;
        closed_ = true;
        auto share = share_;
        runOnLibraryThread([share] { closeStream(*share); }, kCloseWait);
    }
    void cancel() override
    {
        cancelled_ = true;
        {
            std::lock_guard g(share_->lock);
            share_->cancelled = true;
        }
        share_->ready.notify_all();
    }

private:
    int device_;
    std::string name_;
    std::shared_ptr<StreamShare> share_;
    std::atomic<bool> cancelled_{false};
    bool closed_ = false;
    std::size_t margin_ = kFirstMargin; // written under the share's lock
    long long sparedFor_ = 0;           // samples written since a block came close to the playback
    bool pacedByPlayback_ = false;      // silence has been read before the capture delivered
};

// Answers every open with the error it was made with.
class MissingDevice : public AudioDevice {
public:
    int open() override { return 21; }
    int read(float*, int) override { return 11; }
    int write(const float*, int) override { return 14; }
    void close() override {}
};

std::string programDir()
{
    std::vector<char> buf(4096);
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return ".";
    std::string path(buf.data(), std::size_t(n));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

} // namespace

std::string demoRecordingPath()
{
    std::string dir = programDir();
    std::string beside = dir + "/" + kDemoFileName;
    if (::access(beside.c_str(), R_OK) == 0)
        return beside;
    std::string shared = dir + "/../share/sondrel/" + kDemoFileName;
    if (::access(shared.c_str(), R_OK) == 0)
        return shared;
    return beside;
}

std::string describeDevices(const std::vector<SoundDeviceInfo>& list)
{
    if (list.empty())
        return "No sound devices were found: connect a sound card, or check that your user may use it (group audio).";
    std::string text = "The sound devices are:";
    for (const auto& d : list) {
        text += "\n  " + d.name + " (";
        text += d.inputs > 0 ? (d.outputs > 0 ? "capture and playback" : "capture") : "playback";
        text += ")";
    }
    text += "\nSet SONDREL_AUDIO=device:NAME to a part of one of these names, or leave it unset for the default devices.";
    return text;
}

std::vector<SoundDeviceInfo> listSoundDevices()
{
    auto list = std::make_shared<std::vector<SoundDeviceInfo>>();
    const bool answered = runOnLibraryThread(
        [list] {
            if (Pa_Initialize() != paNoError)
                return;
            *list = devicesOfInitialisedLibrary();
            Pa_Terminate();
        },
        std::chrono::seconds(5));
    if (!answered) {
        setLastError("The sound system did not answer within 5 seconds: the sound server (PulseAudio or "
                     "PipeWire) may hang. Restart it (or log in again), then try again.");
        return {};
    }
    return *list;
}

void setAudioError(std::string text)
{
    setLastError(std::move(text));
}

std::string takeAudioError()
{
    std::lock_guard<std::mutex> g(errorLock);
    return std::exchange(lastError, {});
}

std::unique_ptr<AudioDevice> makeAudioDevice(int device)
{
    const char* env = std::getenv("SONDREL_AUDIO");
    std::string spec = env ? env : "";
    if (spec.empty())
        return std::make_unique<PortAudioDevice>(device);
    if (spec.rfind("device:", 0) == 0 && spec.size() > 7)
        return std::make_unique<PortAudioDevice>(device, spec.substr(7));
    if (spec == "null")
        return std::make_unique<NullDevice>();
    if (spec == "demo")
        return std::make_unique<FileDevice>(demoRecordingPath(), std::string(), true);
    if (spec.rfind("file:", 0) == 0) {
        std::string rest = spec.substr(5);
        auto comma = rest.find(',');
        std::string in = rest.substr(0, comma);
        std::string out = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
        return std::make_unique<FileDevice>(in, out, false);
    }
    return std::make_unique<MissingDevice>();
}

} // namespace sound
