#include "platform/system/clock_setting.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

class SystemClockSetting : public ClockSetting {
public:
    QString setUtc(const QDateTime& utc) override
    {
        if (!utc.isValid())
            return QStringLiteral("Invalid date or time");
        const qint64 ms = utc.toMSecsSinceEpoch();
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(ms / 1000);
        ts.tv_nsec = static_cast<long>((ms % 1000) * 1000000);
        if (clock_settime(CLOCK_REALTIME, &ts) != 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        return QString();
    }
};

ClockSetting* g_installed = nullptr;

} // namespace

ClockSetting& ClockSetting::instance()
{
    static SystemClockSetting system;
    return g_installed ? *g_installed : system;
}

void ClockSetting::install(ClockSetting* setting)
{
    g_installed = setting;
}
