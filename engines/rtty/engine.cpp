#include "engines/rtty/engine.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/vb/text1252.h"

#include <cstdlib>
#include <exception>
#include <utility>

namespace rtty {
namespace {

constexpr int kFigsRequest = -1;
constexpr int kLtrsRequest = -2;
constexpr int kSpectrumReadyOffset = 152;
constexpr int kSpectrumOffset = 156;
constexpr int kXYReadyOffset = 8348;
constexpr int kXYOffset = 8352;
constexpr int kXYYOffset = 10400;
constexpr int kVersionOffset = 12448;
constexpr int kLostSoundOffset = 12480;
constexpr int kOverloadOffset = 12484;
constexpr double kPreambleBits = 8;

void putLong(unsigned char* block, int offset, std::int32_t v)
{
    if (block)
        std::memcpy(block + offset, &v, sizeof v);
}

} // namespace

RttyEngine::RttyEngine(unsigned char* block, QString profiles, Notify notify)
    : block_(block), profiles_(std::move(profiles)), notify_(std::move(notify))
{
    spectrum_.setMode(1, 100);
    reportedMark_ = setMarkHz_ = demod_.markHz();
    reportedSpace_ = setSpaceHz_ = demod_.spaceHz();
    applySwitches(switches_);
    if (block_) {
        const char version[8] = {'1', '.', '0', 0, ' ', ' ', ' ', ' '};
        std::memcpy(block_ + kVersionOffset, version, sizeof version);
    }
    selectProfile(0, true);
    openPttPort();
}

void RttyEngine::setTell(Tell tell)
{
    std::lock_guard lock(mutex_);
    tell_ = std::move(tell);
    if (tell_)
        for (const QString& t : std::exchange(untold_, {}))
            tell_(t);
}

// A message in words: always in the engine's window; an error also in the block, with a
// notification, so that the program shows it.
void RttyEngine::say(const QString& text, bool toProgram)
{
    if (tell_)
        tell_(text);
    else
        untold_.append(text); // said before anyone listened (the profile read at start)
    if (toProgram && block_) {
        QByteArray bytes = cp1252::encode(text).left(kMessageSize - 1);
        std::memset(block_ + kMessageOffset, 0, kMessageSize);
        std::memcpy(block_ + kMessageOffset, bytes.constData(), static_cast<size_t>(bytes.size()));
        notify_(kNoteMessage, static_cast<std::int32_t>(bytes.size()));
    }
}

QString RttyEngine::soundErrorText(int code)
{
    const char* env = std::getenv("SONDREL_AUDIO");
    const QString source = QString::fromLocal8Bit(env ? env : "");
    QString what;
    if (source.startsWith(QLatin1String("file:")) || source == QLatin1String("demo")) {
        const QString file = source == QLatin1String("demo") ? QString::fromLatin1(sound::kDemoFileName)
                                                             : QStringLiteral("\"%1\"").arg(source.mid(5).section(u',', 0, 0));
        what = code == 17 ? QStringLiteral("the recording %1 is not 16-bit mono sound at 8000 samples per second").arg(file)
                          : QStringLiteral("the recording %1 cannot be read (or its copy cannot be written)").arg(file);
    } else {
        switch (code) {
        case 21: what = QStringLiteral("no sound card was found (no such device, or none present)"); break;
        case 23: what = QStringLiteral("the sound card is not available (another program may be using it)"); break;
        case 25: what = QStringLiteral("the sound system could not be started"); break;
        case 17: what = QStringLiteral("the sound card does not take 16-bit mono sound at 8000 samples per second"); break;
        case 11: case 14: what = QStringLiteral("the sound card stopped answering"); break;
        default: what = QStringLiteral("the sound card could not be used (code %1)").arg(code); break;
        }
    }
    return QStringLiteral("Sound device error: %1. RTTY cannot be received or sent. Choose another sound "
                          "device with the RTTY toolbar's Setup button: its OK starts the sound again.").arg(what);
}

RttyEngine::~RttyEngine()
{
    stop();
}

std::int32_t RttyEngine::switches() const
{
    std::lock_guard lock(mutex_);
    return switches_;
}

bool RttyEngine::transmitting() const
{
    std::lock_guard lock(mutex_);
    return tx_;
}

void RttyEngine::reportState()
{
    std::lock_guard lock(mutex_);
    reportTones();
    notify_(kNoteSwitches, switches_);
    notify_(kNoteView, view_);
}

void RttyEngine::reportTones()
{
    reportedMark_ = demod_.markHz();
    reportedSpace_ = demod_.spaceHz();
    notify_(kNoteMark, static_cast<std::int32_t>(std::lround(reportedMark_)));
    notify_(kNoteSpace, static_cast<std::int32_t>(std::lround(reportedSpace_)));
    notify_(kNoteShift, static_cast<std::int32_t>(std::lround(std::abs(reportedSpace_ - reportedMark_))));
}

void RttyEngine::setTones(double markHz, double spaceHz)
{
    if (!(markHz > 0 && markHz < 4000 && spaceHz > 0 && spaceHz < 4000))
        return;
    demod_.setTones(markHz, spaceHz);
    setMarkHz_ = markHz;
    setSpaceHz_ = spaceHz;
    applyTxTones();
    reportTones();
}

// With Net on the transmitter sends on the receiver's tones (where the AFC has taken them);
// with Net off on the tones last set, wherever the receiver has gone since. Mark and space are
// exchanged with Reverse on, so that a station copied in reverse is answered the same way.
void RttyEngine::applyTxTones()
{
    const bool net = (switches_ & kSwNet) != 0;
    const double mark = net ? demod_.markHz() : setMarkHz_;
    const double space = net ? demod_.spaceHz() : setSpaceHz_;
    if (switches_ & kSwReverse)
        mod_.setTones(space, mark);
    else
        mod_.setTones(mark, space);
}

void RttyEngine::applySwitches(std::int32_t word)
{
    switches_ = word;
    demod_.setAfc(word & kSwAfc);
    demod_.setBandPass(word & kSwBandPass);
    demod_.setNotch(word & kSwNotch, notchHz_);
    demod_.setReverse(word & kSwReverse);
    demod_.setSquelch((word & kSwSquelch) ? squelchPercent_ : 0);
    decoder_.setUnshiftOnSpace(word & kSwUos);
    setup_.afc = (word & kSwAfc) != 0;
    setup_.uos = (word & kSwUos) != 0;
    if (!tx_)
        applyTxTones();
}

void RttyEngine::command(int code, std::int32_t value)
{
    std::lock_guard lock(mutex_);
    switch (code) {
    case 3:
        if (value == 0) {
            if (tx_)
                endTransmit();
            txChars_.clear();
        } else if (value == 1) {
            if (tx_)
                stopping_ = true;
        } else if (value == 2) {
            if (lostBlocks_ > 0) {
                // No sound to send on: what the program keyed is released, and it is told why.
                notify_(kNotePtt, 0);
                say(QString::fromStdString(sound::SoundRunner::lostText()), true);
            } else {
                startTransmit();
            }
        } else if (value == 4) {
            txChars_.clear();
        }
        break;
    case 4:
        txChars_.push_back(value & 0xFF);
        break;
    case 9: setTones(value, demod_.spaceHz()); break;
    case 10: setTones(demod_.markHz(), value); break;
    case 11:
        applySwitches(value);
        notify_(kNoteSwitches, switches_);
        break;
    case 12: setTones(demod_.markHz(), demod_.markHz() + kDefaultShiftHz); break;
    case 13: break; // the set-up window: the engine's window opens it
    case 14:
        view_ = value;
        spectrum_.setMode((value & kViewHeavy) ? 6 : (value & kViewMedium) ? 3 : 1, 100);
        notify_(kNoteView, view_);
        break;
    case 15:
        // The value is the level, 0..1025, that the squelch line stands at on the level bar.
        squelchPercent_ = std::clamp(value / 10.25, 0.0, 100.0);
        applySwitches(switches_);
        break;
    case 17: txChars_.push_back(value ? kFigsRequest : kLtrsRequest); break;
    case 21: openPttPort(); break;
    case 23:
        if (value >= 300 && value <= 3500) {
            notchHz_ = value;
            applySwitches(switches_);
            if (switches_ & kSwNotchReports)
                notify_(kNoteNotch, notchHz_);
        }
        break;
    case 24:
        if (value >= 0 && value <= 15)
            selectProfile(value);
        else if (value >= 65536 && value <= 65536 + 15)
            storeProfile(value - 65536);
        else if (value >= 131072 && value <= 131072 + 15)
            deleteProfile(value - 131072);
        break;
    case 25: watchdogSeconds_ = std::max(0, value); break;
    default: // 1 (the state follows the hello), others unknown
        break;
    }
}

// ---- profiles: [Define<n>] of the profile file ----


bool RttyEngine::pttKeyed() const
{
    std::lock_guard lock(mutex_);
    return ptt_.keyed();
}

void RttyEngine::releasePtt()
{
    std::lock_guard lock(mutex_);
    if (tx_)
        endTransmit();
    ptt_.key(false);
}

// ---- transmitting ----

void RttyEngine::startTransmit()
{
    if (tx_)
        return;
    tx_ = true;
    stopping_ = false;
    txSamplesSent_ = 0;
    encoder_.reset();
    std::vector<float> audio;
    mod_.idle(kPreambleBits, audio);
    txAudio_.assign(audio.begin(), audio.end());
    audioOut_ = 0;
    audioQueued_ = static_cast<long long>(txAudio_.size());
    echoes_.clear();
    ptt_.key(true);
    notify_(kNotePtt, 1);
}

void RttyEngine::endTransmit()
{
    tx_ = false;
    stopping_ = false;
    txAudio_.clear();
    echoes_.clear();
    ptt_.key(false);
    demod_.restart(); // what it heard of the own signal is no reception
    applyTxTones();
    notify_(kNotePtt, 0);
}

bool RttyEngine::nextCharacterReady() const
{
    if (txChars_.empty())
        return false;
    if (!(switches_ & kSwWordOut) || stopping_)
        return true;
    // Whole words: a word goes once its end has been typed.
    return std::any_of(txChars_.begin(), txChars_.end(), [](int c) { return c == ' ' || c == '\r' || c == '\n'; });
}

void RttyEngine::fillTransmit(int n)
{
    std::vector<float> audio;
    while (static_cast<int>(txAudio_.size()) < n) {
        audio.clear();
        if (nextCharacterReady()) {
            const int c = txChars_.front();
            txChars_.pop_front();
            if (c == kFigsRequest || c == kLtrsRequest) {
                mod_.code(encoder_.shiftTo(c == kFigsRequest), audio);
            } else {
                for (std::uint8_t code : encoder_.encode(static_cast<unsigned char>(c)))
                    mod_.code(code, audio);
                // Echoed once its last sample has gone out.
                echoes_.emplace_back(audioQueued_ + static_cast<long long>(audio.size()), static_cast<unsigned char>(c));
            }
        } else if (stopping_) {
            if (txAudio_.empty() && echoes_.empty()) {
                endTransmit();
                return;
            }
            break; // the rest goes out, then the next block ends the transmission
        } else {
            mod_.code(kLtrs, audio); // idle: letters shifts keep the far end in step
        }
        audioQueued_ += static_cast<long long>(audio.size());
        txAudio_.insert(txAudio_.end(), audio.begin(), audio.end());
    }
}

void RttyEngine::processBlock(const float* in, float* out, int n)
{
    std::lock_guard lock(mutex_);
    const float* shown = in;
    if (tx_) {
        // A character is echoed once its audio has gone to the device (with the blocks before).
        while (!echoes_.empty() && echoes_.front().first <= audioOut_) {
            notify_(kNoteChar, echoes_.front().second);
            echoes_.pop_front();
        }
        fillTransmit(n);
    }
    if (tx_) {
        const int have = std::min<int>(n, static_cast<int>(txAudio_.size()));
        std::copy_n(txAudio_.begin(), have, out);
        std::fill(out + have, out + n, 0.0f);
        txAudio_.erase(txAudio_.begin(), txAudio_.begin() + have);
        audioOut_ += have;
        txSamplesSent_ += n;
        if (watchdogSeconds_ > 0 && txSamplesSent_ >= watchdogSeconds_ * static_cast<long long>(kSampleRate))
            endTransmit();
        else if (stopping_ && txAudio_.empty() && echoes_.empty() && !nextCharacterReady())
            endTransmit();
        shown = out;
    } else {
        std::fill(out, out + n, 0.0f);
    }

    std::vector<std::uint8_t> codes;
    demod_.setAfc((switches_ & kSwAfc) && !tx_); // the own signal is no signal to follow
    demod_.process(shown, n, codes);
    if (!tx_ && shown == in) {
        for (std::uint8_t c : codes)
            if (auto ch = decoder_.decode(c))
                notify_(kNoteChar, *ch);
    }
    if (std::abs(demod_.markHz() - reportedMark_) >= 0.5 || std::abs(demod_.spaceHz() - reportedSpace_) >= 0.5) {
        applyTxTones(); // with Net on the transmitter follows the receiver
        reportTones();
    }
    writeSpectrum(shown, n);
    // The squelch line's place on the bar, 65 steps from the top (level 100) to the bottom (0),
    // as 65 less the step, times 16.
    const double squelchUnits = (65 - (100 - squelchPercent_) / 1.5384) * 16;
    const auto high = static_cast<std::int32_t>(std::lround(squelchUnits)) & 0xFFFF;
    notify_(kNoteLevel, static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) | static_cast<std::uint32_t>(demod_.level())));
}

