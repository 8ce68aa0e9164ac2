#include "engines/sound/audio.h"

#include <portaudio.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

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

class PortAudioDevice : public AudioDevice {
public:
    explicit PortAudioDevice(int device, std::string name = {}) : device_(device), name_(std::move(name)) {}
    ~PortAudioDevice() override { close(); }

    int open() override
    {
        setLastError({});
        PaError e = Pa_Initialize();
        if (e != paNoError) {
            setLastError(std::string("The sound library could not start: ") + Pa_GetErrorText(e) + ".");
            return 25;
        }
        initialised_ = true;
        PaDeviceIndex in = device_ < 0 ? Pa_GetDefaultInputDevice() : device_;
        PaDeviceIndex out = device_ < 0 ? Pa_GetDefaultOutputDevice() : device_;
        if (!name_.empty()) {
            const auto list = devicesOfInitialisedLibrary();
            in = findByName(list, name_, true);
            out = findByName(list, name_, false);
            if (in == paNoDevice || out == paNoDevice) {
                setLastError(noMatchText(list, in == paNoDevice, out == paNoDevice));
                close();
                return 21;
            }
        }
        if (in == paNoDevice || out == paNoDevice || in >= Pa_GetDeviceCount() || out >= Pa_GetDeviceCount()) {
            setLastError(describeDevices(devicesOfInitialisedLibrary()));
            close();
            return 21;
        }
        PaStreamParameters ip{in, 1, paInt16, Pa_GetDeviceInfo(in)->defaultHighInputLatency, nullptr};
        PaStreamParameters op{out, 1, paInt16, Pa_GetDeviceInfo(out)->defaultHighOutputLatency, nullptr};
        e = Pa_OpenStream(&stream_, &ip, &op, 8000, 256, paNoFlag, nullptr, nullptr);
        if (e == paNoError)
            e = Pa_StartStream(stream_);
        if (e != paNoError) {
            int code = portAudioCode(e);
            setLastError(std::string("The sound device \"") + Pa_GetDeviceInfo(in)->name + "\" could not be opened: "
                         + Pa_GetErrorText(e) + ".");
            close();
            return code;
        }
        return 0;
    }
    int read(float* samples, int n) override
    {
        buffer_.resize(std::size_t(n));
        PaError e = Pa_ReadStream(stream_, buffer_.data(), n);
        if (e != paNoError && e != paInputOverflowed)
            return 11;
        for (int i = 0; i < n; ++i)
            samples[i] = buffer_[std::size_t(i)];
        return 0;
    }
    int write(const float* samples, int n) override
    {
        buffer_.resize(std::size_t(n));
        for (int i = 0; i < n; ++i)
            buffer_[std::size_t(i)] = std::int16_t(std::clamp(samples[i], -32768.0f, 32767.0f));
        PaError e = Pa_WriteStream(stream_, buffer_.data(), n);
        return e == paNoError || e == paOutputUnderflowed ? 0 : 14;
    }
    void close() override
    {
        if (stream_) {
            Pa_AbortStream(stream_);
            Pa_CloseStream(stream_);
            stream_ = nullptr;
        }
        if (initialised_) {
            Pa_Terminate();
            initialised_ = false;
        }
    }

private:
    std::string noMatchText(const std::vector<SoundDeviceInfo>& list, bool noCapture, bool noPlayback) const
    {
        std::string what = noCapture && noPlayback ? "capture or playback" : noCapture ? "capture" : "playback";
        return "No " + what + " sound device has \"" + name_ + "\" in its name. " + describeDevices(list);
    }

    int device_;
    std::string name_;
    PaStream* stream_ = nullptr;
    bool initialised_ = false;
    std::vector<std::int16_t> buffer_;
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
    if (Pa_Initialize() != paNoError)
        return {};
    auto list = devicesOfInitialisedLibrary();
    Pa_Terminate();
    return list;
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
