// Hostile map shapes: many sectors stacked on one outline, tens of thousands
// of overlapping squares, and outlines that repeat or run very long. Each is
// timed with loadMap (bodies and minimap included) against a reference map of
// as many sectors side by side, loaded in the same run.

#include "framework/Log.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"

#include <SFML/System/Vector3.hpp>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

std::string writeMap(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
    return path;
}

double secondsToLoad(const std::string& path)
{
    orv::Log::disable();
    resetPhysicsWorld();
    const auto start = Clock::now();
    loadMap(path);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string header(int sectors, int vertices, int side)
{
    return "[header]\nsectorsCount=" + std::to_string(sectors) + "\nvertsCount=" + std::to_string(vertices) +
           "\nmapSize=" + std::to_string(side) + "," + std::to_string(side) + "\n[startZones]\nrect0=0,0,64,64\n";
}

// Squares given as (x, y, side), each with its own four vertices.
std::string squaresMap(const std::vector<sf::Vector3f>& squares, int mapSide)
{
    std::string verts = "[verts]\n", sectors;
    int v = 0;
    for (std::size_t s = 0; s < squares.size(); ++s) {
        const sf::Vector3f& q = squares[s];
        const float xs[4] = {q.x, q.x + q.z, q.x + q.z, q.x}, ys[4] = {q.y, q.y, q.y + q.z, q.y + q.z};
        sectors += "[sector" + std::to_string(s) + "]\nverts=";
        for (int k = 0; k < 4; ++k) {
            verts += "pos" + std::to_string(v) + "=" + std::to_string(xs[k]) + "," + std::to_string(ys[k]) + "\n";
            sectors += std::to_string(v++) + (k < 3 ? "," : "\n");
        }
    }
    return header(static_cast<int>(squares.size()), v, mapSide) + verts + sectors;
}

// The reference: the same number of sectors in a grid, none over another.
double referenceSeconds(int sectors, float side)
{
    std::vector<sf::Vector3f> grid;
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(sectors))));
    for (int i = 0; i < sectors; ++i)
        grid.emplace_back(static_cast<float>(i % columns) * side, static_cast<float>(i / columns) * side, side);
    const int mapSide = static_cast<int>(side) * columns;
    return secondsToLoad(writeMap("bench_data/grid" + std::to_string(sectors) + ".map", squaresMap(grid, mapSide)));
}

// N sectors on the same four vertices: all but the top one are hidden.
void BM_StackedIdenticalSectors(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::string text = header(count, 4, 1000) + "[verts]\npos0=0,0\npos1=1000,0\npos2=1000,1000\npos3=0,1000\n";
    for (int s = 0; s < count; ++s)
        text += "[sector" + std::to_string(s) + "]\nverts=0,1,2,3\n";
    const std::string path = writeMap("bench_data/stacked.map", text);
    double seconds = 0.0;
    for (auto _ : state)
        seconds = secondsToLoad(path);
    state.counters["seconds"] = seconds;
    state.counters["goal_below_1s"] = seconds < 1.0 ? 1 : 0;
    state.counters["ratio_to_grid"] = seconds / referenceSeconds(count, 20.0f);
}
BENCHMARK(BM_StackedIdenticalSectors)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

