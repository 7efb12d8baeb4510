// tarnwick-bench: the driving tests of the tuning editor from the command
// line. One CSV row per vehicle file given, or for every ".ini" of
// "Data/Cars/" when none is; "--cpu" adds each vehicle's CPU time on stderr;
// "--table" prints a Markdown table instead, the one the README shows.
// "--lint" prints the lint findings instead, one line each, and "no
// findings" for a clean vehicle: findings are advice, so they do not fail.
// Bad data in a file is logged to "tarnwick-bench.log" as the program does;
// the sound bank's names are read first (nothing is decoded or played), so
// only sound names the program would not find either are logged.

#include "audio/Audio.h"
#include "framework/DirectoryListing.h"
#include "framework/Log.h"
#include "vehicle/DrivingTests.h"
#include "vehicle/VehicleLint.h"
#include "vehicle/VehicleDef.h"

#include <ctime>
#include <iostream>
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

} // namespace

int main(int argc, char** argv)
{
    orv::Log::open("tarnwick-bench.log");
    bool showCpu = false;
    bool lint = false;
    bool table = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--cpu")
            showCpu = true;
        else if (arg == "--lint")
            lint = true;
        else if (arg == "--table")
            table = true;
        else if (arg == "--help" || arg == "-h") {
            std::cout << "usage: tarnwick-bench [--cpu] [--lint | --table] [vehicle.ini ...]\n"
                         "Without files, every \".ini\" of \"" << vehicleFolder << "\".\n";
            return 0;
        } else
            files.push_back(arg);
    }
    orv::Audio::nameSounds("Data/Sounds");
    if (files.empty()) {
        files = defaultFiles();
        if (files.empty()) {
            std::cerr << "tarnwick-bench: no vehicle files in \"" << vehicleFolder << "\"\n";
            return 1;
        }
    }

    int status = 0;
    if (table)
        std::cout << drivingTestsTableHeader() << "\n";
    else if (!lint)
        std::cout << drivingTestsCsvHeader() << "\n";
    for (const std::string& path : files) {
        std::vector<VehicleDef> defs;
        if (!loadVehicleDef(path, defs)) {
            std::cerr << "tarnwick-bench: cannot read \"" << path << "\"\n";
            status = 1;
            continue;
        }
        const double start = cpuSeconds();
        if (lint) {
            for (const std::string& line : lintReport(defs.back().name, lintVehicle(defs.back())))
                std::cout << line << "\n";
            std::cout << std::flush;
        } else {
            const DrivingTestResults results = runDrivingTests(defs.back());
            std::cout << (table ? drivingTestsTableRow(defs.back().name, results)
                                : drivingTestsCsvRow(defs.back().name, results))
                      << "\n"
                      << std::flush;
        }
        const double used = cpuSeconds() - start;
        if (showCpu)
            std::cerr << defs.back().name << ": " << used << " s CPU\n";
    }
    return status;
}
