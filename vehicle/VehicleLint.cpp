#include "vehicle/VehicleLint.h"

#include "vehicle/DrivingTests.h"
#include "vehicle/VehicleLimits.h"
#include "world/Units.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

std::string number(float value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
    return text;
}

void lintGears(const FullThrottleRun& drive, std::vector<LintFinding>& findings)
{
    const float limit = lintGearChangesPerMinute * fullThrottleSeconds / 60.0f;
    if (static_cast<float>(drive.forwardGearChanges) > limit)
        findings.push_back({"gear-hunting",
                            "gear hunting: " + std::to_string(drive.forwardGearChanges) + " gear changes in " +
                                number(fullThrottleSeconds, 0) + " s at full throttle (more than " +
                                number(lintGearChangesPerMinute, 0) + " a minute)",
                            "lengthen minGearTime or spread the gear ratios"});
}

void lintUnusedGears(const FullThrottleRun& drive, std::vector<LintFinding>& findings)
{
    std::string unused;
    int count = 0;
    for (std::size_t i = firstForwardGear; i < drive.gearUsed.size(); ++i) {
        if (drive.gearUsed[i])
            continue;
        unused += (unused.empty() ? "" : ", ") + gearName(static_cast<int>(i));
        ++count;
    }
    if (count == 0)
        return;
    // The gear choice follows the speed fraction: a gear above the reachable
    // speed, or one skipped between two close fractions, is never chosen.
    findings.push_back({"unused-gears",
                        std::string(count == 1 ? "unused gear: gear " : "unused gears: gears ") + unused +
                            " never used in " + number(fullThrottleSeconds, 0) + " s at full throttle",
                        count == 1 ? "drop it, or raise power so the vehicle reaches the speeds it covers"
                                   : "drop them, or raise power so the vehicle reaches the speeds they cover"});
}

void lintTopSpeed(const VehicleDef& def, const FullThrottleRun& drive, std::vector<LintFinding>& findings)
{
    const float topSpeed = drive.topSpeedKmh / kmhPerMs;
    if (!(def.maxSpeed > 0.0f) || topSpeed >= def.maxSpeed * (1.0f - lintTopSpeedShortfall))
        return;
    const float shortPercent = 100.0f * (1.0f - topSpeed / def.maxSpeed);
    findings.push_back({"max-speed-unreachable",
                        "Max Speed unreachable: " + number(topSpeed, 1) + " m/s held at most in " +
                            number(fullThrottleSeconds, 0) + " s at full throttle, " + number(shortPercent, 0) +
                            "% short of maxSpeed " + number(def.maxSpeed, 1) + " m/s",
                        "raise power or the top gear's ratio, lower linearDamping, or lower maxSpeed"});
}

void lintBrakes(const VehicleDef& def, const FullThrottleRun& drive, std::vector<LintFinding>& findings)
{
    const float fromKmh = std::min(lintBrakeFromKmh, drive.topSpeedKmh * brakingTopSpeedShare);
    if (!(fromKmh > 1.0f))
        return;
    const DrivingFigure braked = measureStoppingDistance(def, fromKmh);
    VehicleDef unbraked = def;
    unbraked.brakePower = 0.0f;
    const DrivingFigure coasted = measureStoppingDistance(unbraked, fromKmh);
    // A vehicle that does not stop without brakes within the test's time
    // plainly needs them.
    if (!braked.reached || !coasted.reached || !(coasted.value > 0.0f))
        return;
    const float share = 1.0f - braked.value / coasted.value;
    if (share >= lintBrakeShare)
        return;
    findings.push_back({"brakes-weak",
                        "braking mostly from damping: " + number(braked.value, 1) + " m to stop from " +
                            number(fromKmh, 0) + " km/h with its brakes, " + number(coasted.value, 1) +
                            " m with brakePower 0 (" + number(100.0f * share, 1) + "% shorter, less than " +
                            number(100.0f * lintBrakeShare, 0) + "%)",
                        "raise brakePower, or lower linearDamping so the brakes do the stopping"});
}

