#pragma once
// Every call into the sound library (PortAudio, and through it ALSA, PulseAudio and JACK) runs on
// one thread of its own, in the order asked. A sound server that stops answering then holds that
// thread, never the caller's: the caller waits as long as it chooses and goes on. The libraries'
// own messages ("ALSA lib ...", JACK's "Cannot connect to server ...") are kept off the terminal;
// the underruns they report are counted.
#include <atomic>
#include <chrono>
#include <functional>
#include <string>

namespace sound {

// Runs task on the sound library's thread and waits for it up to wait, or until *cancel turns
// true. True when it has run; otherwise it still runs later, so it must own what it uses.
bool runOnLibraryThread(std::function<void()> task, std::chrono::milliseconds wait,
                        const std::atomic<bool>* cancel = nullptr);

// Waits as long as it takes (or until *cancel).
inline constexpr std::chrono::milliseconds kWaitForever{-1};

// What the sound layer has counted since the program started.
struct SoundCounters {
    long starved = 0;         // times the playback took sound that had not been made yet
    long hostUnderruns = 0;   // underruns the sound library reported
    long marginRaises = 0;    // times the sound queued ahead of the playback was raised a step
};
SoundCounters soundCounters();

namespace detail {
void countStarved();
void countHostUnderrun();
void countMarginRaise();
// Whether a line written to stderr is the sound libraries' own chatter.
bool isLibraryChatter(const std::string& line);
} // namespace detail

} // namespace sound
