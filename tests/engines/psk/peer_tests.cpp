// Recordings of another program's BPSK31 and QPSK31 (tests/data/peer): we copy them, and our
// QPSK31 transmission of the same text carries the same phase changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <fstream>
#include <sstream>

#include "engines/psk/dsp/dsp.h"
#include "engines/sound/wavfile.h"
#include "support.h"

using namespace psktest;

namespace {

const std::string kData = SONDREL_TEST_DATA "/peer/";

std::string sentText()
{
    std::ifstream f(kData + "text.txt", std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    std::string t = s.str();
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r'))
        t.pop_back();
    return t;
}

std::vector<float> recording(const std::string& name)
{
    std::vector<std::int16_t> raw;
    EXPECT_EQ(sound::readWav(kData + name, raw), 0) << name;
    return std::vector<float>(raw.begin(), raw.end());
}

// A recording's mean power while its signal is on (its silence, under the floor, left out).
double signalPower(const std::vector<float>& sound, float floor = 100)
{
    double power = 0;
    std::size_t n = 0;
    for (float v : sound)
        if (std::abs(v) > floor) {
            power += double(v) * v;
            ++n;
        }
    return power / double(std::max<std::size_t>(n, 1));
}

// The BPSK31 recording's first seconds, as a station sends an over (it starts with its idle).
std::vector<float> peerRecordingStart(double seconds)
{
    auto s = recording("bpsk31-1000hz.wav");
    s.resize(std::min(s.size(), std::size_t(seconds * psk::kSampleRate)));
    return s;
}

// The phase change of every symbol of a PSK31 signal on 1000 Hz in quarter turns (0..3),
// measured at the symbol centres, where the envelope peaks.
std::vector<int> phaseChanges(const std::vector<float>& sound)
{
    const int sps = psk::kSamplesPerSymbol, half = sps / 4;
    std::vector<std::complex<double>> base(sound.size());
    for (std::size_t i = 0; i < sound.size(); ++i)
        base[i] = double(sound[i]) * std::polar(1.0, -2 * psk::kPi * 1000.0 * double(i) / psk::kSampleRate);
    // Averaged over the middle half of a symbol: the image at 2000 Hz and the edges drop out.
    std::vector<std::complex<double>> sum(base.size() + 1);
    for (std::size_t i = 0; i < base.size(); ++i)
        sum[i + 1] = sum[i] + base[i];
    auto centre = [&](std::size_t c) { return (sum[c + half] - sum[c - half]) / double(2 * half); };
    std::size_t best = 0;
    double top = -1;
    for (std::size_t t = half; t < std::size_t(sps + half); ++t) {
        double e = 0;
        for (std::size_t c = t; c + half < base.size(); c += sps)
            e += std::norm(centre(c));
        if (e > top) {
            top = e;
            best = t;
        }
    }
    double peak = 0;
    for (std::size_t c = best; c + half < base.size(); c += sps)
        peak = std::max(peak, std::abs(centre(c)));
    std::vector<int> changes;
    std::complex<double> prev(0, 0);
    for (std::size_t c = best; c + half < base.size(); c += sps) {
        std::complex<double> p = centre(c);
        if (std::abs(p) > 0.3 * peak && std::abs(prev) > 0.3 * peak) {
            int q = int(std::lround(std::arg(p * std::conj(prev)) / (psk::kPi / 2)));
            changes.push_back((q + 4) % 4);
        }
        prev = p;
    }
    return changes;
}

} // namespace

TEST(PeerRecordings, CopiedWithoutErrorsAfterTheFirstCharacters)
{
    // AFC off on the frequency, and AFC on from 10 Hz away as the program runs.
    struct Case { const char* file; int mode; double tuned; int afc; } cases[] = {
        {"bpsk31-1000hz.wav", 0, 1000, 0}, {"bpsk31-1000hz.wav", 0, 1010, 45},
        {"qpsk31-1000hz.wav", 1, 1000, 0}, {"qpsk31-1000hz.wav", 1, 990, 45}};
    const std::string text = sentText();
    ASSERT_GT(text.size(), 200u);
    for (const auto& c : cases) {
        auto got = receive(recording(c.file), {{c.tuned, c.mode, c.afc}});
        EXPECT_NE(got[0].find(text.substr(3)), std::string::npos) << c.file << " at " << c.tuned << ": " << got[0];
    }
}

TEST(PeerRecordings, OurQpskCarriesTheSamePhaseChanges)
{
    const std::string text = sentText();
    auto theirs = phaseChanges(recording("qpsk31-1000hz.wav"));
    auto ours = phaseChanges(transmission(text, 1, 1000));
    // Ours from the first change that is not a reversal of the preamble to the last one before
    // the reversals of the end. The first and last four depend on the bits before and after the
    // text too (the coder's memory), which differ: the recording has more characters around it.
    auto first = std::find_if(ours.begin(), ours.end(), [](int q) { return q != 2; }) + 4;
    auto last = std::find_if(ours.rbegin(), ours.rend(), [](int q) { return q != 2 && q != 0; }).base() - 4;
    ASSERT_LT(first, last);
    std::vector<int> body(first, last);
    ASSERT_GT(body.size(), 1000u);
    EXPECT_NE(std::search(theirs.begin(), theirs.end(), body.begin(), body.end()), theirs.end());
    // And the table matters: the same text on inverted QPSK is not in the recording.
    auto inverted = phaseChanges(transmission(text, 2, 1000));
    auto ifirst = std::find_if(inverted.begin(), inverted.end(), [](int q) { return q != 2; });
    std::vector<int> ibody(ifirst, ifirst + 200);
    EXPECT_EQ(std::search(theirs.begin(), theirs.end(), ibody.begin(), ibody.end()), theirs.end());
}

TEST(PeerRecordings, CopiedWhileANeighbourCalls)
{
    // A crowded band: a recording at -8 dB on a channel tuned to it with AFC, and 32 s in a
    // neighbour 45 Hz up, as strong, calls (our transmitter: 20 s of idle, its call, idle to the
    // end). Its idle took the loops away from the station copied, with these noises.
    const std::string text = sentText();
    struct Case { const char* file; int mode; unsigned seed; } cases[] = {
        {"bpsk31-1000hz.wav", 0, 3}, {"qpsk31-1000hz.wav", 1, 1}};
    for (const auto& c : cases) {
        auto sound = recording(c.file);
        const double power = signalPower(sound);
        psk::Transmitter tx(std::sqrt(power / 0.375)); // our signal's power is 3/8 of its peak's square
        tx.setFrequency(1045);
        tx.queueControl(3);
        tx.start(c.mode);
        std::vector<float> call(8000 * 32, 0.0f), block(1024);
        std::vector<psk::TxEvent> events;
        while (call.size() < sound.size()) {
            if (call.size() == 8000 * 32 + 1024 * 8 * 20)
                for (char ch : std::string("CQ CQ CQ de N0CALL N0CALL pse K"))
                    tx.queueCharacter(static_cast<unsigned char>(ch));
            tx.fill(block.data(), int(block.size()), events);
            call.insert(call.end(), block.begin(), block.end());
        }
        for (std::size_t i = 0; i < sound.size(); ++i)
            sound[i] += call[i];
        addNoise(sound, power, -8, c.seed);
        const std::string got = receive(sound, {{1000, c.mode, 45}})[0];
        EXPECT_NE(got.find(text.substr(3)), std::string::npos) << c.file << ": " << got;
    }
}

namespace {

// The sound turned up by hz (through its analytic signal), as a station a few hertz away.
std::vector<float> shifted(const std::vector<float>& s, double hz)
{
    std::size_t n = 1;
    while (n < s.size())
        n *= 2;
    std::vector<std::complex<double>> x(n);
    std::copy(s.begin(), s.end(), x.begin());
    psk::fft(x);
    for (std::size_t k = 0; k < n; ++k) // the negative frequencies out; conjugated, so that the
        x[k] = std::conj(k == 0 || k == n / 2 ? x[k] : k < n / 2 ? 2.0 * x[k] : 0.0); // forward transform inverts
    psk::fft(x);
    std::vector<float> out(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        out[i] = float((std::conj(x[i]) / double(n) * std::polar(1.0, 2 * psk::kPi * hz * double(i) / psk::kSampleRate)).real());
    return out;
}

// Our transmitter at hz: idle for so many seconds, then the text.
std::vector<float> calling(const std::string& text, int mode, double hz, double idle)
{
    psk::Transmitter tx;
    tx.setFrequency(hz);
    tx.start(mode);
    std::vector<float> out, block(1024);
    std::vector<psk::TxEvent> events;
    while (out.size() < std::size_t(idle * 8000)) {
        tx.fill(block.data(), int(block.size()), events);
        out.insert(out.end(), block.begin(), block.end());
    }
    for (char ch : text)
        tx.queueCharacter(static_cast<unsigned char>(ch));
    tx.queueControl(1);
    while (tx.active()) {
        tx.fill(block.data(), int(block.size()), events);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

} // namespace

TEST(PeerRecordings, AReplyAndAReturningStationAreCopiedWhereTheyCome)
{
    // A QSO with AFC on and the squelch as the program starts: the first 20 s of the recording on
    // the tuned frequency (long enough to hold the channel), quiet, and the same 20 s again some
    // hertz away. The old receiver held the channel where the first station had been and printed
    // a line beside the reply as garbage.
    const std::string text = sentText();
    const auto recording = peerRecordingStart(20);
    // Without AFC the channel cannot reach the reply: the loops hold a line beside it, which
    // is no signal to copy, and nothing is printed.
    // A neighbour just beyond the range, calling in the quiet, puts one of its idle's tones inside
    // it: the channel went there, and held the reply's lower tone instead of the reply (in the
    // noise of seed 2; the tone and the noise beside it made an idle).
    // A neighbour two symbol rates from the reply, starting with it: one tone of each idle made
    // a pair between them as clear as an idle, and the search took it (or passed the reply's
    // idle over as beside it), and held the loops where the station had been.
    // ours: the stations are our transmitter's, each with its own text (and the SNR given): a
    // neighbour calling 44 Hz down in the quiet took the loops, and the reply's idle beside its
    // text was never seen: the reply was lost to the end. With a neighbour just beyond the range,
    // the reply's carrier, found in one place search after search, was taken for a line beside it
    // (the text's power either side of it decided), and the reply was copied only at its end.
    // In QPSK31 too a neighbour calling in the quiet took the loops and kept them: the reply's idle
    // beside its text was never seen, and only the neighbour was printed.
    // A reply 31.25 Hz from a neighbour followed in the quiet has its carrier where the neighbour's
    // own lines fall (two steps of them): it was passed over as one of them until the neighbour stopped.
    // A reply 3 Hz nearer where the operator tuned than a neighbour calling on the other side was
    // not nearer enough, and the neighbour was printed to its end.
    // A reply taken while the loops follow a neighbour was read at the neighbour's symbol timing
    // (half a symbol off): its first word was lost while the timing crept over. late: the reply
    // starts so many samples after the block, off the first station's symbol timing.
    // The loops where the station had been, a neighbour farther off as strong as the reply: the
    // search found the neighbour's line as often as the reply's, and the reply's never stayed the
    // strongest long enough to be taken.
    // A QPSK31 reply starting while the loops follow a neighbour calling in the quiet, with one of
    // its idle's tones in the neighbour's spectrum, was passed over as a pair of the neighbour's
    // text lines: the neighbour was printed to its end. A pair of lines between a reply's carrier and
    // such a neighbour, its middle 7 Hz from the reply's carrier, was taken for an idle nearer where
    // the operator tuned, and nothing was read for seconds. A reply 14 Hz from that neighbour has its
    // middle where a tone of the neighbour's idle would be: it was passed over until the neighbour
    // stopped. neighbourIdle: the neighbour idles so long first. A weak reply whose opening idle
    // was lost (skip: it comes in so many seconds into its over) puts its carrier's line under the
    // detection level, though in one place search after search: it was never taken. A reply 32 Hz
    // from a neighbour followed has one tone of its idle in the body of the neighbour's text, which
    // stands far less over the power around it than the other tone: the idle was passed over as
    // unbalanced, and the neighbour printed. Our over while the loops followed a neighbour taken in
    // the quiet sent them back where the station had been with the last second still mixed where
    // they were: an idle the search found in that was taken for the station back, and the reply
    // was never read. A weak reply without its opening idle, taken by its carrier's line beside a
    // neighbour followed, was put on a line of its envelope (the strongest of the three in the last
    // block), and garbage printed. A weak reply's opening idle beside a neighbour followed stood
    // under the level of a clear idle in each block it was seen, or in QPSK31 in all but one: the
    // neighbour was printed to its end. A weak QPSK31 reply was placed by its idle as it began,
    // with the second of noise before it: 0.3 Hz off, its first characters were lost.
    struct Case { const char* what; double quiet; double offset; bool over; int afc; double neighbour; double neighbourBefore; unsigned seed; bool ours = false; double snr = -8; int mode = 0; const char* opening = nullptr; int late = 0; double neighbourIdle = 0; double skip = 0; } cases[] = {
        {"a reply 15 Hz up after 4 s", 4, 15, false, 45, 0, 0, 1},
        {"the station back 8 Hz down after 30 s", 30, -8, false, 45, 0, 0, 1},
        {"a reply 15 Hz down after our over", 4, -15, true, 45, 0, 0, 1},
        {"a reply 15 Hz up, AFC off", 4, 15, false, 0, 0, 0, 1},
        {"a reply on the same hertz, a neighbour 50 Hz down calling in the quiet", 4, 0, false, 45, -50, 3, 2},
        {"a reply 4 Hz down after our over, a neighbour 58.5 Hz up starting with it", 4, -4, true, 45, 58.5, 0, 2},
        {"ours, +10 dB: a reply 10 Hz down after 30 s, a neighbour 44 Hz down calling in the quiet", 30, -10, false, 45, -44, 12, 2, true, 10},
        {"ours, +10 dB: the same, in other noise", 30, -10, false, 45, -44, 12, 3, true, 10},
        {"ours, +10 dB: a reply 20 Hz up after 30 s, a neighbour 47 Hz up calling from 10 s before it", 30, 20, false, 45, 47, 10, 2, true, 10},
        {"ours, QPSK31, +10 dB: a reply 10 Hz up after 30 s and our over, a neighbour 43 Hz up calling from 2 s before it", 30, 10, true, 45, 43, 2, 1, true, 10, 1},
        {"ours, +10 dB: a reply 12 Hz up after our over, a neighbour 43.25 Hz up calling from 3 s before it (31.25 Hz from the reply)", 4, 12, true, 45, 43.25, 3, 1, true, 10},
        {"ours: a reply 40 Hz down after 4 s, a neighbour 43 Hz up calling from 3 s before it", 4, -40, false, 45, 43, 3, 1, true},
        {"ours, QPSK31: a reply 40 Hz down after 4 s, half a symbol later than the station before, a neighbour 43 Hz up calling from 3 s before it", 4, -40, false, 45, 43, 3, 1, true, -8, 1, "n0call de k1abc", 128},
        {"+10 dB: a reply 20 Hz down after 30 s and our over, a neighbour 57 Hz down calling from 12 s before it", 30, -20, true, 45, -57, 12, 1, false, 10},
        {"+10 dB: a reply 20 Hz up after 30 s, a neighbour 50 Hz up calling from 3 s before it", 30, 20, false, 45, 50, 3, 1, false, 10},
        {"ours, QPSK31: a reply 20 Hz up after 30 s, a neighbour 40 Hz up calling from 16 s before it (its end, after the neighbour)", 30, 20, false, 45, 40, 16, 3, true, -8, 1, "qth is here rst 599 599 how copy"},
        {"ours, QPSK31: a reply 15 Hz down after 4 s, a neighbour 40 Hz down calling from 2.8 s before it, after 3 s of idle", 4, -15, false, 45, -40, 2.8, 1, true, -8, 1, nullptr, 0, 3},
        {"+10 dB: a reply 20 Hz up after 30 s and our over, a neighbour 50 Hz up calling from 3 s before it, after 3 s of idle", 30, 20, true, 45, 50, 3, 3, false, 10, 0, nullptr, 0, 3},
        {"ours, QPSK31: a reply 26 Hz down after 30 s, a neighbour 40 Hz down calling from 17 s before it, after 3 s of idle (14 Hz from the reply)", 30, -26, false, 45, -40, 17, 3, true, -8, 1, nullptr, 0, 3},
        {"-12 dB: a reply 15 Hz down after our over, its opening idle lost in a fade", 4, -15, true, 45, 0, 0, 2, false, -12, 0, "lazy dog", 0, 0, 2.5},
        {"ours, QPSK31, +10 dB: a reply 10 Hz down after 4 s, a neighbour 42.3 Hz down calling from 3.5 s before it, after 3 s of idle", 4, -10, false, 45, -42.3, 3.5, 2, true, 10, 1, nullptr, 0, 3},
        {"ours, QPSK31, +10 dB: a reply 10 Hz up after 6 s and our over, a neighbour 42.3 Hz up calling from 3.5 s before it, after 3 s of idle", 6, 10, true, 45, 42.3, 3.5, 2, true, 10, 1, nullptr, 0, 3},
        {"ours, -13 dB: a reply 7 Hz up after our over, its opening idle lost, a neighbour 43 Hz down calling from 0.5 s before it", 4, 7, true, 45, -43, 0.5, 2, true, -13, 0, "qth is here", 0, 3, 1.2},
        {"ours, -13 dB: a reply 10 Hz down after 4 s, a neighbour 44 Hz down calling from 2 s before it", 4, -10, false, 45, -44, 2, 9, true, -13, 0, "qth is here"},
        {"ours, QPSK31, -13 dB: a reply 15 Hz up after 30 s, a neighbour 45 Hz up calling from 3 s before it, after 3 s of idle", 30, 15, false, 45, 45, 3, 1, true, -13, 1, "qth is here", 0, 3},
        {"ours, QPSK31, -13 dB: a reply 40 Hz down after 4 s", 4, -40, false, 45, 0, 0, 1, true, -13, 1, "n0call de k1abc"},
    };
    const std::string ours[] = {"cq cq cq de n0call n0call n0call pse k the quick brown fox jumps over the lazy dog 0123456789 pse k",
                                "n0call de k1abc k1abc tnx for the call name is bob qth is here rst 599 599 how copy? btu",
                                "cq dx cq dx de w9xyz w9xyz w9xyz pse k cq dx cq dx de w9xyz w9xyz pse k"};
    for (const auto& c : cases) {
        std::vector<float> sound = c.ours ? transmission(ours[0], c.mode, 1000) : recording;
        sound.resize((sound.size() + std::size_t(c.quiet * 8000)) / 1024 * 1024 + 1024, 0.0f);
        const std::size_t replyAt = sound.size();
        auto reply = c.ours ? transmission(ours[1], c.mode, 1000 + c.offset) : shifted(recording, c.offset);
        reply.erase(reply.begin(), reply.begin() + std::ptrdiff_t(c.skip * 8000));
        sound.resize(sound.size() + std::size_t(c.late), 0.0f);
        sound.insert(sound.end(), reply.begin(), reply.end());
        sound.resize(sound.size() + 8000, 0.0f);
        if (c.neighbour != 0) {
            const auto neighbour = c.neighbourIdle > 0 ? calling(ours[2], c.mode, 1000 + c.neighbour, c.neighbourIdle)
                                   : c.ours ? transmission(ours[2], c.mode, 1000 + c.neighbour) : shifted(recording, c.neighbour);
            const std::size_t from = replyAt - std::size_t(c.neighbourBefore * 8000);
            for (std::size_t i = 0; i < neighbour.size() && from + i < sound.size(); ++i)
                sound[from + i] += neighbour[i];
        }
        addNoise(sound, c.ours ? signalPower(reply, 1e-3) : 14500.0 * 14500.0, c.snr, c.seed);
        psk::Receiver rx;
        rx.setChannelCount(1);
        rx.channel(0).setMode(c.mode);
        rx.channel(0).setAfcLimit(c.afc ? 100 : 0);
        rx.channel(0).setSquelch(19, 1);
        rx.channel(0).setFrequency(1000, c.afc);
        std::array<psk::RxOutput, psk::Receiver::kChannels> out;
        std::string first, second;
        for (std::size_t pos = 0; pos < sound.size(); pos += 1024) {
            if (c.over && pos == replyAt - 1024 * 8) // our over, through the receiver's transmit switch
                for (int block = 0; block < 80; ++block)
                    rx.showTransmit(sound.data(), 1024);
            for (auto& o : out)
                o = {};
            rx.process(sound.data() + pos, int(std::min<std::size_t>(1024, sound.size() - pos)), out);
            for (int ch : out[0].chars)
                (pos < replyAt ? first : second) += char(ch);
        }
        const std::string opening = c.opening ? c.opening : c.ours ? "the call name is bob qth is here" : text.substr(4, 35); // "quick brown fox jumps over the lazy"
        EXPECT_NE(first.find(c.ours ? "the quick brown fox" : opening), std::string::npos) << c.what << ": " << first;
        if (c.afc)
            EXPECT_NE(second.find(opening), std::string::npos) << c.what << ": " << second;
        else
            EXPECT_LE(second.size(), 5u) << c.what << ": " << second;
    }
}

TEST(PeerRecordings, CopiedAgainAfterAStrongNeighbourStops)
{
    // A weak QPSK31 station (the recording at -13 dB) and a neighbour 20 dB stronger, from 14 s:
    // 12 s of idle, its call, 12 s of idle. Without AFC the neighbour dragged the loops off the
    // station, and they stayed lost to the end; with AFC a tone of its idle held them a hertz or
    // so off, and where the station had been read went along. 35 Hz up they were lost half a hertz
    // off where it had been read (nearer than they were sent back from) for ten seconds after the
    // neighbour. The end of the text is copied, AFC off and on.
    const std::string text = sentText();
    const std::string end = text.substr(text.size() - 60, 50); // from some 5 s after the neighbour
    auto station = recording("qpsk31-1000hz.wav");
    const double power = signalPower(station);
    struct Case { double away; std::vector<unsigned> seeds; } cases[] = {{30, {1, 2, 3, 4, 5}}, {35, {3, 4}}};
    for (const auto& c : cases) {
        psk::Transmitter tx(10 * std::sqrt(power / 0.375)); // our signal's power is 3/8 of its peak's square
        tx.setFrequency(1000 + c.away);
        tx.start(1);
        std::vector<float> call, block(1024);
        std::vector<psk::TxEvent> events;
        const std::string cq = "CQ CQ CQ de N0CALL N0CALL N0CALL pse K";
        std::size_t echoed = 0, sent = 0; // (sent: where its last character was out)
        while (sent == 0 || call.size() < sent + 8000 * 12) {
            if (call.size() == 1024 * 94) // 12 s
                for (char ch : cq)
                    tx.queueCharacter(static_cast<unsigned char>(ch));
            events.clear();
            tx.fill(block.data(), int(block.size()), events);
            call.insert(call.end(), block.begin(), block.end());
            for (const auto& e : events)
                echoed += e.kind == psk::TxEvent::Echo;
            if (sent == 0 && echoed == cq.size())
                sent = call.size();
        }
        for (int afc : {0, 45})
            for (unsigned seed : c.seeds) {
                auto sound = station;
                for (std::size_t i = 0; i < call.size() && 14 * 8000 + i < sound.size(); ++i)
                    sound[14 * 8000 + i] += call[i];
                addNoise(sound, power, -13, seed);
                const std::string got = receive(sound, {{1000, 1, afc}})[0];
                EXPECT_NE(got.find(end), std::string::npos) << c.away << " Hz up, AFC " << afc << ", seed " << seed << ": " << got;
            }
    }
}
