#pragma once
// Fitting a vehicle to figures: the values of the chosen fields that bring
// the named driving-test figures closest to their targets, by least squares
// on residuals scaled by each target (so seconds and km/h weigh alike),
// found by NLopt's Subplex within each field's bounds.

#include "vehicle/DrivingTests.h"
#include "vehicle/VehicleDef.h"

#include <string>
#include <vector>

/// A figure (its CSV column name) and the value wanted for it.
struct FitTarget {
    std::string figure;
    double target = 0.0;
};

/// A field the fit may change, within lo..hi; without `bounded`, within the
/// range the loader accepts for the field.
struct FitVariable {
    std::string field;
    bool bounded = false;
    double lo = 0.0;
    double hi = 0.0;
};

/// Most driving-test runs a fit may take (each one about 15-45 ms of CPU).
constexpr int fitMaxEvaluations = 400;
/// A fit stops early once every figure is within this share of its target.
constexpr double fitGoodEnough = 0.002;

struct FitResult {
    VehicleDef def;                   ///< the vehicle with the fitted values
    std::vector<double> values;       ///< one per variable, as the vehicle holds it
    std::vector<DrivingFigure> figures; ///< one per target, as reached
    double cost = 0.0;                ///< sum of squared scaled residuals
    int evaluations = 0;
    std::string stop; ///< why the search ended, in words
};

/// Checks targets and variables against the vehicle: known figures, non-zero
/// finite targets, known number fields, bounds inside the field's range with
/// lo below hi; false with one line naming the argument and the reason.
bool checkFit(const VehicleDef& def, const std::vector<FitTarget>& targets, const std::vector<FitVariable>& variables,
              std::string& error);
/// Fits `start` (checked by checkFit); starts from its own values, clamped
/// into the bounds, and stops once every figure is within `goodEnough` (a
/// share) of its target.
FitResult fitVehicle(const VehicleDef& start, const std::vector<FitTarget>& targets,
                     const std::vector<FitVariable>& variables, int maxEvaluations = fitMaxEvaluations,
                     double goodEnough = fitGoodEnough);
/// The fitted values and the figures reached against their targets, one line
/// each, for a person to read.
std::vector<std::string> fitReport(const FitResult& result, const std::vector<FitTarget>& targets,
                                   const std::vector<FitVariable>& variables);
