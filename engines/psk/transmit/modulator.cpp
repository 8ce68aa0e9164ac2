#include "engines/psk/transmit/modulator.h"

#include <cctype>
#include <cmath>
#include <cstring>

namespace psk {

float Modulator::carrier(double re, double im)
{
    double c = std::cos(phase_), s = std::sin(phase_);
    phase_ += 2 * kPi * hz_ / kSampleRate;
    if (phase_ > 2 * kPi)
        phase_ -= 2 * kPi;
    return float(amplitude_ * (re * c - im * s));
}

void Modulator::symbol(cplx target, std::vector<float>& out)
{
    for (int n = 0; n < kSamplesPerSymbol; ++n) {
        double w = 0.5 * (1 + std::cos(kPi * n / kSamplesPerSymbol));
        cplx b = phasor_ * w + target * (1 - w);
        out.push_back(carrier(b.real(), b.imag()));
    }
    phasor_ = target;
    keyLevel_ = std::abs(target);
}

void Modulator::keyed(bool on, int samples, std::vector<float>& out)
{
    constexpr int kEdge = kSampleRate / 200;
    double target = on ? 1.0 : 0.0;
    double start = keyLevel_;
    for (int n = 0; n < samples; ++n) {
        double level = target;
        if (n < kEdge && start != target)
            level = start + (target - start) * 0.5 * (1 - std::cos(kPi * n / kEdge));
        out.push_back(carrier(level, 0));
    }
    keyLevel_ = target;
    phasor_ = cplx(target, 0);
}

std::vector<std::pair<bool, int>> morseElements(const std::string& text)
{
    static const struct { char c; const char* code; } kTable[] = {
        {'A', ".-"}, {'B', "-..."}, {'C', "-.-."}, {'D', "-.."}, {'E', "."}, {'F', "..-."},
        {'G', "--."}, {'H', "...."}, {'I', ".."}, {'J', ".---"}, {'K', "-.-"}, {'L', ".-.."},
        {'M', "--"}, {'N', "-."}, {'O', "---"}, {'P', ".--."}, {'Q', "--.-"}, {'R', ".-."},
        {'S', "..."}, {'T', "-"}, {'U', "..-"}, {'V', "...-"}, {'W', ".--"}, {'X', "-..-"},
        {'Y', "-.--"}, {'Z', "--.."}, {'0', "-----"}, {'1', ".----"}, {'2', "..---"},
        {'3', "...--"}, {'4', "....-"}, {'5', "....."}, {'6', "-...."}, {'7', "--..."},
        {'8', "---.."}, {'9', "----."}, {'/', "-..-."}, {'?', "..--.."}, {'.', ".-.-.-"},
        {',', "--..--"}, {'=', "-...-"}, {'-', "-....-"}, {'+', ".-.-."}, {'\'', ".----."},
        {'(', "-.--."}, {')', "-.--.-"}, {':', "---..."}, {'@', ".--.-."},
        {char(216), "-----"}}; // slashed zero
    std::vector<std::pair<bool, int>> out;
    for (char ch : text) {
        if (ch == ' ') {
            if (!out.empty() && !out.back().first)
                out.back().second = 7;
            else
                out.push_back({false, 7});
            continue;
        }
        char up = char(std::toupper(static_cast<unsigned char>(ch)));
        const char* code = nullptr;
        for (const auto& e : kTable)
            if (e.c == up)
                code = e.code;
        if (!code)
            continue;
        for (const char* p = code; *p; ++p) {
            out.push_back({true, *p == '.' ? 1 : 3});
            out.push_back({false, 1});
        }
        out.back().second = 3; // gap between letters
    }
    return out;
}

int morseDotSamples(int speed)
{
    static const int kWpm[5] = {19, 37, 19, 12, 9};
    int wpm = speed >= 1 && speed <= 4 ? kWpm[speed] : (speed > 4 && speed <= 100 ? speed : kWpm[0]);
    return kSampleRate * 12 / (10 * wpm);
}

} // namespace psk
