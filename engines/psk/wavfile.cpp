#include "engines/psk/wavfile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace psk {
namespace {

std::uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t le16(const unsigned char* p) { return std::uint16_t(p[0] | p[1] << 8); }

void put32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put16(unsigned char* p, std::uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

} // namespace

int readWav(const std::string& path, std::vector<std::int16_t>& samples)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 21;
    std::vector<unsigned char> data;
    unsigned char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.insert(data.end(), buf, buf + got);
    std::fclose(f);
    if (data.size() < 12 || std::memcmp(data.data(), "RIFF", 4) || std::memcmp(data.data() + 8, "WAVE", 4))
        return 17;
    int channels = 0, bits = 0;
    std::uint32_t rate = 0;
    bool pcm = false;
    std::size_t pos = 12;
    while (pos + 8 <= data.size()) {
        std::uint32_t size = le32(&data[pos + 4]);
        const unsigned char* body = &data[pos + 8];
        std::size_t avail = std::min<std::size_t>(size, data.size() - pos - 8);
        if (!std::memcmp(&data[pos], "fmt ", 4) && avail >= 16) {
            pcm = le16(body) == 1;
            channels = le16(body + 2);
            rate = le32(body + 4);
            bits = le16(body + 14);
        } else if (!std::memcmp(&data[pos], "data", 4)) {
            if (!pcm || bits != 16 || rate != 8000 || channels < 1)
                return 17;
            std::size_t frames = avail / (2 * std::size_t(channels));
            samples.resize(frames);
            for (std::size_t i = 0; i < frames; ++i)
                samples[i] = std::int16_t(le16(body + i * 2 * std::size_t(channels)));
            return 0;
        }
        pos += 8 + std::size_t(size) + (size & 1);
    }
    return 17;
}

bool WavWriter::open(const std::string& path)
{
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_)
        return false;
    count_ = 0;
    patchHeader();
    return true;
}

void WavWriter::patchHeader()
{
    unsigned char h[44];
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + count_ * 2);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, 1);
    put32(h + 24, 8000);
    put32(h + 28, 16000);
    put16(h + 32, 2);
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, count_ * 2);
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite(h, 1, sizeof h, file_);
    std::fseek(file_, 0, SEEK_END);
}

void WavWriter::write(const float* samples, int n)
{
    if (!file_ || n <= 0)
        return;
    std::vector<unsigned char> out(std::size_t(n) * 2);
    for (int i = 0; i < n; ++i) {
        long v = std::lround(std::clamp(samples[i], -32768.0f, 32767.0f));
        put16(&out[std::size_t(i) * 2], std::uint16_t(std::int16_t(v)));
    }
    std::fwrite(out.data(), 1, out.size(), file_);
    count_ += std::uint32_t(n);
    patchHeader(); // keeps the file playable even if the program stops abruptly
    std::fflush(file_);
}

void WavWriter::close()
{
    if (!file_)
        return;
    patchHeader();
    std::fclose(file_);
    file_ = nullptr;
}

} // namespace psk
