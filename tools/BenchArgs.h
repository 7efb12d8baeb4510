#pragma once
// tarnwick-bench's command line as a record: what to run and on what. Parsing
// checks the form of every value (numbers finite, steps and shards sane);
// checkBenchOptions checks the field names and ranges once the vehicle is
// read, since those depend on it (a car with three gears has no "gear5").

#include "Sweep.h"
#include "VehicleFit.h"

#include <string>
#include <vector>

/// One --set: a field's file name and its new value.
struct FieldSetting {
    std::string field;
    double value = 0.0;
};

struct BenchOptions {
    bool help = false;
    bool cpu = false;
    bool lint = false;
    bool table = false;
    std::vector<FieldSetting> settings;
    std::vector<SweepAxis> sweep;
    std::vector<FitTarget> targets;
    std::vector<FitVariable> vary;
    std::string out;  ///< --out: where the fitted vehicle is saved
    std::string plot; ///< --plot: the SVG to draw
    int threads = 0;  ///< -j; 0: every core
    SweepShard shard;
    bool merge = false;
    std::vector<std::string> files;
};

/// Most threads -j accepts.
constexpr int maxBenchThreads = 1024;

/// The usage text.
std::string benchUsage();
/// Reads the arguments (without the program's name); false with one line
/// naming the argument and the problem.
bool parseBenchArgs(const std::vector<std::string>& args, BenchOptions& options, std::string& error);
/// Checks --set, --sweep, --fit and --vary against the vehicle read, and
/// applies the --set values to it; false with one line naming the argument.
bool applyBenchOptions(const BenchOptions& options, VehicleDef& def, std::string& error);
/// -j resolved: the value given, or every core.
int benchThreads(const BenchOptions& options);
/// A number as typed: the whole text, finite; false otherwise.
bool parseBenchNumber(const std::string& text, double& value);
