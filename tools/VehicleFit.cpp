#include "VehicleFit.h"

#include "BenchFigures.h"
#include "Sweep.h"
#include "framework/StringUtil.h"
#include "vehicle/VehicleFields.h"

#include <nlopt.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A figure that was never reached counts as missing its target by all of
// it: worse than any figure that was, so the search leaves such values.
constexpr double missedFigureCost = 1.0;

struct Bounds {
    double lo;
    double hi;
    bool whole;
};

bool boundsOf(const VehicleDef& def, const FitVariable& variable, Bounds& bounds, std::string& error)
{
    std::size_t index = 0;
    std::string reason;
    const VehicleField* field = findNumberField(def, variable.field, index, reason);
    if (!field) {
        error = "--vary " + variable.field + ": " + reason;
        return false;
    }
    const double lo = field->range.lo, hi = field->range.hi;
    bounds = {lo, hi, field->type == FieldType::Whole};
    if (!variable.bounded)
        return true;
    if (!(variable.lo < variable.hi) || variable.lo < lo || variable.hi > hi) {
        error = "--vary " + variable.field + "=" + orv::format("%g:%g", variable.lo, variable.hi) +
                ": LO:HI must rise and lie within " + orv::format("%g to %g", lo, hi);
        return false;
    }
    bounds.lo = variable.lo;
    bounds.hi = variable.hi;
    return true;
}

struct Problem {
    const VehicleDef* start;
    const std::vector<FitTarget>* targets;
    const std::vector<FitVariable>* variables;
    std::vector<Bounds> bounds;
    unsigned parts = 0;
    int evaluations = 0;
    double bestCost = HUGE_VAL;
    std::vector<double> best;
};

// The vehicle at `x`: whole fields round, every value stays in its bounds.
VehicleDef vehicleAt(const Problem& p, const std::vector<double>& x)
{
    VehicleDef def = *p.start;
    for (std::size_t i = 0; i < x.size(); ++i) {
        double value = std::clamp(x[i], p.bounds[i].lo, p.bounds[i].hi);
        if (p.bounds[i].whole)
            value = std::round(value);
        std::string error;
        setVehicleField(def, (*p.variables)[i].field, value, error);
    }
    return def;
}

std::vector<DrivingFigure> figuresOf(const Problem& p, const VehicleDef& def)
{
    const DrivingTestResults results = runDrivingTests(def, p.parts);
    std::vector<DrivingFigure> figures;
    for (const FitTarget& target : *p.targets)
        figures.push_back(findBenchFigure(target.figure)->of(results));
    return figures;
}

double costOf(const std::vector<FitTarget>& targets, const std::vector<DrivingFigure>& figures)
{
    double cost = 0.0;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!figures[i].reached || !std::isfinite(figures[i].value)) {
            cost += missedFigureCost;
            continue;
        }
        const double residual = (static_cast<double>(figures[i].value) - targets[i].target) / targets[i].target;
        cost += residual * residual;
    }
    return cost;
}

double objective(const std::vector<double>& x, std::vector<double>&, void* data)
{
    Problem& p = *static_cast<Problem*>(data);
    ++p.evaluations;
    const double cost = costOf(*p.targets, figuresOf(p, vehicleAt(p, x)));
    if (cost < p.bestCost) {
        p.bestCost = cost;
        p.best = x;
    }
    return cost;
}

std::string resultText(nlopt::result result, double goodEnough)
{
    switch (result) {
    case nlopt::STOPVAL_REACHED:
        return "every figure within " + orv::format("%g", 100.0 * goodEnough) + "% of its target";
    case nlopt::MAXEVAL_REACHED:
        return "the most driving-test runs allowed";
    case nlopt::XTOL_REACHED:
    case nlopt::FTOL_REACHED:
        return "no better values nearby";
    default:
        return "the search ended (NLopt result " + std::to_string(static_cast<int>(result)) + ")";
    }
}

} // namespace

bool checkFit(const VehicleDef& def, const std::vector<FitTarget>& targets, const std::vector<FitVariable>& variables,
              std::string& error)
{
    if (targets.empty() || variables.empty()) {
        error = "--fit needs targets (--fit \"TEST=TARGET,...\") and fields to vary (--vary SECTION.KEY,...)";
        return false;
    }
    for (const FitTarget& target : targets) {
        if (!findBenchFigure(target.figure)) {
            error = "--fit " + target.figure + ": not a figure (one of " + benchFigureNames() + ")";
            return false;
        }
        if (!std::isfinite(target.target) || target.target == 0.0) {
            error = "--fit " + target.figure + ": the target must be a number other than 0";
            return false;
        }
    }
    for (std::size_t i = 0; i < variables.size(); ++i) {
        Bounds bounds{};
        if (!boundsOf(def, variables[i], bounds, error))
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (orv::equalsIgnoreCase(variables[j].field, variables[i].field)) {
                error = "--vary " + variables[i].field + ": named twice";
                return false;
            }
    }
    return true;
}

