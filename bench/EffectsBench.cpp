// The world drawing's CPU side: one frame of effect work with every list at
// its cap, and drawing the sectors of a 200-sector map in full view.

#include "GeneratedMap.h"
#include "framework/Core.h"
#include "framework/Log.h"
#include "framework/ProgramClock.h"
#include "render/SmokePuffs.h"
#include "render/TrackMarks.h"
#include "render/Wildlife.h"
#include "render/WorldRenderer.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/TerrainTextures.h"

#include <benchmark/benchmark.h>

#include <SFML/Graphics/Image.hpp>
#include <SFML/OpenGL.hpp>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

const sf::FloatRect view(0, 0, 640, 360);

// Long-lived entries at every cap, spread over the view.
void fillEffects()
{
    clearTracks();
    clearSmoke();
    clearWildlife();
    TextureMaterial material;
    material.trackAlpha = 4.0f; // life near 1000: nothing dies during the run
    material.trackColour = sf::Color(80, 60, 40);
    for (std::size_t i = 0; trackMarks.size() < maxTrackMarks; ++i)
        layTrackMark(sf::Vector2f(static_cast<float>(i % 640), static_cast<float>(i % 360)),
                     static_cast<float>(i % 360), 5.0f, material, 1, nullptr);
    for (std::size_t i = 0; smokePuffs.size() < maxSmokePuffs; ++i)
        addSmokePuff(sf::Vector2f(static_cast<float>(i % 640), 100.0f), sf::Vector2f(0.0f, 0.0f),
                     sf::Vector2f(3.6f, 3.6f), sf::Color(110, 110, 110), 0.0f, 0.01f, 0.3f, nullptr);
    for (int i = 0; animals.size() < maxAnimals; ++i)
        spawnAnimal(sf::Vector2f(static_cast<float>(i % 600), static_cast<float>(i % 300)), (i % 2) ? 5 : 3);
    for (std::size_t i = 0; i < animals.size(); ++i) {
        animals[i].life = 1.0e6f;
        animals[i].speed = 0.0f;
    }
}

void BM_EffectsFrameAtCaps(benchmark::State& state)
{
    orv::Log::disable();
    clearMap();
    fillEffects();
    sf::VertexArray tracks(sf::Quads), smoke(sf::Quads), ground(sf::Quads), shadows(sf::Quads),
        flying(sf::Quads);
    const float dt = 1.0f / 60.0f;

    // Reference, in this run: the same number of quads written without any
    // effect logic.
    const std::size_t quads = maxTrackMarks + maxSmokePuffs + 2 * maxAnimals;
    sf::VertexArray plain(sf::Quads);
    const auto refStart = Clock::now();
    const int refRounds = 50;
    for (int r = 0; r < refRounds; ++r) {
        plain.clear();
        for (std::size_t q = 0; q < quads * 4; ++q)
            plain.append(sf::Vertex(sf::Vector2f(static_cast<float>(q), 1.0f)));
        benchmark::DoNotOptimize(plain[0]);
    }
    const double reference = std::chrono::duration<double>(Clock::now() - refStart).count() / refRounds;

    double total = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        updateSmoke(dt);
        updateTracks(dt);
        updateWildlife(dt, view, 1.0f / 30.0f);
        buildTrackVertices(tracks, sf::Vector2f(), 2.0f);
        buildWildlifeVertices(ground, false, false, sf::Vector2f(), 2.0f);
        buildSmokeVertices(smoke, sf::Vector2f(), 2.0f);
        buildWildlifeVertices(shadows, true, true, sf::Vector2f(), 2.0f);
        buildWildlifeVertices(flying, true, false, sf::Vector2f(), 2.0f);
        total += std::chrono::duration<double>(Clock::now() - start).count();
        benchmark::DoNotOptimize(tracks.getVertexCount());
    }
    const double perFrame = total / static_cast<double>(state.iterations());
    state.counters["frame_us_goal_max1000"] = perFrame * 1e6;
    state.counters["reference_us"] = reference * 1e6;
    state.counters["ratio_to_plain_quads"] = perFrame / reference;
    state.counters["marks"] = static_cast<double>(trackMarks.size());
    state.counters["puffs"] = static_cast<double>(smokePuffs.size());
    state.counters["animals"] = static_cast<double>(animals.size());
    clearTracks();
    clearSmoke();
    clearWildlife();
}
BENCHMARK(BM_EffectsFrameAtCaps)->Unit(benchmark::kMicrosecond);

// Every sector of a 200-sector map in view, half of them textured. The draw
// calls are timed apart from the GPU finish (the software rasteriser here).
void BM_DrawSectors200(benchmark::State& state)
{
    if (!orv::isWindowOpen()) {
        state.SkipWithError("needs a display");
        return;
    }
    orv::Log::disable();
    const int side = 2000;
    const std::string text = generatedMapText(200, 0, side, 11);
    // Give every other sector a floor texture and a bevel.
    std::string map;
    for (std::size_t pos = 0, n = 0;;) {
        const std::size_t next = text.find("passable=", pos);
        if (next == std::string::npos) {
            map += text.substr(pos);
            break;
        }
        map += text.substr(pos, next - pos);
        if (n++ % 2 == 1)
            map += "floorTexture=Bench.png\nbevelType=1\n";
        pos = next;
        map += "passable=";
        pos += 9;
    }
    terrainTextures.clear();
    auto floor = std::make_unique<TerrainTexture>();
    floor->name = "Bench";
    floor->texture = std::make_unique<sf::Texture>();
    sf::Image image;
    image.create(256, 256, sf::Color(90, 120, 70));
    floor->texture->loadFromImage(image);
    floor->texture->setRepeated(true);
    terrainTextures.push_back(std::move(floor));
    {
        std::FILE* f = std::fopen("bench_sectors.map", "wb");
        std::fwrite(map.data(), 1, map.size(), f);
        std::fclose(f);
    }
    resetPhysicsWorld();
    loadMap("bench_sectors.map");
    std::remove("bench_sectors.map");

    sf::RenderWindow& w = orv::window();
    const float zoom = w.getView().getSize().y / static_cast<float>(side);
    const sf::FloatRect all(0, 0, static_cast<float>(side), static_cast<float>(side));
    double drawing = 0.0, finishing = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        drawSectors(sf::Vector2f(), zoom, all);
        const auto drawn = Clock::now();
        glFinish();
        finishing += std::chrono::duration<double>(Clock::now() - drawn).count();
        drawing += std::chrono::duration<double>(drawn - start).count();
        w.clear();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["draw_cpu_us"] = drawing / n * 1e6;
    state.counters["rasteriser_us"] = finishing / n * 1e6;
    state.counters["sectors"] = static_cast<double>(currentMap.sectors.size());
    clearMap();
    terrainTextures.clear();
}
BENCHMARK(BM_DrawSectors200)->Unit(benchmark::kMicrosecond);

} // namespace
