// One fixed physics step of a four-wheeled vehicle on a 200-sector map:
// stepVehicle plus the world step. Goal: under 50 microseconds a step and no
// heap allocation per step. The counters: us_per_step, budget_ratio (time
// against the 50 us budget, below 1 meets it), allocs_per_step (counted by
// the replaced operator new below), and vehicle_overhead, the step against a
// world step alone measured in the same run (both in thread CPU time).

#include "GeneratedMap.h"
#include "framework/Log.h"
#include "framework/ProgramClock.h"
#include "vehicle/DriveMonitor.h"
#include "vehicle/DrivingTests.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <atomic>
#include <ctime>
#include <cstdlib>
#include <fstream>
#include <new>

namespace {
std::atomic<long long> allocations{0};
} // namespace

// Counts every allocation of the program made through operator new.
void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
// GCC cannot see that this new and these deletes are a pair.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// Thread CPU time: the machine is shared, wall time is not ours alone.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

constexpr const char* benchCar = "[info]\nwheelTypesCount=1\nwheelMountsCount=4\ngearsCount=3\n"
                                 "[body]\nimageRect=0,0,30,60\nmass=150\nmaxSpeed=30\nlateralSlip=0.1\n"
                                 "[wheelType0]\nimageRect=32,0,6,12\n"
                                 "[wheelMount0]\npos=-12,-18\ndrive=false\n"
                                 "[wheelMount1]\npos=12,-18\ndrive=false\n"
                                 "[wheelMount2]\npos=-12,18\nmaxSteerAngle=0\n"
                                 "[wheelMount3]\npos=12,18\nmaxSteerAngle=0\n"
                                 "[gear0]\nratio=2\n[gear1]\nratio=1.4\n[gear2]\nratio=1\n";

// The map and a vehicle driving circles in its middle, settled for a while.
struct Scene {
    Vehicle vehicle;
    Scene()
    {
        orv::Log::disable();
        orv::ProgramClock::setManual(0.0);
        objectDefs.clear();
        resetPhysicsWorld();
        loadMap(writeGeneratedMap("bench_data/vehicle_map.map", 200, 0, 4000, 11));
        std::ofstream("bench_data/BenchCar.ini") << benchCar;
        vehicleDefs.clear();
        loadVehicleDef("bench_data/BenchCar.ini", vehicleDefs);
        vehicle.spawn(*physicsWorld, 0, true, sf::Vector2f(2000.0f, 2000.0f));
        for (int i = 0; i < 600; ++i)
            step();
    }
    ~Scene()
    {
        vehicle.forgetBodies();
        resetPhysicsWorld();
        orv::ProgramClock::setReal();
    }
    void step()
    {
        vehicle.dynamics.throttle = 1.0f;
        vehicle.dynamics.steerInput = 1.0f;
        orv::ProgramClock::advance(physicsStep);
        vehicle.fixedStep();
    }
};

double worldStepSeconds(int steps)
{
    const double start = cpuSeconds();
    for (int i = 0; i < steps; ++i)
        physicsWorld->Step(physicsStep, 6, 2);
    return (cpuSeconds() - start) / steps;
}

void BM_VehicleFixedStep(benchmark::State& state)
{
    Scene scene;
    long long steps = 0;
    const long long allocationsBefore = allocations.load();
    const double start = cpuSeconds();
    for (auto _ : state) {
        scene.step();
        ++steps;
    }
    const double perStep = (cpuSeconds() - start) / static_cast<double>(steps);
    const long long allocated = allocations.load() - allocationsBefore;
    const double worldOnly = worldStepSeconds(2000);

    state.counters["us_per_step"] = perStep * 1e6;
    state.counters["budget_ratio"] = perStep / 50e-6;
    state.counters["allocs_per_step"] = static_cast<double>(allocated) / static_cast<double>(steps);
    state.counters["vehicle_overhead"] = perStep / worldOnly;
}
BENCHMARK(BM_VehicleFixedStep)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// The same step with the telemetry watching: its ring must not allocate, and
// telemetry_overhead is the step with it against the step without, both
// measured here.
void BM_VehicleStepWithTelemetry(benchmark::State& state)
{
    Scene scene;
    for (int i = 0; i < 2000; ++i)
        scene.step();
    const double start = cpuSeconds();
    for (int i = 0; i < 2000; ++i)
        scene.step();
    const double plain = (cpuSeconds() - start) / 2000.0;

    DriveMonitor monitor;
    scene.vehicle.setStepObserver(&monitor);
    for (int i = 0; i < 2 * telemetryRingSamples; ++i)
        scene.step(); // the ring wraps before counting starts
    long long steps = 0;
    const long long allocationsBefore = allocations.load();
    const double timed = cpuSeconds();
    for (auto _ : state) {
        scene.step();
        ++steps;
    }
    const double perStep = (cpuSeconds() - timed) / static_cast<double>(steps);
    state.counters["allocs_per_step"] =
        static_cast<double>(allocations.load() - allocationsBefore) / static_cast<double>(steps);
    state.counters["telemetry_overhead"] = perStep / plain;
    scene.vehicle.setStepObserver(nullptr);
}
BENCHMARK(BM_VehicleStepWithTelemetry)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Every driving test of the bench car: the budget is one second of CPU,
// budget_ratio below 1 meets it.
void BM_DrivingTests(benchmark::State& state)
{
    Scene scene;
    const VehicleDef def = vehicleDefs.front();
    double used = 0.0;
    long long runs = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        benchmark::DoNotOptimize(runDrivingTests(def));
        used += cpuSeconds() - start;
        ++runs;
    }
    state.counters["cpu_s_per_vehicle"] = used / static_cast<double>(runs);
    state.counters["budget_ratio"] = used / static_cast<double>(runs) / 1.0;
}
BENCHMARK(BM_DrivingTests)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
