#pragma once
// Frames between Sondrel and its peer processes: a fixed 32-byte little-endian header and an
// optional payload (Windows-1252 text). Every frame is checked before anybody acts on it.
//
//   offset 0  u16 magic 0x5344      offset 4  i32 target window handle
//   offset 2  u16 type              offset 8  u32 message number
//   offset 12 u32 payload length    offset 16 i64 wParam     offset 24 i64 lParam
#include <QByteArray>
#include <cstdint>

namespace peer {

enum class FrameType : std::uint16_t {
    Hello = 1,         // peer -> program: wParam = protocol; program -> peer: lParam = handle base
    Post = 2,          // a posted window message to target
    SetText = 3,       // window text for target (payload)
    WindowTitled = 4,  // target is a window of the sender with this title (payload)
    WindowRemoved = 5, // target, a window of the sender, is gone
};

struct Frame {
    FrameType type = FrameType::Post;
    std::int32_t target = 0;
    std::uint32_t message = 0;
    std::int64_t wParam = 0;
    std::int64_t lParam = 0;
    QByteArray payload;
};

constexpr std::uint16_t kMagic = 0x5344;
constexpr std::int64_t kProtocol = 1;
constexpr int kHeaderSize = 32;
constexpr std::uint32_t kMaxPayload = 8192;
// Window messages from 0xC000 up are registered by name; below are fixed numbers.
constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;

QByteArray encode(const Frame& frame);

enum class Decoded { Incomplete, Frame, Bad };
// Takes one frame off the front of buffer. Bad: wrong magic, unknown type, payload too long or
// present where the type carries none; the stream cannot be trusted after that.
Decoded decode(QByteArray& buffer, Frame& frame);

} // namespace peer
