#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace content {

namespace {
constexpr float twoPi = 6.2831853f;
}

void lowPass(Signal& s, float cutoff)
{
    const float a = 1.0f - std::exp(-twoPi * cutoff / sampleRate);
    float y = 0.0f;
    for (float& v : s)
        v = y += a * (v - y);
}

void highPass(Signal& s, float cutoff)
{
    Signal low = s;
    lowPass(low, cutoff);
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] -= low[i];
}

Signal noise(std::size_t frames, Rng& rng)
{
    Signal s(frames);
    for (float& v : s)
        v = rng.unit() * 2.0f - 1.0f;
    return s;
}

Signal loopOf(const Signal& s, std::size_t frames, std::size_t fade)
{
    Signal out(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(frames));
    for (std::size_t i = 0; i < fade; ++i) {
        // Equal power: the two parts are mostly unrelated noise and partials.
        const float t = (static_cast<float>(i) + 0.5f) / static_cast<float>(fade);
        out[i] = s[i] * std::sin(t * twoPi * 0.25f) + s[frames + i] * std::cos(t * twoPi * 0.25f);
    }
    return out;
}

void setLevel(Signal& s, float rmsDb, float peakDb)
{
    double sum = 0.0;
    float peak = 0.0f;
    for (float v : s) {
        sum += static_cast<double>(v) * v;
        peak = std::max(peak, std::fabs(v));
    }
    if (s.empty() || sum <= 0.0)
        return;
    const float rms = static_cast<float>(std::sqrt(sum / static_cast<double>(s.size())));
    float gain = std::pow(10.0f, rmsDb / 20.0f) / rms;
    const float peakLimit = std::pow(10.0f, peakDb / 20.0f);
    if (peak * gain > peakLimit)
        gain = peakLimit / peak;
    for (float& v : s)
        v *= gain;
}

std::vector<std::int16_t> toPcm(const Signal& s)
{
    std::vector<std::int16_t> out(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::lround(std::clamp(s[i], -1.0f, 1.0f) * 32767.0f));
    return out;
}

Signal interleave(const Signal& left, const Signal& right)
{
    Signal out(left.size() * 2);
    for (std::size_t i = 0; i < left.size(); ++i) {
        out[2 * i] = left[i];
        out[2 * i + 1] = i < right.size() ? right[i] : 0.0f;
    }
    return out;
}

void addChirp(Signal& s, std::size_t start, std::size_t frames, float from, float to, float gain)
{
    float phase = 0.0f;
    for (std::size_t i = 0; i < frames && start + i < s.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(frames);
        phase += twoPi * (from + (to - from) * t) / sampleRate;
        const float envelope = std::sin(t * 3.14159265f);
        s[start + i] += gain * envelope * envelope * std::sin(phase);
    }
}

} // namespace content
