// A 1,000-point sweep of every driving test of one shipped car (its power
// from half to one and a half times its own), on one thread and on two. The
// counters: points_per_s_per_core on each, and speedup_2_threads, the
// one-thread wall time against the two-thread one measured in the same run
// (2 on two free cores; a shared machine shows less).

#include "Sweep.h"
#include "framework/Log.h"
#include "vehicle/VehicleDef.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int sweepPoints = 1000;

double sweepSeconds(const VehicleDef& def, const std::vector<SweepAxis>& axes, int threads, long& rows)
{
    rows = 0;
    const auto start = std::chrono::steady_clock::now();
    runSweep(def, axes, false, {}, threads, [&rows](const std::string&) { ++rows; });
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
    double one = 0.0, two = 0.0;
    long rows = 0;
    for (auto _ : state) {
        one = sweepSeconds(def, axes, 1, rows);
        two = sweepSeconds(def, axes, 2, rows);
    }
    state.counters["points"] = static_cast<double>(rows - 1);
    state.counters["points_per_s_per_core_1_thread"] = sweepPoints / one;
    state.counters["points_per_s_per_core_2_threads"] = sweepPoints / two / 2.0;
    state.counters["speedup_2_threads"] = one / two;
}
BENCHMARK(BM_SweepThroughput)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
