#include "BenchArgs.h"

#include "BenchFigures.h"
#include "vehicle/VehicleFields.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
    parts.push_back(text.substr(from));
    return parts;
}

// A whole number of digits alone, 1 to `most`.
bool parseCount(const std::string& text, long most, long& value)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value >= 1 && value <= most;
}

// "NAME=VALUE" split at the first "="; false when either side is empty.
bool splitAssignment(const std::string& text, std::string& name, std::string& value)
{
    const std::size_t at = text.find('=');
    if (at == std::string::npos || at == 0 || at + 1 >= text.size())
        return false;
    name = text.substr(0, at);
    value = text.substr(at + 1);
    return true;
}

bool parseSweep(const std::string& text, SweepAxis& axis, std::string& error)
{
    std::string range;
    const std::vector<std::string> parts = splitAssignment(text, axis.field, range) ? split(range, ':')
                                                                                    : std::vector<std::string>();
    if (parts.size() != 3) {
        error = "--sweep " + text + ": expected SECTION.KEY=FROM:TO:STEPS, e.g. body.power=40000:60000:5";
        return false;
    }
    long steps = 0;
    if (!parseBenchNumber(parts[0], axis.from) || !parseBenchNumber(parts[1], axis.to)) {
        error = "--sweep " + text + ": FROM and TO must be finite numbers";
        return false;
    }
    if (!parseCount(parts[2], maxSweepPoints, steps)) {
        error = "--sweep " + text + ": STEPS must be a whole number from 1 to " + std::to_string(maxSweepPoints);
        return false;
    }
    axis.steps = static_cast<int>(steps);
    return true;
}

bool parseTargets(const std::string& text, std::vector<FitTarget>& targets, std::string& error)
{
    for (const std::string& item : split(text, ',')) {
        FitTarget target;
        std::string value;
        if (!splitAssignment(item, target.figure, value) || !parseBenchNumber(value, target.target)) {
            error = "--fit " + text + ": expected TEST=TARGET,... with finite numbers, e.g. acceleration_s=6.5";
            return false;
        }
        targets.push_back(target);
    }
    return true;
}

bool parseVary(const std::string& text, std::vector<FitVariable>& vary, std::string& error)
{
    for (const std::string& item : split(text, ',')) {
        FitVariable variable;
        std::string range;
        if (item.find('=') == std::string::npos) {
            variable.field = item;
        } else {
            const std::vector<std::string> parts = splitAssignment(item, variable.field, range)
                                                       ? split(range, ':')
                                                       : std::vector<std::string>();
            if (parts.size() != 2 || !parseBenchNumber(parts[0], variable.lo) ||
                !parseBenchNumber(parts[1], variable.hi)) {
                error = "--vary " + text + ": expected SECTION.KEY[=LO:HI],... with finite numbers";
                return false;
            }
            variable.bounded = true;
        }
        if (variable.field.empty()) {
            error = "--vary " + text + ": a field name is empty";
            return false;
        }
        vary.push_back(variable);
    }
    return true;
}

bool parseShard(const std::string& text, SweepShard& shard)
{
    const std::vector<std::string> parts = split(text, '/');
    long k = 0, n = 0;
    if (parts.size() != 2 || !parseCount(parts[0], maxSweepPoints, k) || !parseCount(parts[1], maxSweepPoints, n) ||
        k > n)
        return false;
    shard = {static_cast<int>(k), static_cast<int>(n)};
    return true;
}

// Combinations that cannot mean anything, named.
bool checkCombination(const BenchOptions& o, std::string& error)
{
    const bool sweep = !o.sweep.empty(), fit = !o.targets.empty() || !o.vary.empty();
    const char* conflict = nullptr;
    if (o.sweep.size() > static_cast<std::size_t>(maxSweepAxes))
        conflict = "a sweep has one or two --sweep axes (a line or a grid)";
    else if (sweep && fit)
        conflict = "--sweep and --fit are separate runs";
    else if (fit && (o.targets.empty() || o.vary.empty()))
        conflict = "--fit needs --vary and --vary needs --fit";
    else if (o.merge && (sweep || fit || !o.settings.empty()))
        conflict = "--merge joins finished sweeps: no --sweep, --fit or --set with it";
    else if (o.merge && o.files.empty())
        conflict = "--merge needs the shard files";
    else if (o.shard.n > 1 && !sweep)
        conflict = "--shard slices a --sweep";
    else if (!o.out.empty() && !fit)
        conflict = "--out saves a fitted vehicle: it goes with --fit";
    else if ((sweep || fit) && o.files.size() != 1)
        conflict = "--sweep and --fit take exactly one vehicle file";
    else if ((sweep || fit) && o.table)
        conflict = "--table is for whole fleets, not with --sweep or --fit";
    else if (fit && (o.lint || !o.plot.empty()))
        conflict = "--fit prints its result: no --lint or --plot with it";
    if (conflict)
        error = conflict;
    return conflict == nullptr;
}

} // namespace

