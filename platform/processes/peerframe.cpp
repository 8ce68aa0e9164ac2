#include "platform/processes/peerframe.h"

#include <QtEndian>

namespace peer {

namespace {

bool carriesPayload(FrameType type)
{
    return type == FrameType::SetText || type == FrameType::WindowTitled;
}

bool known(std::uint16_t type)
{
    return type >= static_cast<std::uint16_t>(FrameType::Hello)
           && type <= static_cast<std::uint16_t>(FrameType::WindowRemoved);
}

} // namespace

QByteArray encode(const Frame& frame)
{
    QByteArray out(kHeaderSize, '\0');
    uchar* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<std::uint16_t>(kMagic, p);
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(frame.type), p + 2);
    qToLittleEndian<std::int32_t>(frame.target, p + 4);
    qToLittleEndian<std::uint32_t>(frame.message, p + 8);
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(frame.payload.size()), p + 12);
    qToLittleEndian<std::int64_t>(frame.wParam, p + 16);
    qToLittleEndian<std::int64_t>(frame.lParam, p + 24);
    out += frame.payload;
    return out;
}

Decoded decode(QByteArray& buffer, Frame& frame)
{
    if (buffer.size() < kHeaderSize)
        return Decoded::Incomplete;
    const uchar* p = reinterpret_cast<const uchar*>(buffer.constData());
    const auto magic = qFromLittleEndian<std::uint16_t>(p);
    const auto type = qFromLittleEndian<std::uint16_t>(p + 2);
    const auto length = qFromLittleEndian<std::uint32_t>(p + 12);
    if (magic != kMagic || !known(type) || length > kMaxPayload)
        return Decoded::Bad;
    const auto frameType = static_cast<FrameType>(type);
    if (length > 0 && !carriesPayload(frameType))
        return Decoded::Bad;
    if (buffer.size() < kHeaderSize + static_cast<qsizetype>(length))
        return Decoded::Incomplete;
    frame.type = frameType;
    frame.target = qFromLittleEndian<std::int32_t>(p + 4);
    frame.message = qFromLittleEndian<std::uint32_t>(p + 8);
    frame.wParam = qFromLittleEndian<std::int64_t>(p + 16);
    frame.lParam = qFromLittleEndian<std::int64_t>(p + 24);
    frame.payload = buffer.mid(kHeaderSize, length);
    buffer.remove(0, kHeaderSize + length);
    return Decoded::Frame;
}

} // namespace peer
