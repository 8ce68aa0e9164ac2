#pragma once
// Shared by the RTTY benchmark and the receiver's tests: the engine's own transmission of a
// text, the engine's receiver run over a signal, and keyed signals whose two tones are faded
// on their own (a deep fade of both tones or of one), with the count of the characters lost
// once the signal is back at its level.
#include "bench/psk_common/psk_bench.h" // text, noise, error count; before Qt, whose keywords it would trip on

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "engines/rtty/baudot.h"
#include "engines/rtty/engine.h"
#include "engines/rtty/fsk.h"
#include "platform/system/inifile.h"
#include "platform/vb/vbnum.h"

namespace rttybench {

inline std::string upper(std::string t)
{
    for (char& c : t)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return t;
}

// The engine's own transmission of the text at a rate and on tones 170 Hz apart, with
// `silence` samples of digital silence before and after.
inline std::vector<float> transmission(const std::string& text, double baud, double markHz, std::size_t silence = 8000)
{
    QTemporaryDir dir;
    const QString profiles = dir.filePath(QStringLiteral("UserPara.INI"));
    rtty::RttyEngine tx(nullptr, profiles, [](int, std::int32_t) {});
    ini::write(profiles, QStringLiteral("Define2"), QStringLiteral("Mark"), vb::Text(markHz));
    ini::write(profiles, QStringLiteral("Define2"), QStringLiteral("Shift"), QStringLiteral("170"));
    ini::write(profiles, QStringLiteral("Define2"), QStringLiteral("Baud"), vb::Text(baud));
    tx.command(24, 2);
    for (unsigned char c : text)
        tx.command(4, c);
    tx.command(3, 2);
    tx.command(3, 1);
    std::vector<float> out(silence, 0.0f), in(rtty::RttyEngine::kBlock, 0.0f), block(rtty::RttyEngine::kBlock);
    while (tx.transmitting()) {
        tx.processBlock(in.data(), block.data(), rtty::RttyEngine::kBlock);
        out.insert(out.end(), block.begin(), block.end());
    }
    out.insert(out.end(), silence, 0.0f);
    return out;
}

// What the engine's receiver prints from the signal, tuned to markHz and markHz + 170 Hz with
// the switches given; `seconds` gets the time it took, `when` the sample each character was
// printed at (the end of the block that gave it).
inline std::string receive(const std::vector<float>& audio, double markHz, std::int32_t switches, double* seconds = nullptr,
                           std::vector<std::size_t>* when = nullptr)
{
    QTemporaryDir dir;
    std::string got;
    std::size_t blockEnd = 0;
    rtty::RttyEngine rx(nullptr, dir.filePath(QStringLiteral("UserPara.INI")), [&](int code, std::int32_t v) {
        if (code != rtty::kNoteChar)
            return;
        got += static_cast<char>(v & 0xFF);
        if (when)
            when->push_back(blockEnd);
    });
    rx.command(9, static_cast<std::int32_t>(markHz));
    rx.command(10, static_cast<std::int32_t>(markHz + 170));
    rx.command(11, switches);
    std::vector<float> out(rtty::RttyEngine::kBlock);
    const auto t0 = std::chrono::steady_clock::now();
    for (std::size_t at = 0; at + rtty::RttyEngine::kBlock <= audio.size(); at += rtty::RttyEngine::kBlock) {
        blockEnd = at + rtty::RttyEngine::kBlock;
        rx.processBlock(audio.data() + at, out.data(), rtty::RttyEngine::kBlock);
    }
    if (seconds)
        *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return got;
}

// A keyed signal that knows which tone each sample carries and where each character begins.
struct Keyed {
    std::vector<float> audio;
    std::vector<bool> mark;            // per sample: the mark tone is on
    std::vector<std::size_t> charAt;   // per character of the text: its first sample
};

// How a keyed signal begins: after `silence` samples (room for band noise, which the caller
// adds), a steady space tone of `spaceBits`, `markBits` of mark and `shifts` letters shifts.
struct Lead {
    std::size_t silence = 8000;
    double spaceBits = 0, markBits = 8;
    int shifts = 2;
    double baud = rtty::kDefaultBaud; // the sender's rate
};

// The text on 2125/2295 Hz (continuous phase) as the lead has it begin, with 8 bits
// of mark and a second of room after it.
inline Keyed keyed(const std::string& text, const Lead& lead = {}, double markHz = 2125, double spaceHz = 2295)
{
    Keyed k;
    rtty::FskModulator mod;
    mod.setBaud(lead.baud);
    auto bit = [&](bool isMark, double bits) {
        // One tone at a time: the modulator's phase carries over from tone to tone.
        mod.setTones(isMark ? markHz : spaceHz, isMark ? markHz : spaceHz);
        mod.idle(bits, k.audio);
        k.mark.resize(k.audio.size(), isMark);
    };
    auto code = [&](std::uint8_t c) {
        bit(false, 1);
        for (int i = 0; i < 5; ++i)
            bit(((c >> i) & 1) != 0, 1);
        bit(true, 1.5);
    };
    k.audio.assign(lead.silence, 0.0f);
    k.mark.assign(lead.silence, true);
    if (lead.spaceBits > 0)
        bit(false, lead.spaceBits);
    if (lead.markBits > 0)
        bit(true, lead.markBits);
    for (int i = 0; i < lead.shifts; ++i)
        code(rtty::kLtrs);
    rtty::BaudotEncoder enc;
    for (unsigned char c : text) {
        k.charAt.push_back(k.audio.size());
        for (std::uint8_t v : enc.encode(c))
            code(v);
    }
    bit(true, 8);
    k.audio.resize(k.audio.size() + 8000, 0.0f);
    k.mark.resize(k.audio.size(), true);
    return k;
}

// A deep fade of one tone or both: down from the full level to depthDb in `ramp` seconds at
// `at`, held for `hold` seconds, back up in `ramp` seconds.
struct Fade {
    double at, hold, depthDb;
    bool mark = true, space = true;
    double ramp = 0.05;
    // Where the signal is back at its level, in samples.
    std::size_t end() const { return static_cast<std::size_t>((at + 2 * ramp + hold) * rtty::kSampleRate); }
};

inline void applyFade(Keyed& k, const Fade& f)
{
    for (std::size_t i = 0; i < k.audio.size(); ++i) {
        const double t = static_cast<double>(i) / rtty::kSampleRate - f.at;
        double depth = 0; // 0 (full level) .. 1 (depthDb)
        if (t > 0 && t < f.ramp)
            depth = t / f.ramp;
        else if (t >= f.ramp && t <= f.ramp + f.hold)
            depth = 1;
        else if (t > f.ramp + f.hold && t < 2 * f.ramp + f.hold)
            depth = (2 * f.ramp + f.hold - t) / f.ramp;
        if (depth > 0 && (k.mark[i] ? f.mark : f.space))
            k.audio[i] = static_cast<float>(k.audio[i] * std::pow(10.0, depth * f.depthDb / 20));
    }
}

// For each character of `sent`: whether it was printed, in the alignment of the received text
// that has the fewest edits (what was printed before and after the text is free); `where` gets
// each one's place in the received text (-1 where none).
inline std::vector<bool> printed(const std::string& sent, const std::string& got, std::vector<long>* where = nullptr)
{
    const std::size_t n = sent.size(), m = got.size();
    std::vector<std::size_t> d((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::size_t& { return d[i * (m + 1) + j]; };
    for (std::size_t i = 1; i <= n; ++i) {
        at(i, 0) = i;
        for (std::size_t j = 1; j <= m; ++j)
            at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + (sent[i - 1] != got[j - 1])});
    }
    std::size_t j = 0;
    for (std::size_t c = 1; c <= m; ++c)
        if (at(n, c) < at(n, j))
            j = c;
    std::vector<bool> ok(n, false);
    if (where)
        where->assign(n, -1);
    for (std::size_t i = n; i > 0;) {
        if (j > 0 && at(i, j) == at(i - 1, j - 1) + (sent[i - 1] != got[j - 1])) {
            ok[i - 1] = sent[i - 1] == got[j - 1];
            if (where)
                (*where)[i - 1] = static_cast<long>(j - 1);
            --i;
            --j;
        } else if (at(i, j) == at(i - 1, j) + 1) {
            --i;
        } else {
            --j;
        }
    }
    return ok;
}

// Characters of `sent` that begin at or after sample `from` and were not printed.
inline std::size_t lostFrom(const std::string& sent, const std::vector<std::size_t>& charAt, const std::string& got,
                            std::size_t from)
{
    const std::vector<bool> ok = printed(sent, got);
    std::size_t lost = 0;
    for (std::size_t i = 0; i < sent.size(); ++i)
        lost += charAt[i] >= from && !ok[i];
    return lost;
}

} // namespace rttybench
