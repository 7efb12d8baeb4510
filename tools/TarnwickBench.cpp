// tarnwick-bench: the driving tests of the tuning editor from the command
// line. One CSV row per vehicle file given, or for every ".ini" of
// "Data/Cars/" when none is; "--cpu" adds each vehicle's CPU time on stderr;
// "--table" prints a Markdown table instead, the one the README shows.
// "--lint" prints the lint findings instead, one line each, and "no
// findings" for a clean vehicle: findings are advice, so they do not fail.
// "--set" changes fields first; "--sweep" runs the tests over a line or grid
// of values (on "-j" threads, or one "--shard" of them; "--merge" joins
// shards), "--fit" finds values that meet target figures, and "--plot" draws
// a sweep or a telemetry recording. The work is in the files beside this one
// (BenchArgs, Sweep, VehicleFit, SvgPlot).
// Bad data in a file is logged to "tarnwick-bench.log" as the program does;
// the sound bank's names are read first (nothing is decoded or played), so
// only sound names the program would not find either are logged.

#include "BenchArgs.h"
#include "CsvTable.h"
#include "SvgPlot.h"
#include "audio/Audio.h"
#include "framework/DirectoryListing.h"
#include "framework/Log.h"
#include "vehicle/DrivingTests.h"
#include "vehicle/VehicleDef.h"
#include "vehicle/VehicleLint.h"

#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::vector<std::string> defaultFiles()
{
    orv::DirectoryListing listing;
    listing.addExtension(".ini");
    listing.scan(vehicleFolder, orv::DirectoryListing::FilesOnly, false);
    std::vector<std::string> files;
    for (const orv::DirectoryEntry& entry : listing.entries())
        files.push_back(entry.path);
    return files;
}

int fail(const std::string& message, int status = 2)
{
    std::cerr << "tarnwick-bench: " << message << "\n";
    return status;
}

// Draws `csv` (the text of a sweep or a recording called `what`) into the SVG file.
int plot(const std::string& csv, const std::string& what, const std::string& svgPath)
{
    CsvTable table;
    std::string error, svg;
    if (!parseCsv(csv, table, error) || !plotCsv(table, svg, error))
        return fail("cannot plot \"" + what + "\": " + error, 1);
    std::ofstream out(svgPath, std::ios::binary | std::ios::trunc);
    out << svg;
    out.flush();
    if (!out)
        return fail("cannot write \"" + svgPath + "\"", 1);
    return 0;
}

std::string readText(const std::string& path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ok = static_cast<bool>(in);
    return text.str();
}

// The one vehicle file of a sweep or fit, with the options applied.
bool loadOne(const BenchOptions& options, VehicleDef& def, int& status)
{
    std::vector<VehicleDef> defs;
    if (!loadVehicleDef(options.files.front(), defs)) {
        status = fail("cannot read \"" + options.files.front() + "\"", 1);
        return false;
    }
    def = defs.back();
    std::string error;
    if (!applyBenchOptions(options, def, error)) {
        status = fail(error);
        return false;
    }
    return true;
}

int runFit(const BenchOptions& options)
{
    VehicleDef def;
    int status = 0;
    if (!loadOne(options, def, status))
        return status;
    const FitResult fit = fitVehicle(def, options.targets, options.vary);
    for (const std::string& line : fitReport(fit, options.targets, options.vary))
        std::cout << line << "\n";
    if (!options.out.empty() && !saveVehicleDef(options.out, fit.def))
        return fail("cannot write \"" + options.out + "\"", 1);
    return 0;
}

int runSweepCommand(const BenchOptions& options)
{
    VehicleDef def;
    int status = 0;
    if (!loadOne(options, def, status))
        return status;
    std::string csv;
    runSweep(def, options.sweep, options.lint, options.shard, benchThreads(options), [&](const std::string& line) {
        std::cout << line << "\n" << std::flush;
        if (!options.plot.empty())
            csv += line + "\n";
    });
    return options.plot.empty() ? 0 : plot(csv, "the sweep", options.plot);
}

int runMerge(const BenchOptions& options)
{
    std::string merged, error;
    if (!mergeSweepCsv(options.files, merged, error))
        return fail(error, 1);
    std::cout << merged << std::flush;
    return options.plot.empty() ? 0 : plot(merged, "the merged sweep", options.plot);
}

int runPlot(const BenchOptions& options)
{
    if (options.files.size() != 1)
        return fail("--plot draws one CSV (a sweep or a telemetry recording), or goes with --sweep or --merge");
    bool ok = false;
    const std::string text = readText(options.files.front(), ok);
    if (!ok)
        return fail("cannot read \"" + options.files.front() + "\"", 1);
    return plot(text, options.files.front(), options.plot);
}

// The fleet: a row (or lint lines) per file.
int runFleet(BenchOptions options)
{
    if (options.files.empty()) {
        options.files = defaultFiles();
        if (options.files.empty())
            return fail(std::string("no vehicle files in \"") + vehicleFolder + "\"", 1);
    }
    int status = 0;
    // The header waits for the first vehicle that passed --set, so a bad
    // value leaves nothing on stdout.
    bool headed = false;
    for (const std::string& path : options.files) {
        std::vector<VehicleDef> defs;
        if (!loadVehicleDef(path, defs)) {
            status = fail("cannot read \"" + path + "\"", 1);
            continue;
        }
        VehicleDef& def = defs.back();
        std::string error;
        if (!applyBenchOptions(options, def, error))
            return fail(path + ": " + error);
        if (!headed && (options.table || !options.lint))
            std::cout << (options.table ? drivingTestsTableHeader() : drivingTestsCsvHeader()) << "\n";
        headed = true;
        const double start = cpuSeconds();
        if (options.lint) {
            for (const std::string& line : lintReport(def.name, lintVehicle(def)))
                std::cout << line << "\n";
            std::cout << std::flush;
        } else {
            const DrivingTestResults results = runDrivingTests(def);
            std::cout << (options.table ? drivingTestsTableRow(def.name, results)
                                        : drivingTestsCsvRow(def.name, results))
                      << "\n"
                      << std::flush;
        }
        const double used = cpuSeconds() - start;
        if (options.cpu)
            std::cerr << def.name << ": " << used << " s CPU\n";
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    BenchOptions options;
    std::string error;
    if (!parseBenchArgs(std::vector<std::string>(argv + 1, argv + argc), options, error))
        return fail(error);
    if (options.help) {
        std::cout << benchUsage();
        return 0;
    }
    if (options.merge)
        return runMerge(options);
    if (!options.plot.empty() && options.sweep.empty())
        return runPlot(options);
    orv::Log::open("tarnwick-bench.log");
    orv::Audio::nameSounds("Data/Sounds");
    if (!options.targets.empty())
        return runFit(options);
    if (!options.sweep.empty())
        return runSweepCommand(options);
    return runFleet(options);
}
