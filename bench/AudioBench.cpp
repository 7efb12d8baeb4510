// Audio: rendering module music against real time, and the per-frame voice
// update with every voice busy.

#include "XmWriter.h"
#include "audio/Audio.h"
#include "audio/ModMusic.h"
#include "framework/CoreConfig.h"
#include "framework/Keyboard.h"
#include "framework/Log.h"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Half a second of an eight-channel module per call; the stream asks for one
// every half second, so the ratio to 500 ms is the headroom over real time.
// Nearly all of it is DUMB's own work: its cubic resampler and click removal.
void BM_ModMusicHalfSecond(benchmark::State& state)
{
    std::filesystem::create_directories("bench_data");
    xm::save(xm::testModule(8, 30), "bench_data/eight.xm");
    orv::ModMusic music;
    if (!music.load("bench_data/eight.xm")) {
        state.SkipWithError("module did not load");
        return;
    }
    music.onSeek(sf::Time::Zero);
    sf::SoundStream::Chunk chunk;
    double total = 0.0;
    std::int64_t calls = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        music.onGetData(chunk);
        total += std::chrono::duration<double>(Clock::now() - start).count();
        ++calls;
        benchmark::DoNotOptimize(chunk.samples);
    }
    const double perCall = total / static_cast<double>(calls);
    state.counters["ms_goal_max5"] = perCall * 1e3;
    state.counters["times_real_time_goal_min500"] = 0.5 / perCall;
}
BENCHMARK(BM_ModMusicHalfSecond)->Unit(benchmark::kMillisecond);

void BM_PollSound64Voices(benchmark::State& state)
{
    orv::Log::disable();
    orv::Keyboard::focusOverride = 1;
    orv::coreConfig = orv::CoreConfig();
    orv::Audio::init();
    std::filesystem::create_directories("bench_data");
    std::vector<sf::Int16> tone(22050 * 4);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<sf::Int16>(std::sin(0.0627 * static_cast<double>(i)) * 8000);
    {
        sf::OutputSoundFile file;
        file.openFromFile("bench_data/tone.wav", 22050, 1);
        file.write(tone.data(), tone.size());
    }
    orv::Audio::addSample("bench_data/tone.wav", "TONE");
    for (int i = 0; i < orv::Audio::voiceCount; ++i)
        orv::Audio::playSound(1, {}, true, "K" + std::to_string(i), -1.0f, false, 0.5f, 1.0f);
    int busy = 0;
    for (const orv::Voice& v : orv::Audio::voices())
        busy += v.sound.getStatus() == sf::Sound::Playing;

    double total = 0.0;
    std::int64_t calls = 0;
    for (auto _ : state) {
        // Keep every loop alive, as its owners would each frame.
        state.PauseTiming();
        for (int i = 0; i < orv::Audio::voiceCount; ++i)
            orv::Audio::playSound(1, {}, true, "K" + std::to_string(i), -1.0f, false, 0.5f, 1.0f);
        state.ResumeTiming();
        const auto start = Clock::now();
        orv::Audio::pollSound();
        total += std::chrono::duration<double>(Clock::now() - start).count();
        ++calls;
    }
    state.counters["voices_playing"] = busy;
    state.counters["us_goal_max15"] = total / static_cast<double>(calls) * 1e6;
    orv::Audio::close();
}
BENCHMARK(BM_PollSound64Voices)->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace
