// Benchmarks of the program's hot and heavy paths. Run with `make bench`.
//
// Each goal is checked by a counter computed in the same run (a ratio against
// a reference, or a time against a budget), so machine speed cancels out.

#include "framework/Core.h"
#include "framework/CoreConfig.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Sounds play on OpenAL Soft's null output unless told otherwise.
    setenv("ALSOFT_DRIVERS", "null", 0);
    // A window for the benchmarks that draw (the minimap); only when a
    // display is there, so the pure ones still run without one.
    if (std::getenv("DISPLAY")) {
        orv::coreConfig.antialiasingLevel = 0;
        orv::setDisplayMode(1280, 720, 32, true);
    }
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