// N squares of 200 to 600 px at random on a 2000 x 2000 map.
void BM_OverlappingSquares(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> pos(0.0f, 1600.0f), side(200.0f, 600.0f);
    std::vector<sf::Vector3f> squares;
    for (int s = 0; s < count; ++s) {
        const float z = side(rng);
        squares.emplace_back(std::min(pos(rng), 2000.0f - z), std::min(pos(rng), 2000.0f - z), z);
    }
    const std::string path = writeMap("bench_data/squares.map", squaresMap(squares, 2000));
    double seconds = 0.0;
    for (auto _ : state)
        seconds = secondsToLoad(path);
    std::size_t visible = 0;
    for (const Sector& s : currentMap.sectors)
        visible += s.fixtures.empty() ? 0 : 1;
    state.counters["seconds"] = seconds;
    state.counters["goal_below_10s"] = seconds < 10.0 ? 1 : 0;
    state.counters["sectors_with_fixtures"] = static_cast<double>(visible);
    state.counters["ratio_to_grid"] = seconds / referenceSeconds(count, 20.0f);
}
BENCHMARK(BM_OverlappingSquares)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One sector (over a background) whose outline lists the same points `laps`
// times.
std::string lapsMap(const std::string& lap, int laps)
{
    std::string list;
    for (int i = 0; i < laps; ++i)
        list += (i ? "," : "") + lap;
    return header(2, 4, 1000) + "[verts]\npos0=0,0\npos1=1000,0\npos2=1000,1000\npos3=0,1000\n" +
           "[sector0]\nverts=0,1,2,3\n[sector1]\nverts=" + list + "\n";
}

// A circle of `points` distinct vertices; the sector lists them all, or (for
// the reference, which reads the same file otherwise) only four of them.
std::string circleMap(int points, bool listAll)
{
    std::string verts = "[verts]\npos0=0,0\npos1=1000,0\npos2=1000,1000\npos3=0,1000\n", list;
    for (int i = 0; i < points; ++i) {
        const double a = 6.283185307179586 * i / points;
        verts += "pos" + std::to_string(4 + i) + "=" + std::to_string(500 + 400 * std::cos(a)) + "," +
                 std::to_string(500 + 400 * std::sin(a)) + "\n";
        if (listAll || i % (points / 4) == 0)
            list += (list.empty() ? "" : ",") + std::to_string(4 + i);
    }
    return header(2, points + 4, 1000) + verts + "[sector0]\nverts=0,1,2,3\n[sector1]\nverts=" + list + "\n";
}

// Outlines that hung the tessellator or the clipper: the same square 16,384
// times (4 s before), a bow-tie 4,096 times (past a gigabyte in clipping),
// and 100,000 distinct points (4 s). Goals: the laps under 100 ms, the longest
// accepted outline (8,192 points) under 500 ms, and the refused 100,000-point
// outline costing at most half as much again as reading the same file with a
// four-point outline.
void BM_LongOutlines(benchmark::State& state)
{
    const std::string laps = writeMap("bench_data/laps.map", lapsMap("0,1,2,3", 16384));
    const std::string bowTies = writeMap("bench_data/bowties.map", lapsMap("0,2,1,3", 4096));
    const std::string longest = writeMap("bench_data/circle8192.map", circleMap(8192, true));
    const std::string tooLong = writeMap("bench_data/circle100k.map", circleMap(100000, true));
    const std::string plain = writeMap("bench_data/circle100k4.map", circleMap(100000, false));
    double tLaps = 0.0, tBowTies = 0.0, tLongest = 0.0, tTooLong = 0.0, tPlain = 0.0;
    for (auto _ : state) {
        tLaps = secondsToLoad(laps);
        tBowTies = secondsToLoad(bowTies);
        tLongest = secondsToLoad(longest);
        tTooLong = secondsToLoad(tooLong);
        tPlain = secondsToLoad(plain);
    }
    state.counters["ms_16384_laps"] = tLaps * 1e3;
    state.counters["ms_4096_bowties"] = tBowTies * 1e3;
    state.counters["ms_8192_points"] = tLongest * 1e3;
    state.counters["ms_100000_points"] = tTooLong * 1e3;
    state.counters["goal_laps_below_100ms"] = std::max(tLaps, tBowTies) < 0.1 ? 1 : 0;
    state.counters["goal_8192_below_500ms"] = tLongest < 0.5 ? 1 : 0;
    state.counters["ratio_100000_to_plain_goal_max1.5"] = tTooLong / tPlain;
}
BENCHMARK(BM_LongOutlines)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
