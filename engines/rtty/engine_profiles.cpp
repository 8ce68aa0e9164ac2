// The engine's profiles ([Define<n>] of "UserPara.INI"), its set-up and its PTT port.
#include "engines/rtty/engine.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/system/inifile.h"
#include "platform/vb/vbnum.h"

namespace rtty {
namespace {

constexpr int kPortNameOffset = 132;
constexpr int kProfileNamesOffset = 12500;

QString blockText(const unsigned char* block, int offset, int width)
{
    if (!block)
        return QString();
    const auto* p = reinterpret_cast<const char*>(block + offset);
    const void* nul = std::memchr(p, 0, static_cast<size_t>(width));
    const int n = nul ? static_cast<int>(static_cast<const char*>(nul) - p) : width;
    return QString::fromLatin1(p, n).trimmed();
}

QString section(int n)
{
    return QStringLiteral("Define%1").arg(n);
}

// A whole number of a profile, held to a range (anything else gives the fallback).
int wholeIn(double v, int lo, int hi, int fallback)
{
    return v >= lo && v <= hi ? static_cast<int>(vb::RoundHalfEven(v)) : fallback;
}

bool usableStopBits(double v)
{
    return v == 1 || v == 1.5 || v == 2;
}

} // namespace

void RttyEngine::useBaud(double baud, const QString& from)
{
    if (!usableBaud(baud)) {
        say(QStringLiteral("%1 is not a usable baud rate (%2 to %3 Bd): %4 Bd is used.")
                .arg(from).arg(kMinBaud).arg(kMaxBaud).arg(vb::Text(kDefaultBaud)), false);
        baud = kDefaultBaud;
    }
    setup_.baud = baud;
    demod_.setBaud(baud);
    mod_.setBaud(baud);
}

// Numbers of a profile are read the one way the program reads numbers; a rate or shift that
// no station uses (or that would stall the transmitter) is not taken.
void RttyEngine::selectProfile(int n, bool quiet)
{
    profile_ = n;
    const QString s = section(n);
    if (!ini::contains(profiles_, s, QStringLiteral("Mark")))
        return; // a profile that holds a name only: the settings stay as they are
    auto text = [&](const char* key, const char* fallback) {
        return ini::read(profiles_, s, QString::fromLatin1(key), QString::fromLatin1(fallback), 50);
    };
    const QString markText = text("Mark", ""), shiftText = text("Shift", "170"), baudText = text("Baud", "45.45");
    const double mark = vb::Val(markText);
    double shift = vb::Val(shiftText);
    const QString where = QStringLiteral("Profile %1: ").arg(n);
    if (!usableShift(shift)) {
        say(where + QStringLiteral("the shift \"%1\" is not usable (%2 to %3 Hz): %4 Hz is used.")
                        .arg(shiftText).arg(kMinShiftHz).arg(kMaxShiftHz).arg(kDefaultShiftHz), false);
        shift = kDefaultShiftHz;
    }
    useBaud(vb::Val(baudText), where + QStringLiteral("the baud rate \"%1\"").arg(baudText));
    const double stop = vb::Val(text("StopBits", "1.5"));
    setup_.stopBits = usableStopBits(stop) ? stop : 1.5;
    mod_.setStopBits(setup_.stopBits);
    setup_.soundDevice = wholeIn(vb::Val(text("SoundDevice", "-1")), -1, 255, -1);
    setup_.pttPort = wholeIn(vb::Val(text("PTTPort", "0")), 0, 255, 0);
    setup_.pttLine = wholeIn(vb::Val(text("PTTLine", "3")), 1, 3, 3);
    setup_.shiftHz = shift;
    if (mark > 0 && mark + shift < 4000) {
        setup_.markHz = mark;
        setTones(mark, mark + shift);
    } else if (!markText.trimmed().isEmpty()) {
        say(where + QStringLiteral("the mark tone \"%1\" is not usable: %2 Hz is kept.").arg(markText).arg(std::lround(demod_.markHz())), false);
        setTones(demod_.markHz(), demod_.markHz() + shift);
    }
    const double sw = vb::Val(text("Switches", "-1"));
    if (sw >= 0 && sw <= 0x3FF)
        applySwitches((static_cast<std::int32_t>(sw) & 0x3FF) | (switches_ & ~0x3FF));
    if (!quiet) {
        openPttPort();
        notify_(kNoteSwitches, switches_);
    }
}

void RttyEngine::storeProfile(int n)
{
    profile_ = n;
    const QString s = section(n);
    ini::write(profiles_, s, QStringLiteral("Name"), blockText(block_, kProfileNamesOffset + 64 * n, 32));
    ini::write(profiles_, s, QStringLiteral("Mark"), QString::number(std::lround(demod_.markHz())));
    ini::write(profiles_, s, QStringLiteral("Shift"), QString::number(std::lround(demod_.spaceHz() - demod_.markHz())));
    ini::write(profiles_, s, QStringLiteral("Baud"), vb::Text(setup_.baud));
    ini::write(profiles_, s, QStringLiteral("Switches"), QString::number(switches_ & 0x3FF));
    ini::write(profiles_, s, QStringLiteral("StopBits"), vb::Text(setup_.stopBits));
    ini::write(profiles_, s, QStringLiteral("SoundDevice"), QString::number(setup_.soundDevice));
    ini::write(profiles_, s, QStringLiteral("PTTPort"), QString::number(setup_.pttPort));
    ini::write(profiles_, s, QStringLiteral("PTTLine"), QString::number(setup_.pttLine));
}

EngineSetup RttyEngine::setup() const
{
    std::lock_guard lock(mutex_);
    EngineSetup s = setup_;
    s.markHz = std::round(demod_.markHz());
    s.shiftHz = std::round(demod_.spaceHz() - demod_.markHz());
    return s;
}

int RttyEngine::currentProfile() const
{
    std::lock_guard lock(mutex_);
    return profile_;
}

void RttyEngine::applySetup(const EngineSetup& in)
{
    std::lock_guard lock(mutex_);
    const double shift = usableShift(in.shiftHz) ? in.shiftHz : kDefaultShiftHz;
    if (in.markHz > 0 && in.markHz + shift < 4000)
        setTones(in.markHz, in.markHz + shift);
    useBaud(in.baud, QStringLiteral("%1 Bd").arg(vb::Text(in.baud)));
    setup_.stopBits = usableStopBits(in.stopBits) ? in.stopBits : 1.5;
    mod_.setStopBits(setup_.stopBits);
    setup_.soundDevice = std::clamp(in.soundDevice, -1, 255);
    setup_.pttPort = std::clamp(in.pttPort, 0, 255);
    setup_.pttLine = std::clamp(in.pttLine, 1, 3);
    applySwitches((switches_ & ~(kSwAfc | kSwUos)) | (in.afc ? kSwAfc : 0) | (in.uos ? kSwUos : 0));
    notify_(kNoteSwitches, switches_);
    openPttPort();
    // The profile's own name stays; everything else is kept as set.
    const QString name = ini::read(profiles_, section(profile_), QStringLiteral("Name"), QString(), 50);
    storeProfile(profile_);
    ini::write(profiles_, section(profile_), QStringLiteral("Name"), name);
}

void RttyEngine::deleteProfile(int n)
{
    ini::write(profiles_, section(n), QStringLiteral("Name"), QString());
}

void RttyEngine::openPttPort()
{
    ptt_.close();
    int port = setup_.pttPort;
    const QString name = blockText(block_, kPortNameOffset, 8);
    if (port == 0 && name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        port = wholeIn(vb::Val(name.mid(3)), 0, 255, 0);
    if (port > 0) {
        if (!ptt_.open(port, setup_.pttLine))
            say(QStringLiteral("The PTT port COM%1 cannot be opened: the transmitter will not be keyed. "
                               "Check the PTT port in the RTTY engine's Setup.").arg(port), false);
        else if (tx_)
            ptt_.key(true);
    }
}

} // namespace rtty
