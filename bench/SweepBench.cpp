// A 1,000-point sweep of every driving test of one shipped car (its power
// from half to one and a half times its own), on one thread and on two. The
// counters: points_per_s_per_core on each (wall time), cpu_ms_per_point on
// each (the process's CPU time over all threads, which a busy machine does
// not inflate: the two agree when threads add no work), and
// speedup_2_threads, the one-thread wall time against the two-thread one
// measured in the same run (2 on two free cores; a shared machine shows
// anything from 1 to above 2 as its load comes and goes).

#include "Sweep.h"
#include "framework/Log.h"
#include "vehicle/VehicleDef.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace {

constexpr int sweepPoints = 1000;

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct SweepTime {
    double wall = 0.0;
    double cpu = 0.0;
};

SweepTime timeSweep(const VehicleDef& def, const std::vector<SweepAxis>& axes, int threads, long& rows)
{
    rows = 0;
    const double cpu = processCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    runSweep(def, axes, false, {}, threads, [&rows](const std::string&) { ++rows; });
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), processCpuSeconds() - cpu};
}

void BM_SweepThroughput(benchmark::State& state)
{
    orv::Log::disable();
    std::vector<VehicleDef> defs;
    if (!loadVehicleDef(std::string(RUN_DIR) + "/Data/Cars/Buggy.ini", defs)) {
        state.SkipWithError("no Buggy.ini in the runnable folder");
        return;
    }
    const VehicleDef def = defs.back();
    const double power = def.power < 0.0f ? def.mass * 250.0 : def.power;
    const std::vector<SweepAxis> axes = {{"body.power", 0.5 * power, 1.5 * power, sweepPoints}};
    SweepTime one, two;
    long rows = 0;
    for (auto _ : state) {
        one = timeSweep(def, axes, 1, rows);
        two = timeSweep(def, axes, 2, rows);
    }
    state.counters["points"] = static_cast<double>(rows - 1);
    state.counters["points_per_s_per_core_1_thread"] = sweepPoints / one.wall;
    state.counters["points_per_s_per_core_2_threads"] = sweepPoints / two.wall / 2.0;
    state.counters["cpu_ms_per_point_1_thread"] = 1000.0 * one.cpu / sweepPoints;
    state.counters["cpu_ms_per_point_2_threads"] = 1000.0 * two.cpu / sweepPoints;
    state.counters["speedup_2_threads"] = one.wall / two.wall;
}
BENCHMARK(BM_SweepThroughput)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
