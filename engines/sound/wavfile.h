#pragma once
// 16-bit PCM WAV files at 8000 samples per second, mono (a stereo file is read as its left
// channel).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace sound {

// Reads the samples of a file. Returns 0, or 21 when the file cannot be read and 17 when it
// is not 16-bit PCM at 8000 samples per second. For short files (tests, tools); recordings of
// any length are read with WavReader.
int readWav(const std::string& path, std::vector<std::int16_t>& samples);

// Reads a recording piece by piece, so a file of any size takes the same little memory.
class WavReader {
public:
    WavReader() = default;
    ~WavReader() { close(); }
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    // 0, 21 (cannot be read) or 17 (not 16-bit PCM at 8000 samples per second), as readWav.
    int open(const std::string& path);
    // Up to n samples from where the last read ended; fewer (0) at the end of the data.
    std::size_t read(std::int16_t* samples, std::size_t n);
    // Back to the first sample.
    void rewind();
    std::uint64_t frames() const { return frames_; }
    void close();

private:
    std::FILE* file_ = nullptr;
    std::int64_t dataStart_ = 0;
    std::uint64_t frames_ = 0;
    std::uint64_t position_ = 0;
    int channels_ = 1;
    std::vector<unsigned char> buffer_;
};

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

} // namespace sound
