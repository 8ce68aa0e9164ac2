#include "other_modem.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace othermodem {
namespace {

std::atomic<unsigned> g_files{0};

// A file of its own in the temporary folder, removed when it goes.
struct TempFile {
    std::string path;
    TempFile()
    {
        const char* dir = std::getenv("TMPDIR");
        path = std::string(dir && *dir ? dir : "/tmp") + "/bench_rtty_cer_" + std::to_string(::getpid()) + "_" +
               std::to_string(g_files++) + ".wav";
    }
    ~TempFile() { std::remove(path.c_str()); }
};

void put32(std::FILE* f, std::uint32_t v) { std::fwrite(&v, 4, 1, f); }
void put16(std::FILE* f, std::uint16_t v) { std::fwrite(&v, 2, 1, f); }

// 32-bit floating-point WAV, 8000 samples/s, full scale 32768 (noise may go past it).
bool writeFloatWav(const std::string& path, const std::vector<float>& audio)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const auto bytes = static_cast<std::uint32_t>(audio.size() * 4);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 3); // IEEE float
    put16(f, 1);
    put32(f, 8000);
    put32(f, 8000 * 4);
    put16(f, 4);
    put16(f, 32);
    std::fwrite("data", 1, 4, f);
    put32(f, bytes);
    std::vector<float> scaled(audio.size());
    for (std::size_t i = 0; i < audio.size(); ++i)
        scaled[i] = audio[i] / 32768.0f;
    const bool ok = std::fwrite(scaled.data(), 4, scaled.size(), f) == scaled.size();
    return std::fclose(f) == 0 && ok;
}

// 16-bit PCM mono WAV samples (the data chunk found among the others).
std::vector<float> readPcmWav(const std::string& path)
{
    std::vector<float> out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return out;
    char id[4];
    std::uint32_t size = 0;
    std::fseek(f, 12, SEEK_SET);
    while (std::fread(id, 1, 4, f) == 4 && std::fread(&size, 4, 1, f) == 1) {
        if (std::memcmp(id, "data", 4) != 0) {
            std::fseek(f, static_cast<long>(size + (size & 1)), SEEK_CUR);
            continue;
        }
        std::vector<std::int16_t> s(size / 2);
        s.resize(std::fread(s.data(), 2, s.size(), f));
        out.assign(s.begin(), s.end());
        break;
    }
    std::fclose(f);
    return out;
}

std::string run(const std::string& command)
{
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

} // namespace

bool available()
{
    static const bool found = std::system("minimodem --version >/dev/null 2>&1") == 0;
    return found;
}

std::string receive(const std::vector<float>& audio, double markHz, double spaceHz)
{
    if (!available())
        return {};
    TempFile file;
    if (!writeFloatWav(file.path, audio))
        return {};
    char command[512];
    std::snprintf(command, sizeof command, "minimodem --rx rtty -q -M %.2f -S %.2f -f '%s' 2>/dev/null", markHz, spaceHz,
                  file.path.c_str());
    return run(command);
}

std::vector<float> transmit(const std::string& text)
{
    if (!available())
        return {};
    TempFile file, input;
    if (std::FILE* f = std::fopen(input.path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    const std::string command = "minimodem --tx rtty -R 8000 -f '" + file.path + "' < '" + input.path + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return {};
    std::vector<float> audio = readPcmWav(file.path);
    for (float& v : audio)
        v *= 16000.0f / 32767.0f;
    return audio;
}

} // namespace othermodem
