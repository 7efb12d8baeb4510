#include "VehicleSounds.h"

#include "Output.h"
#include "Synth.h"

#include <cmath>
#include <string>

namespace content {

namespace {

constexpr float twoPi = 6.2831853f;

struct Engine {
    const char* name;
    const char* extension;
    int cylinders;
    float idleRpm, movingRpm;
    float brightness; // how much of the upper harmonics
    float roughness;  // firing-to-firing unevenness and noise
    int variants;
    std::uint32_t seed;
};

const Engine engines[] = {
    {"Engine_Car_a", "wav", 4, 900, 2200, 0.55f, 0.25f, 2, 11},
    {"Engine_Car_b", "wav", 6, 1000, 2800, 0.75f, 0.15f, 1, 23},
    {"Engine_Truck_a", "wav", 8, 700, 1700, 0.45f, 0.45f, 1, 37},
    {"Engine_Diesel_a", "wav", 6, 650, 1500, 0.6f, 0.6f, 1, 41},
    {"Engine_Tank_a", "wav", 12, 600, 1400, 0.5f, 0.8f, 1, 53},
    {"Engine_Buggy_a", "ogg", 2, 1100, 3000, 0.85f, 0.5f, 1, 67},
};

// An engine at a steady speed: the firing frequency (rpm / 60 x cylinders /
// 2) with its harmonics, a sub-harmonic for the uneven firing of one
// crankshaft turn, and noise pulsed with each firing.
Signal engineLoop(const Engine& e, float rpm, std::uint32_t seed)
{
    const float firing = rpm / 60.0f * static_cast<float>(e.cylinders) * 0.5f;
    const float turn = rpm / 60.0f; // once per crankshaft turn
    // A whole number of crankshaft turns (and so of firings) per loop.
    const std::size_t frames =
        static_cast<std::size_t>(std::lround(std::round(2.0f * turn) / turn * sampleRate));
    const std::size_t total = frames + sampleRate / 20;
    Rng rng(seed);
    Signal hiss = noise(total, rng);
    lowPass(hiss, 1800.0f + 2500.0f * e.brightness);
    float amp[12], phase[12];
    for (int h = 0; h < 12; ++h) {
        amp[h] = std::pow(0.35f + 0.5f * e.brightness, static_cast<float>(h)) * rng.range(0.6f, 1.0f);
        phase[h] = rng.range(0.0f, twoPi);
    }
    Signal s(total);
    for (std::size_t i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        float v = 0.0f;
        for (int h = 0; h < 12; ++h)
            v += amp[h] * std::sin(twoPi * firing * static_cast<float>(h + 1) * t + phase[h]);
        v += e.roughness * 0.5f * std::sin(twoPi * turn * t) * std::sin(twoPi * firing * 0.5f * t);
        // Each firing is a short burst: the noise follows a pulse train.
        const float cycle = std::fmod(firing * t, 1.0f);
        const float pulse = std::exp(-cycle * 6.0f);
        v += hiss[i] * (0.15f + e.roughness) * pulse;
        s[i] = v;
    }
    Signal loop = loopOf(s, frames, sampleRate / 20);
    setLevel(loop, -14.0f);
    return loop;
}

// A horn: two detuned reed tones with a quick attack and release.
Signal horn(float low, float high, float seconds, float buzz)
{
    const std::size_t frames = static_cast<std::size_t>(seconds * sampleRate);
    Signal s(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float attack = std::min(1.0f, t / 0.02f), release = std::min(1.0f, (seconds - t) / 0.06f);
        float v = 0.0f;
        for (int h = 1; h <= 6; ++h) {
            const float a = std::pow(buzz, static_cast<float>(h - 1)) / static_cast<float>(h);
            v += a * (std::sin(twoPi * low * h * t) + std::sin(twoPi * high * h * t));
        }
        s[i] = v * attack * release;
    }
    lowPass(s, 5000.0f);
    setLevel(s, -9.0f);
    return s;
}

bool saveMono(const Signal& s, const std::filesystem::path& path)
{
    return saveSound(toPcm(s), 1, sampleRate, path);
}

} // namespace

bool makeVehicleSounds(const std::filesystem::path& root)
{
    const std::filesystem::path engineFolder = root / "Data/Sounds/Engine";
    for (const Engine& e : engines) {
        for (int v = 0; v < e.variants; ++v) {
            // Numbered variants share a name in the bank (the trailing number
            // is dropped) and are picked at random when the sound starts.
            const std::string suffix =
                (e.variants > 1 ? "_" + std::to_string(v + 1) : std::string()) + "." + e.extension;
            const std::uint32_t seed = e.seed + static_cast<std::uint32_t>(v) * 1000u;
            const float detune = 1.0f + 0.03f * static_cast<float>(v);
            if (!saveMono(engineLoop(e, e.idleRpm * detune, seed),
                          engineFolder / (std::string(e.name) + "_Idle" + suffix)) ||
                !saveMono(engineLoop(e, e.movingRpm * detune, seed + 1),
                          engineFolder / (std::string(e.name) + "_Moving" + suffix)))
                return false;
        }
    }
    const std::filesystem::path hornFolder = root / "Data/Sounds/Horns";
    return saveMono(horn(415.0f, 523.0f, 0.45f, 0.55f), hornFolder / "Horn_Default.wav") &&
           saveMono(horn(220.0f, 277.0f, 0.7f, 0.7f), hornFolder / "Horn_Truck.wav") &&
           saveMono(horn(554.0f, 698.0f, 0.3f, 0.45f), hornFolder / "Horn_Sport.wav") &&
           saveMono(horn(330.0f, 392.0f, 0.6f, 0.6f), hornFolder / "Horn_Bus.ogg");
}

} // namespace content
