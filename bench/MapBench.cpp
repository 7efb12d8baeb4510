// Map physics: the sector query against a brute-force reference, building
// sector bodies at two sizes, and loading a map of a real map's size.

#include "GeneratedMap.h"
#include "framework/Log.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"
#include "world/OverlapGrid.h"

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void loadQuietly(const std::string& path)
{
    orv::Log::disable();
    resetPhysicsWorld();
    loadMap(path);
}

// The reference: every fixture of every sector tested exactly, no broad
// phase; the sectors under the rectangle, lowest index first.
std::vector<int> bruteForceSectors(const sf::FloatRect& rect)
{
    b2PolygonShape box;
    box.SetAsBox(rect.width * 0.5f * metresPerPixel, rect.height * 0.5f * metresPerPixel,
                 b2Vec2((rect.left + rect.width * 0.5f) * metresPerPixel,
                        (rect.top + rect.height * 0.5f) * metresPerPixel),
                 0.0f);
    b2Transform identity;
    identity.SetIdentity();
    std::vector<int> under;
    for (const Sector& s : currentMap.sectors)
        for (const b2Fixture* f : s.fixtures)
            if (b2TestOverlap(&box, 0, f->GetShape(), 0, identity, identity)) {
                under.push_back(s.index);
                break;
            }
    return under;
}

std::vector<sf::FloatRect> queryPoints(int count, int side)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> pos(1.0f, static_cast<float>(side) - 2.0f);
    std::uniform_real_distribution<float> size(1.0f, 200.0f);
    std::vector<sf::FloatRect> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(pos(rng), pos(rng), 1.0f, 1.0f);
    // Larger rectangles too, for the answers only: they span cells of an index.
    for (int i = 0; i < count / 4; ++i)
        out.emplace_back(pos(rng), pos(rng), size(rng), size(rng));
    return out;
}

// Goals: at most 1 us a query of a 1 x 1 rectangle, and every answer (for
// larger rectangles too) the brute-force reference's.
void BM_FindSectors5000(benchmark::State& state)
{
    const int side = 20000;
    loadQuietly(writeGeneratedMap("bench_data/q5000.map", 5000, 0, side, 1));
    const std::vector<sf::FloatRect> all = queryPoints(200, side);
    const std::vector<sf::FloatRect> points(all.begin(), all.begin() + 200);

    // Reference timing and answers, once, in this run.
    auto start = Clock::now();
    std::vector<std::vector<int>> expected;
    for (const sf::FloatRect& p : points)
        expected.push_back(bruteForceSectors(p));
    const double brute = secondsSince(start) / static_cast<double>(points.size());
    for (std::size_t i = points.size(); i < all.size(); ++i)
        expected.push_back(bruteForceSectors(all[i]));
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::vector<int> found;
        for (const Sector* s : findSectors(all[i], SectorQueryMode::NonRoof))
            found.push_back(s->index);
        wrong += found != expected[i] ? 1 : 0;
    }

    std::size_t i = 0;
    for (auto _ : state) {
        const auto& found = findSectors(points[i++ % points.size()], SectorQueryMode::NonRoof);
        benchmark::DoNotOptimize(found.data());
    }
    start = Clock::now();
    for (const sf::FloatRect& p : points)
        benchmark::DoNotOptimize(findSectors(p, SectorQueryMode::NonRoof).size());
    const double broad = secondsSince(start) / static_cast<double>(points.size());
    state.counters["brute_us"] = brute * 1e6;
    state.counters["query_us_goal_max1"] = broad * 1e6;
    state.counters["speedup_goal20"] = brute / broad;
    state.counters["answers_unlike_brute_force_goal0"] = static_cast<double>(wrong);
}
BENCHMARK(BM_FindSectors5000)->Unit(benchmark::kMicrosecond);

struct BuildRun {
    double seconds = 0.0;
    double overlapsPerSector = 0.0;
};

BuildRun buildSectors(const std::string& path)
{
    loadQuietly(path);
    BuildRun run;
    // Pairs of overlapping bounds (the background left out), the work the
    // build is meant to scale with.
    const auto& s = currentMap.sectors;
    long long pairs = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        for (std::size_t j = i + 1; j < s.size(); ++j) {
            if (overlapStrictly(s[i].bounds, s[j].bounds))
                ++pairs;
        }
    run.overlapsPerSector = 2.0 * static_cast<double>(pairs) / static_cast<double>(s.size());
    const auto start = Clock::now();
    resetPhysicsWorld();
    buildSectorBodies();
    run.seconds = secondsSince(start);
    return run;
}

// 1,000 against 10,000 sectors. The goal is measured on ten copies of the
// 1,000-sector district, so each sector has exactly the same overlaps in both.
// The uniform maps (the side grows with the square root of the count) have
// a goal too: there the small map has relatively more border, where sectors
// have fewer neighbours, so each sector of the large map has about 11% more
// overlaps, and clipping cost grows faster than the overlaps; the ratio per
// overlap is reported beside it. Each build's fastest of the iterations
// counts: other work on the machine only ever adds time.
void BM_BuildSectorBodies(benchmark::State& state)
{
    BuildRun small, large, uniformSmall, uniformLarge;
    auto keepFastest = [](BuildRun& best, const BuildRun& run) {
        if (best.seconds == 0.0 || run.seconds < best.seconds)
            best = run;
    };
    for (auto _ : state) {
        keepFastest(small, buildSectors(writeDistrictMap("bench_data/d1.map", 1, 999, 6325, 2)));
        keepFastest(large, buildSectors(writeDistrictMap("bench_data/d10.map", 10, 999, 6325, 2)));
        keepFastest(uniformSmall, buildSectors(writeGeneratedMap("bench_data/u1000.map", 1000, 0, 6325, 2)));
        keepFastest(uniformLarge, buildSectors(writeGeneratedMap("bench_data/u10000.map", 10000, 0, 20000, 2)));
    }
    const double uniform = uniformLarge.seconds / uniformSmall.seconds;
    state.counters["ms_1000"] = small.seconds * 1e3;
    state.counters["ms_10000"] = large.seconds * 1e3;
    state.counters["ratio_goal_max11"] = large.seconds / small.seconds;
    state.counters["uniform_ratio_goal_max11"] = uniform;
    state.counters["uniform_ratio_per_overlap"] =
        uniform * uniformSmall.overlapsPerSector / uniformLarge.overlapsPerSector;
    state.counters["uniform_overlaps_1000"] = uniformSmall.overlapsPerSector;
    state.counters["uniform_overlaps_10000"] = uniformLarge.overlapsPerSector;
}
BENCHMARK(BM_BuildSectorBodies)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadRealSizedMap(benchmark::State& state)
{
    objectDefs.clear();
    ObjectDef crate;
    crate.name = "Crate.ob";
    crate.mass = 1.0f;
    crate.collisionSize = {24, 24};
    objectDefs.push_back(crate);
    const std::string path = writeGeneratedMap("bench_data/real.map", 200, 100, 4000, 3);
    orv::Log::disable();
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        resetPhysicsWorld();
        loadMap(path);
        times.push_back(secondsSince(start));
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms_goal_max100"] = times[times.size() / 2] * 1e3;
    state.counters["p99_ms"] = times[times.size() * 99 / 100] * 1e3;
    state.counters["minimap"] = currentMap.minimapReady ? 1 : 0;
}
BENCHMARK(BM_LoadRealSizedMap)->Unit(benchmark::kMillisecond);

} // namespace
