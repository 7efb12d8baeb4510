#include "AmbienceSounds.h"

#include "Output.h"
#include "Synth.h"

#include <cmath>
#include <string>

namespace content {

namespace {

constexpr float twoPi = 6.2831853f;
constexpr std::size_t loopFrames = 8 * sampleRate;
constexpr std::size_t fadeFrames = sampleRate / 2;
constexpr std::size_t total = loopFrames + fadeFrames;

// Wind: low-passed noise swelling slowly.
Signal wind(Rng& rng, float cutoff, float gain)
{
    Signal s = noise(total, rng);
    lowPass(s, cutoff);
    lowPass(s, cutoff);
    for (std::size_t i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        s[i] *= gain * (0.7f + 0.3f * std::sin(twoPi * t / 8.0f + 1.0f));
    }
    return s;
}

void birds(Signal& s, Rng& rng, int count, float lowHz, float highHz, float gain)
{
    for (int b = 0; b < count; ++b) {
        std::size_t at = static_cast<std::size_t>(rng.unit() * static_cast<float>(loopFrames));
        const int notes = 2 + rng.below(5);
        const float base = rng.range(lowHz, highHz);
        for (int n = 0; n < notes; ++n) {
            const std::size_t length = static_cast<std::size_t>(rng.range(0.04f, 0.12f) * sampleRate);
            addChirp(s, at, length, base * rng.range(0.9f, 1.1f), base * rng.range(1.1f, 1.6f), gain);
            at += length + static_cast<std::size_t>(rng.range(0.02f, 0.08f) * sampleRate);
        }
    }
}

// Crickets or cicadas: a tone gated on and off quickly.
void insects(Signal& s, float frequency, float rate, float gain)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float gate = std::sin(twoPi * rate * t) > 0.3f ? 1.0f : 0.0f;
        const float swell = 0.6f + 0.4f * std::sin(twoPi * t / 4.0f);
        s[i] += gain * gate * swell * std::sin(twoPi * frequency * t);
    }
}

// Water lapping: band-limited noise with a slow, irregular swell, plus drops.
Signal lapping(Rng& rng, float swellHz, float gain)
{
    Signal s = noise(total, rng);
    lowPass(s, 900.0f);
    highPass(s, 120.0f);
    const float p1 = rng.range(0.0f, twoPi), p2 = rng.range(0.0f, twoPi);
    for (std::size_t i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float swell = 0.5f + 0.3f * std::sin(twoPi * swellHz * t + p1) + 0.2f * std::sin(twoPi * swellHz * 2.7f * t + p2);
        s[i] *= gain * swell * swell;
    }
    for (int d = 0; d < 14; ++d) {
        const std::size_t at = static_cast<std::size_t>(rng.unit() * static_cast<float>(loopFrames));
        const float f = rng.range(500.0f, 1200.0f);
        addChirp(s, at, static_cast<std::size_t>(0.05f * sampleRate), f, f * 1.8f, gain * 0.6f);
    }
    return s;
}

// Waves on a shore: each wave a rising and falling wash of noise.
Signal waves(Rng& rng)
{
    Signal s = noise(total, rng);
    lowPass(s, 2500.0f);
    for (std::size_t i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float phase = std::fmod(t / 4.0f, 1.0f); // one wave every 4 s
        const float wash = phase < 0.3f ? phase / 0.3f : std::exp(-(phase - 0.3f) * 4.0f);
        s[i] *= 0.15f + wash;
    }
    return s;
}

Signal rain(Rng& rng)
{
    Signal s = noise(total, rng);
    highPass(s, 800.0f);
    lowPass(s, 7000.0f);
    for (float& v : s)
        v *= 0.6f;
    for (int d = 0; d < 900; ++d) { // drops on leaves and puddles
        const std::size_t at = static_cast<std::size_t>(rng.unit() * static_cast<float>(total - 2000));
        const float gain = rng.range(0.1f, 0.5f);
        for (std::size_t i = 0; i < 600; ++i)
            s[at + i] += gain * std::exp(-static_cast<float>(i) / 60.0f) * (rng.unit() * 2.0f - 1.0f);
    }
    return s;
}

Signal city(Rng& rng)
{
    Signal s = noise(total, rng);
    lowPass(s, 300.0f);
    lowPass(s, 300.0f);
    for (std::size_t i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        s[i] *= 3.0f + std::sin(twoPi * t / 8.0f) + 0.5f * std::sin(twoPi * 60.0f * t) * 0.2f;
    }
    // A car passing by: a swell of engine hum, and a far-away horn.
    for (std::size_t i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float pass = std::exp(-(t - 3.0f) * (t - 3.0f) / 1.5f);
        s[i] += 0.25f * pass * std::sin(twoPi * (90.0f + 6.0f * (3.0f - t)) * t);
    }
    addChirp(s, static_cast<std::size_t>(6.0f * sampleRate), sampleRate / 3, 440.0f, 430.0f, 0.08f);
    return s;
}

Signal underwater(Rng& rng)
{
    Signal s = noise(total, rng);
    lowPass(s, 180.0f);
    lowPass(s, 180.0f);
    for (float& v : s)
        v *= 4.0f;
    for (int b = 0; b < 40; ++b) { // bubbles: quick rising blips
        const std::size_t at = static_cast<std::size_t>(rng.unit() * static_cast<float>(loopFrames));
        const float f = rng.range(300.0f, 900.0f);
        addChirp(s, at, static_cast<std::size_t>(0.03f * sampleRate), f, f * 2.5f, 0.15f);
    }
    return s;
}

bool save(Signal left, Signal right, const std::filesystem::path& path)
{
    left = loopOf(left, loopFrames, fadeFrames);
    if (right.empty()) {
        setLevel(left, -20.0f);
        return saveSound(toPcm(left), 1, sampleRate, path);
    }
    right = loopOf(right, loopFrames, fadeFrames);
    Signal both = interleave(left, right);
    setLevel(both, -20.0f);
    return saveSound(toPcm(both), 2, sampleRate, path);
}

} // namespace

bool makeAmbienceSounds(const std::filesystem::path& root)
{
    const std::filesystem::path folder = root / "Data/Sounds/ambience";
    Rng rng(0xA3B1);

    Signal meadowL = wind(rng, 400.0f, 1.0f), meadowR = wind(rng, 400.0f, 1.0f);
    birds(meadowL, rng, 6, 2500.0f, 4200.0f, 0.25f);
    birds(meadowR, rng, 6, 2500.0f, 4200.0f, 0.25f);
    insects(meadowL, 4300.0f, 14.0f, 0.02f);
    insects(meadowR, 4250.0f, 13.0f, 0.02f);

    Signal jungle = wind(rng, 250.0f, 0.5f);
    birds(jungle, rng, 22, 1200.0f, 5000.0f, 0.3f);
    insects(jungle, 5200.0f, 30.0f, 0.05f);

    return save(meadowL, meadowR, folder / "Meadow_A.wav") &&
           save(lapping(rng, 0.25f, 1.0f), lapping(rng, 0.25f, 1.0f), folder / "Water_A.ogg") &&
           save(jungle, {}, folder / "Jungle_C.wav") && save(city(rng), {}, folder / "City_B.ogg") &&
           save(waves(rng), waves(rng), folder / "Shore_A.wav") &&
           save(underwater(rng), {}, folder / "Underwater_A.wav") &&
           save(rain(rng), rain(rng), folder / "Rain_B.ogg");
}

} // namespace content
