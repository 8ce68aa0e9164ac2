// Memory while a 2 GB recording plays: psk_decode decoding it, and the program's file sound
// source reading it. The file is sparse (silence), so it costs no disk; each reader runs for a
// few seconds, long enough to show whether it reads the file whole first.
#include "engines/sound/audio.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void put32(unsigned char* p, std::uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i)); }
void put16(unsigned char* p, std::uint16_t v) { p[0] = static_cast<unsigned char>(v); p[1] = static_cast<unsigned char>(v >> 8); }

bool makeSparseWav(const std::string& path, long long bytes)
{
    unsigned char h[44];
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 0xFFFFFFF0u);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, 1);
    put32(h + 24, 8000);
    put32(h + 28, 16000);
    put16(h + 32, 2);
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, static_cast<std::uint32_t>(bytes - 44));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(h, 1, sizeof h, f) == sizeof h;
    std::fclose(f);
    return ok && ::truncate(path.c_str(), bytes) == 0;
}

double mb(long kb) { return kb / 1024.0; }

} // namespace

int main()
{
    const long long size = 2LL << 30;
    char dir[] = "/tmp/sondrel-wav-XXXXXX";
    if (!::mkdtemp(dir))
        return 1;
    const std::string path = std::string(dir) + "/two-gigabytes.wav";
    if (!makeSparseWav(path, size)) {
        std::fprintf(stderr, "cannot make %s\n", path.c_str());
        return 1;
    }
    std::printf("recording: %lld bytes (%.1f hours at 8000 samples/s)\n", size, size / 2.0 / 8000 / 3600);

    std::fflush(stdout);
    // psk_decode, stopped after 5 s of decoding.
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        ::execl(PSK_DECODE, PSK_DECODE, path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::sleep(5);
    ::kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    std::printf("%-48s peak memory %8.1f MB\n", "psk_decode, first 5 s", mb(usage.ru_maxrss));

    // The program's file source at 2000 times real time for 5 s.
    ::setenv("SONDREL_AUDIO", ("file:" + path).c_str(), 1);
    ::setenv("SONDREL_AUDIO_SPEED", "2000", 1);
    auto device = sound::makeAudioDevice(-1);
    const auto t0 = std::chrono::steady_clock::now();
    int rc = device->open();
    const double openMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::vector<float> block(4096);
    long long samples = 0;
    while (rc == 0 && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(5)) {
        rc = device->read(block.data(), static_cast<int>(block.size()));
        samples += static_cast<long long>(block.size());
    }
    device->close();
    rusage self{};
    ::getrusage(RUSAGE_SELF, &self);
    std::printf("%-48s peak memory %8.1f MB (open %.1f ms, %lld samples read)\n", "file sound source, 5 s",
                mb(self.ru_maxrss), openMs, samples);
    std::printf("target: under 100 MB for any file size\n");
    ::unlink(path.c_str());
    ::rmdir(dir);
    return 0;
}