void lintTracks(const VehicleDef& def, std::vector<LintFinding>& findings)
{
    if (!def.tracks)
        return;
    float start = 0.0f;
    float turned = 0.0f;
    bool first = true;
    DrivingInputs inputs;
    inputs.steer = 1.0f;
    const bool usable = driveScripted(def, inputs, lintSpotTurnSeconds, [&](const VehicleDynamics& dyn) {
        if (first)
            start = dyn.body->GetAngle();
        first = false;
        turned = std::max(turned, std::fabs(dyn.body->GetAngle() - start) * radiansToDegrees);
    });
    if (usable && turned < lintSpotTurnDegrees)
        findings.push_back({"tracks-no-spot-turn",
                            "tracked vehicle cannot turn on the spot: " + number(turned, 0) + " degrees in " +
                                number(lintSpotTurnSeconds, 0) + " s of steering at standstill" +
                                (def.steerTorqueBoost > 0.0f ? std::string() : ", with steerTorqueBoost 0"),
                            "raise steerTorqueBoost, or lower angularDamping"});
    // Tracks steer by pushing one side against the other; wheel angles and
    // the speed curve of the lock are never read for them.
    bool steered = false;
    for (const WheelMount& mount : def.wheelMounts)
        steered = steered || mount.maxSteerAngle != 0;
    if (steered)
        findings.push_back({"tracks-steer-angle",
                            "steer angle on tracks: a wheel mount has a maxSteerAngle, which tracks never use",
                            "set maxSteerAngle 0 on every mount, and turn with steerTorqueBoost and power"});
}

std::string shortNumber(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// A definition edited in memory can hold what no file could: saved and read
// back, the value would silently turn into the loader's default.
void lintRange(const std::string& what, float value, const ValueRange& range, float loaderDefault,
               std::vector<LintFinding>& findings)
{
    if (range.contains(value))
        return;
    const std::string accepted = shortNumber(range.lo) + " to " + shortNumber(range.hi);
    findings.push_back({"out-of-range",
                        "out of range: " + what + " is " + shortNumber(value) + ", the editor and loader accept " +
                            accepted,
                        "set it within " + accepted + "; saved as it is, it reads back as " +
                            shortNumber(loaderDefault)});
}

void lintLimits(const VehicleDef& def, std::vector<LintFinding>& findings)
{
    const VehicleDef defaults;
    for (std::size_t i = 0; i < def.wheelMounts.size(); ++i)
        lintRange("wheel mount " + std::to_string(i) + " massRatio", def.wheelMounts[i].massRatio,
                  vehicleLimits::massRatio, WheelMount().massRatio, findings);
    lintRange("linearDamping", def.linearDamping, vehicleLimits::damping, defaults.linearDamping, findings);
    lintRange("angularDamping", def.angularDamping, vehicleLimits::damping, defaults.angularDamping, findings);
}

} // namespace

std::vector<LintFinding> lintVehicle(const VehicleDef& def)
{
    std::vector<LintFinding> findings;
    const FullThrottleRun drive = driveFullThrottle(def);
    if (drive.usable) {
        lintGears(drive, findings);
        lintUnusedGears(drive, findings);
        lintTopSpeed(def, drive, findings);
        lintBrakes(def, drive, findings);
    }
    lintTracks(def, findings);
    lintLimits(def, findings);
    return findings;
}

std::string formatLintFinding(const std::string& name, const LintFinding& finding)
{
    return name + ": " + finding.text + "; " + finding.suggestion;
}

std::vector<std::string> lintReport(const std::string& name, const std::vector<LintFinding>& findings)
{
    std::vector<std::string> lines;
    for (const LintFinding& finding : findings)
        lines.push_back(formatLintFinding(name, finding));
    if (lines.empty())
        lines.push_back(name + ": no findings");
    return lines;
}
