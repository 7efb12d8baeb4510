#include "Sweep.h"

#include "framework/StringUtil.h"
#include "vehicle/DrivingTests.h"
#include "vehicle/VehicleFields.h"
#include "vehicle/VehicleLint.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

// The point's step along each axis: the first axis changes slowest.
std::vector<int> stepsOf(const std::vector<SweepAxis>& axes, long point)
{
    std::vector<int> steps(axes.size(), 0);
    for (std::size_t a = axes.size(); a-- > 0;) {
        steps[a] = static_cast<int>(point % axes[a].steps);
        point /= axes[a].steps;
    }
    return steps;
}

// Box2D fills its table of contact functions the first time two fixtures
// touch, with no guard: that happens here, on one thread, before any worker
// builds a world of its own.
void fillBox2dContactTable()
{
    b2World world(b2Vec2(0.0f, 0.0f));
    b2CircleShape circle;
    circle.m_radius = 1.0f;
    for (int i = 0; i < 2; ++i) {
        b2BodyDef bodyDef;
        bodyDef.type = b2_dynamicBody;
        world.CreateBody(&bodyDef)->CreateFixture(&circle, 1.0f);
    }
    world.Step(1.0f / 60.0f, 1, 1);
}

bool readWholeFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return static_cast<bool>(in) || in.eof();
}

} // namespace

double sweepAxisValue(const SweepAxis& axis, int step)
{
    if (axis.steps <= 1 || step <= 0)
        return axis.from;
    if (step >= axis.steps - 1)
        return axis.to;
    return axis.from + (axis.to - axis.from) * static_cast<double>(step) / static_cast<double>(axis.steps - 1);
}

long sweepPointCount(const std::vector<SweepAxis>& axes)
{
    long count = 1;
    for (const SweepAxis& axis : axes) {
        if (axis.steps < 1 || count > maxSweepPoints)
            return 0;
        count *= axis.steps;
    }
    return count;
}

bool checkSweep(const VehicleDef& def, const std::vector<SweepAxis>& axes, std::string& error)
{
    if (axes.empty() || axes.size() > static_cast<std::size_t>(maxSweepAxes)) {
        error = "a sweep has one or two --sweep axes";
        return false;
    }
    for (std::size_t a = 0; a < axes.size(); ++a) {
        const SweepAxis& axis = axes[a];
        const std::string what = "--sweep " + axis.field;
        for (std::size_t b = 0; b < a; ++b)
            if (orv::equalsIgnoreCase(axes[b].field, axis.field)) {
                error = what + ": swept twice";
                return false;
            }
        if (axis.steps < 1 || axis.steps > maxSweepPoints) {
            error = what + ": STEPS must be 1 to " + std::to_string(maxSweepPoints);
            return false;
        }
        if (axis.steps == 1 && axis.from != axis.to) {
            error = what + ": one step cannot go from FROM to a different TO (use --set for one value)";
            return false;
        }
        VehicleDef probe = def;
        for (int step = 0; step < axis.steps; ++step) {
            std::string reason;
            if (!setVehicleField(probe, axis.field, sweepAxisValue(axis, step), reason)) {
                // FROM and TO are the user's own; a step between them that
                // fails (a fraction for a whole field) needs other STEPS.
                const bool between = step > 0 && step + 1 < axis.steps;
                error = what + ": " + reason;
                if (between)
                    error += " (step " + std::to_string(step + 1) + " of " + std::to_string(axis.steps) +
                             "; choose STEPS so that every step is valid)";
                return false;
            }
        }
    }
    const long count = sweepPointCount(axes);
    if (count < 1 || count > maxSweepPoints) {
        error = "--sweep: more than " + std::to_string(maxSweepPoints) + " points in all";
        return false;
    }
    return true;
}

bool inSweepShard(long point, const SweepShard& shard)
{
    return shard.n <= 1 || point % shard.n == shard.k - 1;
}

std::string sweepCsvHeader(const std::vector<SweepAxis>& axes, bool lint)
{
    std::string header = "point";
    for (const SweepAxis& axis : axes)
        header += "," + axis.field;
    const std::string figures = drivingTestsCsvHeader();
    header += figures.substr(figures.find(','));
    if (lint)
        header += ",lint";
    return header;
}

std::string formatSweepValue(double value)
{
    const float wanted = static_cast<float>(value);
    std::string text;
    for (int digits = 6; digits <= 9; ++digits) {
        text = orv::format("%.*g", digits, static_cast<double>(wanted));
        if (std::strtof(text.c_str(), nullptr) == wanted)
            break;
    }
    return text;
}

