#pragma once
// 16-bit PCM WAV files at 8000 samples per second, mono (a stereo file is read as its left
// channel).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace psk {

// Reads the samples of a file. Returns 0, or 21 when the file cannot be read and 17 when it
// is not 16-bit PCM at 8000 samples per second.
int readWav(const std::string& path, std::vector<std::int16_t>& samples);

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter() { close(); }
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool open(const std::string& path);
    void write(const float* samples, int n); // 16-bit scale, clipped
    void close();                            // completes the header
    bool isOpen() const { return file_ != nullptr; }

private:
    void patchHeader();
    std::FILE* file_ = nullptr;
    std::uint32_t count_ = 0;
};

} // namespace psk
