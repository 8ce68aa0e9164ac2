#include "engines/sound/wavfile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace sound {
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
    WavReader reader;
    if (int rc = reader.open(path))
        return rc;
    samples.clear();
    std::int16_t chunk[8192];
    std::size_t got;
    while ((got = reader.read(chunk, std::size(chunk))) > 0)
        samples.insert(samples.end(), chunk, chunk + got);
    return 0;
}

int WavReader::open(const std::string& path)
{
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return 21;
    if (::fseeko(file_, 0, SEEK_END) != 0) {
        close();
        return 21;
    }
    const std::int64_t fileSize = ::ftello(file_);
    std::rewind(file_);
    unsigned char riff[12];
    if (fileSize < 12 || std::fread(riff, 1, 12, file_) != 12 || std::memcmp(riff, "RIFF", 4)
        || std::memcmp(riff + 8, "WAVE", 4)) {
        close();
        return 17;
    }
    int channels = 0, bits = 0;
    std::uint32_t rate = 0;
    bool pcm = false;
    std::int64_t pos = 12;
    unsigned char head[8];
    while (pos + 8 <= fileSize && ::fseeko(file_, pos, SEEK_SET) == 0 && std::fread(head, 1, 8, file_) == 8) {
        const std::uint32_t size = le32(head + 4);
        const std::int64_t avail = std::min<std::int64_t>(size, fileSize - pos - 8);
        if (!std::memcmp(head, "fmt ", 4) && avail >= 16) {
            unsigned char body[16];
            if (std::fread(body, 1, 16, file_) != 16)
                break;
            pcm = le16(body) == 1;
            channels = le16(body + 2);
            rate = le32(body + 4);
            bits = le16(body + 14);
        } else if (!std::memcmp(head, "data", 4)) {
            if (!pcm || bits != 16 || rate != 8000 || channels < 1)
                break;
            channels_ = channels;
            dataStart_ = pos + 8;
            frames_ = std::uint64_t(avail) / (2 * std::uint64_t(channels));
            position_ = 0;
            return 0;
        }
        pos += 8 + std::int64_t(size) + (size & 1);
    }
    close();
    return 17;
}

std::size_t WavReader::read(std::int16_t* samples, std::size_t n)
{
    if (!file_)
        return 0;
    const std::size_t frameBytes = 2 * std::size_t(channels_);
    // At most 64 KB at a time, whatever the header claims about the channels.
    n = std::size_t(std::min<std::uint64_t>({n, frames_ - position_, std::max<std::size_t>(1, 65536 / frameBytes)}));
    buffer_.resize(n * frameBytes);
    const std::size_t got = n ? std::fread(buffer_.data(), frameBytes, n, file_) : 0;
    for (std::size_t i = 0; i < got; ++i)
        samples[i] = std::int16_t(le16(&buffer_[i * frameBytes]));
    position_ += got;
    if (got < n)
        frames_ = position_; // the file ended early (it is being cut or written)
    return got;
}

void WavReader::rewind()
{
    if (file_ && ::fseeko(file_, dataStart_, SEEK_SET) == 0)
        position_ = 0;
}

void WavReader::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    frames_ = position_ = 0;
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

} // namespace sound