void RttyEngine::writeSpectrum(const float* samples, int n)
{
    spectrum_.update(samples, n);
    if (!block_)
        return;
    std::int32_t values[psk::Spectrum::kBins];
    spectrum_.values(values, 0, psk::Spectrum::kBins - 1);
    // The program draws raw² / 1000: the raw value is the square root of 1000 × display units.
    for (int i = 0; i < psk::Spectrum::kBins; ++i) {
        const double v = std::max(0, values[i]);
        const auto raw = static_cast<std::int32_t>(std::lround(std::sqrt(1000.0 * v)));
        std::memcpy(block_ + kSpectrumOffset + 4 * i, &raw, sizeof raw);
    }
    putLong(block_, kSpectrumReadyOffset, 1);
    putLong(block_, kOverloadOffset, spectrum_.overload() ? 1 : 0);
    putLong(block_, kLostSoundOffset, static_cast<std::int32_t>(std::min(lostBlocks_, 0x7FFFFFFFL)));
    if (view_ & kViewScope) {
        std::int32_t x[FskDemodulator::kScopePoints], y[FskDemodulator::kScopePoints];
        demod_.scope(x, y);
        std::memcpy(block_ + kXYOffset, x, sizeof x);
        std::memcpy(block_ + kXYYOffset, y, sizeof y);
        putLong(block_, kXYReadyOffset, 1);
    }
}