std::string sweepCsvRow(const VehicleDef& base, const std::vector<SweepAxis>& axes, long point, bool lint)
{
    VehicleDef def = base;
    std::string row = std::to_string(point);
    const std::vector<int> steps = stepsOf(axes, point);
    for (std::size_t a = 0; a < axes.size(); ++a) {
        std::string error;
        double value = sweepAxisValue(axes[a], steps[a]);
        setVehicleField(def, axes[a].field, value, error); // checked by checkSweep
        getVehicleField(def, axes[a].field, value);
        row += "," + formatSweepValue(value);
    }
    // The figures' row without the vehicle's name: it starts at the comma.
    row += drivingTestsCsvRow("", runDrivingTests(def));
    if (lint) {
        std::string codes;
        for (const LintFinding& finding : lintVehicle(def))
            codes += (codes.empty() ? "" : "; ") + finding.code;
        row += "," + codes;
    }
    return row;
}

void runInOrder(long count, int threads, const std::function<std::string(long)>& work,
                const std::function<void(const std::string&)>& emit)
{
    threads = static_cast<int>(std::clamp<long>(threads, 1, std::max(1L, count)));
    if (threads == 1) {
        for (long i = 0; i < count; ++i)
            emit(work(i));
        return;
    }
    fillBox2dContactTable();
    std::vector<std::string> results(static_cast<std::size_t>(count));
    std::vector<char> done(static_cast<std::size_t>(count), 0);
    std::atomic<long> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (long i = next++; i < count; i = next++) {
                std::string row = work(i);
                const std::lock_guard<std::mutex> lock(mutex);
                results[static_cast<std::size_t>(i)] = std::move(row);
                done[static_cast<std::size_t>(i)] = 1;
                finished.notify_one();
            }
        });
    for (long i = 0; i < count; ++i) {
        std::string row;
        {
            std::unique_lock<std::mutex> lock(mutex);
            finished.wait(lock, [&] { return done[static_cast<std::size_t>(i)] != 0; });
            row = std::move(results[static_cast<std::size_t>(i)]);
        }
        emit(row);
    }
    for (std::thread& worker : workers)
        worker.join();
}

void runSweep(const VehicleDef& base, const std::vector<SweepAxis>& axes, bool lint, const SweepShard& shard,
              int threads, const std::function<void(const std::string&)>& emit)
{
    std::vector<long> points;
    const long count = sweepPointCount(axes);
    for (long point = 0; point < count; ++point)
        if (inSweepShard(point, shard))
            points.push_back(point);
    emit(sweepCsvHeader(axes, lint));
    runInOrder(
        static_cast<long>(points.size()), threads,
        [&](long i) { return sweepCsvRow(base, axes, points[static_cast<std::size_t>(i)], lint); }, emit);
}

bool mergeSweepCsv(const std::vector<std::string>& paths, std::string& merged, std::string& error)
{
    if (paths.empty()) {
        error = "--merge: no files given";
        return false;
    }
    std::string header;
    std::map<long, std::string> rows;
    for (const std::string& path : paths) {
        std::string text;
        if (!readWholeFile(path, text)) {
            error = "--merge: cannot read \"" + path + "\"";
            return false;
        }
        std::istringstream lines(text);
        std::string line;
        if (!std::getline(lines, line) || line.rfind("point,", 0) != 0) {
            error = "--merge: \"" + path + "\" is not a sweep's CSV (no \"point,...\" header)";
            return false;
        }
        if (header.empty())
            header = line;
        else if (line != header) {
            error = "--merge: \"" + path + "\" has another header than \"" + paths.front() +
                    "\" (a shard of a different sweep?)";
            return false;
        }
        int number = 1;
        while (std::getline(lines, line)) {
            ++number;
            const std::size_t comma = line.find(',');
            const std::string index = line.substr(0, comma);
            char* end = nullptr;
            const long point = index.empty() || index.size() > 9 ? -1 : std::strtol(index.c_str(), &end, 10);
            if (comma == std::string::npos || point < 0 || *end != '\0' || index[0] == '-' || index[0] == '+') {
                error = "--merge: \"" + path + "\" line " + std::to_string(number) + " does not start with a point index";
                return false;
            }
            if (!rows.emplace(point, line).second) {
                error = "--merge: point " + index + " is in \"" + path + "\" and in an earlier file";
                return false;
            }
        }
    }
    long expected = 0;
    merged = header + "\n";
    for (const auto& [point, line] : rows) {
        if (point != expected) {
            error = "--merge: point " + std::to_string(expected) + " is in none of the files (a shard missing?)";
            return false;
        }
        merged += line + "\n";
        ++expected;
    }
    return true;
}
