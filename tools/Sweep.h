#pragma once
// Sweeps: the driving tests of one vehicle at every point of a line or a
// grid of field values, one CSV row per point in point order, on as many
// threads as asked; deterministic slices (shards) of a sweep for other
// processes or hosts, and the merge of their outputs back into the CSV one
// process would have written.
//
// Rows start with the point's index, so shards merge by it alone; the swept
// values follow (as the vehicle holds them, in the shortest text that reads
// back to the same number), then the driving-test figures of
// drivingTestsCsvHeader without the vehicle's name.

#include "vehicle/VehicleDef.h"

#include <functional>
#include <string>
#include <vector>

/// One swept field: `steps` evenly spaced values from `from` to `to`, both
/// included (one step: `from` alone).
struct SweepAxis {
    std::string field; ///< a number field's file name, "body.power"
    double from = 0.0;
    double to = 0.0;
    int steps = 1;
};

/// The K-th of N slices (K from 1): the points whose index leaves K-1 when
/// divided by N, so each shard gets cheap and costly points alike.
struct SweepShard {
    int k = 1;
    int n = 1;
};

/// Most points a sweep may have, all axes together.
constexpr long maxSweepPoints = 100000;
/// Most axes of a sweep (a line or a grid).
constexpr int maxSweepAxes = 2;

/// The value of `axis` at its step `step`.
double sweepAxisValue(const SweepAxis& axis, int step);
/// Points of the whole sweep (the product of the axes' steps).
long sweepPointCount(const std::vector<SweepAxis>& axes);
/// Checks the axes against the vehicle: known number fields, every value in
/// the field's range (and whole for whole fields), at most maxSweepPoints;
/// false with one line naming the axis and the reason.
bool checkSweep(const VehicleDef& def, const std::vector<SweepAxis>& axes, std::string& error);
/// True when `point` belongs to `shard`.
bool inSweepShard(long point, const SweepShard& shard);

/// The header: "point", the swept fields, the figures, and "lint" with `lint`.
std::string sweepCsvHeader(const std::vector<SweepAxis>& axes, bool lint);
/// The row of point `point` (checked axes): the vehicle with the point's
/// values, its driving tests and, with `lint`, its lint codes.
std::string sweepCsvRow(const VehicleDef& base, const std::vector<SweepAxis>& axes, long point, bool lint);
/// A swept value as the CSV shows it: the shortest text that reads back to
/// the same float.
std::string formatSweepValue(double value);

/// Calls `work` for each of `count` items on `threads` threads and hands the
/// results to `emit` in item order on the calling thread, as soon as each
/// one and all before it are done.
void runInOrder(long count, int threads, const std::function<std::string(long)>& work,
                const std::function<void(const std::string&)>& emit);
/// Hands the header and then the rows of the shard's points to `emit` (no
/// line ends), in point order, computed on `threads` threads.
void runSweep(const VehicleDef& base, const std::vector<SweepAxis>& axes, bool lint, const SweepShard& shard,
              int threads, const std::function<void(const std::string&)>& emit);

/// Joins shard outputs into the CSV of the whole sweep: one header (every
/// file's must be the same), rows by point index, none twice, none missing;
/// false with one line naming the file and the problem.
bool mergeSweepCsv(const std::vector<std::string>& paths, std::string& merged, std::string& error);
