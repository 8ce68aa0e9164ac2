#include "platform/processes/folder_tag.h"

#include "platform/system/places.h"

namespace places {

std::uint32_t stableHash(const QByteArray& bytes)
{
    std::uint32_t h = 2166136261u;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

QString programFolderTag()
{
    return QStringLiteral("%1").arg(stableHash(programFolder().toUtf8()), 8, 16, QLatin1Char('0'));
}

} // namespace places