// ---- the sound thread ----

int RttyEngine::start(sound::SoundRunner::Opener opener)
{
    stop();
    {
        std::lock_guard lock(mutex_);
        lostBlocks_ = 0;
    }
    const int rc = runner_.start(std::move(opener), std::chrono::milliseconds(1500));
    if (rc) {
        std::lock_guard lock(mutex_);
        say(soundErrorText(rc), true);
    }
    return rc;
}

void RttyEngine::stop()
{
    runner_.stop();
    releasePtt();
}

void RttyEngine::soundBlock(const float* in, float* out, int n)
{
    {
        std::lock_guard lock(mutex_);
        lostBlocks_ = 0;
    }
    processBlock(in, out, n);
}

// No sound: the displays go on with an empty block, the lost-sound count shows it, and a
// transmission begun meanwhile ends.
void RttyEngine::noSound(int n)
{
    {
        std::lock_guard lock(mutex_);
        if (tx_)
            endTransmit();
        ++lostBlocks_;
    }
    std::vector<float> silence(static_cast<std::size_t>(n), 0.0f), out(static_cast<std::size_t>(n));
    processBlock(silence.data(), out.data(), n);
}

void RttyEngine::soundLost(int)
{
    releasePtt();
    std::lock_guard lock(mutex_);
    lostBlocks_ = std::max(lostBlocks_, 1L);
    say(QString::fromStdString(sound::SoundRunner::lostText())
            + QStringLiteral(" To use another sound device, choose it with the RTTY toolbar's Setup button."),
        true);
}

void RttyEngine::soundBack()
{
    std::lock_guard lock(mutex_);
    lostBlocks_ = 0;
    say(QStringLiteral("The sound card answers again: RTTY is received again."), false);
}

void RttyEngine::soundFailed(const std::string& what)
{
    releasePtt();
    std::lock_guard lock(mutex_);
    lostBlocks_ = std::max(lostBlocks_, 1L);
    say(QStringLiteral("The RTTY engine's sound stopped (%1); the transmitter is released. Press OK in the RTTY "
                       "toolbar's Setup window to start it again.").arg(QString::fromLocal8Bit(what.c_str())),
        true);
}

} // namespace rtty