bool parseBenchNumber(const std::string& text, double& value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && errno == 0 && std::isfinite(value);
}

std::string benchUsage()
{
    return std::string("usage: tarnwick-bench [--cpu] [--lint | --table] [--set SECTION.KEY=VALUE ...] [vehicle.ini ...]\n"
           "       tarnwick-bench --sweep SECTION.KEY=FROM:TO:STEPS [--sweep ...] [--lint] [--plot FILE.svg]\n"
           "                      [-j N] [--shard K/N] [--set ...] vehicle.ini\n"
           "       tarnwick-bench --fit \"TEST=TARGET,...\" --vary SECTION.KEY[=LO:HI],... [--out FILE.ini]\n"
           "                      [--set ...] vehicle.ini\n"
           "       tarnwick-bench --merge [--plot FILE.svg] SHARD.csv ...\n"
           "       tarnwick-bench --plot FILE.svg SWEEP_OR_TELEMETRY.csv\n"
           "Without files, every \".ini\" of \"Data/Cars/\". Fields by their file names (body.power, gear0.ratio,\n"
           "wheelMount2.maxSteerAngle); STEPS values from FROM to TO, both included; -j: threads (every core);\n"
           "--shard K/N: the points whose index leaves K-1 divided by N.\nTEST: ") +
           benchFigureNames() + ".\n";
}

bool parseBenchArgs(const std::vector<std::string>& args, BenchOptions& o, std::string& error)
{
    o = BenchOptions();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // Options that take the next argument as their value.
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h")
            o.help = true;
        else if (arg == "--cpu")
            o.cpu = true;
        else if (arg == "--lint")
            o.lint = true;
        else if (arg == "--table")
            o.table = true;
        else if (arg == "--merge")
            o.merge = true;
        else if (arg == "--set") {
            FieldSetting setting;
            std::string number;
            if (!value(v))
                return false;
            if (!splitAssignment(v, setting.field, number) || !parseBenchNumber(number, setting.value)) {
                error = "--set " + v + ": expected SECTION.KEY=VALUE with a finite number, e.g. body.power=52000";
                return false;
            }
            o.settings.push_back(setting);
        } else if (arg == "--sweep") {
            SweepAxis axis;
            if (!value(v) || !parseSweep(v, axis, error))
                return false;
            o.sweep.push_back(axis);
        } else if (arg == "--fit") {
            if (!value(v) || !parseTargets(v, o.targets, error))
                return false;
        } else if (arg == "--vary") {
            if (!value(v) || !parseVary(v, o.vary, error))
                return false;
        } else if (arg == "--out") {
            if (!value(o.out))
                return false;
        } else if (arg == "--plot") {
            if (!value(o.plot))
                return false;
        } else if (arg == "--shard") {
            if (!value(v))
                return false;
            if (!parseShard(v, o.shard)) {
                error = "--shard " + v + ": expected K/N with whole numbers, 1 <= K <= N";
                return false;
            }
        } else if (arg.rfind("-j", 0) == 0) {
            v = arg.substr(2);
            if (v.empty() && !value(v))
                return false;
            long threads = 0;
            if (!parseCount(v, maxBenchThreads, threads)) {
                error = "-j " + v + ": expected a whole number of threads from 1 to " + std::to_string(maxBenchThreads);
                return false;
            }
            o.threads = static_cast<int>(threads);
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = arg + ": unknown option (see --help)";
            return false;
        } else
            o.files.push_back(arg);
    }
    return o.help || checkCombination(o, error);
}

bool applyBenchOptions(const BenchOptions& o, VehicleDef& def, std::string& error)
{
    for (const FieldSetting& setting : o.settings) {
        std::string reason;
        if (!setVehicleField(def, setting.field, setting.value, reason)) {
            error = "--set " + setting.field + ": " + reason;
            return false;
        }
    }
    if (!o.sweep.empty() && !checkSweep(def, o.sweep, error))
        return false;
    if (!o.targets.empty() && !checkFit(def, o.targets, o.vary, error))
        return false;
    return true;
}

int benchThreads(const BenchOptions& o)
{
    if (o.threads > 0)
        return o.threads;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, maxBenchThreads));
}