FitResult fitVehicle(const VehicleDef& start, const std::vector<FitTarget>& targets,
                     const std::vector<FitVariable>& variables, int maxEvaluations, double goodEnough)
{
    Problem p{&start, &targets, &variables, {}, 0, 0, HUGE_VAL, {}};
    for (const FitTarget& target : targets)
        p.parts |= findBenchFigure(target.figure)->parts;
    const std::size_t n = variables.size();
    std::vector<double> x(n), lo(n), hi(n), step(n);
    for (std::size_t i = 0; i < n; ++i) {
        Bounds bounds{};
        std::string error;
        boundsOf(start, variables[i], bounds, error);
        p.bounds.push_back(bounds);
        lo[i] = bounds.lo;
        hi[i] = bounds.hi;
        double value = 0.0;
        getVehicleField(start, variables[i].field, value);
        x[i] = std::clamp(value, lo[i], hi[i]);
        // A fifth of the value (a twentieth of the range for 0): wide enough
        // that the first simplex spans many steps of the figures' 1/60 s
        // clock, not so wide that it leaves the region of sensible cars.
        const double span = hi[i] - lo[i];
        step[i] = std::min(x[i] != 0.0 ? 0.2 * std::fabs(x[i]) : 0.05 * span, 0.25 * span);
        if (bounds.whole)
            step[i] = std::max(step[i], 1.0);
    }

    FitResult fit;
    nlopt::result last = nlopt::FAILURE;
    // The figures move in steps and some stand still over whole ranges (a
    // top speed the damping caps does not follow maxSpeed above it), so a
    // simplex can settle on a plateau short of the targets; a fresh simplex
    // from the best point so far, pointing the other way and then smaller,
    // gets it moving again while runs remain.
    const double stopCost = goodEnough * goodEnough;
    for (int round = 0; round < 4 && p.evaluations < maxEvaluations && !(p.bestCost <= stopCost); ++round) {
        nlopt::opt opt(nlopt::LN_SBPLX, static_cast<unsigned>(n));
        opt.set_lower_bounds(lo);
        opt.set_upper_bounds(hi);
        opt.set_min_objective(objective, &p);
        opt.set_initial_step(step);
        opt.set_maxeval(maxEvaluations - p.evaluations);
        opt.set_stopval(stopCost);
        // A thousandth of a value is finer than the figures' steps resolve;
        // a simplex shrunk below it on a plateau is better restarted.
        opt.set_xtol_rel(1e-3);
        double cost = 0.0;
        try {
            last = opt.optimize(x, cost);
        } catch (const std::exception&) {
            last = nlopt::FAILURE; // roundoff or a bad step: the best point so far stands
        }
        if (!p.best.empty())
            x = p.best;
        for (double& s : step)
            s = round % 2 == 0 ? -s : -0.5 * s;
    }
    if (p.best.empty())
        p.best = x;
    fit.def = vehicleAt(p, p.best);
    for (const FitVariable& variable : variables) {
        double value = 0.0;
        getVehicleField(fit.def, variable.field, value);
        fit.values.push_back(value);
    }
    fit.figures = figuresOf(p, fit.def);
    fit.cost = costOf(targets, fit.figures);
    fit.evaluations = p.evaluations;
    fit.stop = p.bestCost <= stopCost ? resultText(nlopt::STOPVAL_REACHED, goodEnough)
                                                            : (p.evaluations >= maxEvaluations
                                                                   ? resultText(nlopt::MAXEVAL_REACHED, goodEnough)
                                                                   : resultText(last, goodEnough));
    return fit;
}

std::vector<std::string> fitReport(const FitResult& result, const std::vector<FitTarget>& targets,
                                   const std::vector<FitVariable>& variables)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < variables.size(); ++i)
        lines.push_back(variables[i].field + " = " + formatSweepValue(result.values[i]));
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const DrivingFigure& f = result.figures[i];
        std::string line = targets[i].figure + ": " + (f.reached ? orv::format("%g", static_cast<double>(f.value))
                                                                 : std::string("not reached")) +
                           " (target " + orv::format("%g", targets[i].target);
        if (f.reached)
            line += orv::format(", %+.2f%%", 100.0 * (static_cast<double>(f.value) - targets[i].target) /
                                                 targets[i].target);
        lines.push_back(line + ")");
    }
    lines.push_back(orv::format("%d driving-test runs; stopped: %s", result.evaluations, result.stop.c_str()));
    return lines;
}
