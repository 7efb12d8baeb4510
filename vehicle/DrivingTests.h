#pragma once
// Repeatable driving tests: a vehicle built from its definition alone in a
// physics world of its own (flat, empty, no window, no sound), driven by
// scripted inputs through the same fixed step as in the program, with a step
// counter as its clock so every run gives the same figures. Each figure
// carries the conditions it was measured under, so a reader can compare it
// with a catalogue without reading this code.

#include "vehicle/VehicleDef.h"
#include "vehicle/VehicleDynamics.h"

#include <functional>
#include <string>
#include <vector>

/// One measured figure; `reached` false means the target was never met.
struct DrivingFigure {
    bool reached = false;
    float value = 0.0f;
};

/// Seconds of the full-throttle drive that acceleration, top speed, gear use
/// and the lint's gear findings come from.
constexpr float fullThrottleSeconds = 120.0f;
/// The top speed is the highest speed the vehicle stays at or above for this
/// long: a gearbox that hunts does not get its peaks counted.
constexpr float topSpeedHoldSeconds = 5.0f;
/// Acceleration targets, km/h: the highest one at or below the top speed.
constexpr float accelerationTargetsKmh[] = {100.0f, 50.0f, 30.0f};
/// Braking starts here, or at this share of the top speed when the vehicle
/// cannot reach it.
constexpr float brakingFromKmh = 100.0f;
constexpr float brakingTopSpeedShare = 0.8f;
/// Longest a stop or a turn may take before it counts as not reached.
constexpr float drivingTestTimeout = 60.0f;
/// The turning circle is driven at walking pace, where the lock is not yet
/// cut by the speed curve and the tyres barely slide: what catalogues quote.
constexpr float turningSpeedKmh = 10.0f;
/// A tracked vehicle whose centre stays within this diameter while it spins
/// turns on the spot, metres.
constexpr float spotTurnDiameter = 1.0f;
/// The skid pad circle (the cone ring of the skid pad map), metres.
constexpr float skidPadRadius = 25.0f;
/// A speed counts as held on the skid pad when the centre stays within this
/// share of the radius of the circle for `skidPadHoldSeconds`.
constexpr float skidPadTolerance = 0.05f;
constexpr float skidPadHoldSeconds = 2.0f;
/// One standard gravity, m/s^2, for figures in g.
constexpr float standardGravity = 9.80665f;

/// What a drive from standstill at full throttle for `fullThrottleSeconds`
/// showed.
struct FullThrottleRun {
    bool usable = false;
    /// Seconds to each of `accelerationTargetsKmh`, in the same order.
    DrivingFigure secondsTo[3];
    float topSpeedKmh = 0.0f;  ///< highest held for `topSpeedHoldSeconds`
    float peakSpeedKmh = 0.0f; ///< highest at any step
    int forwardGearChanges = 0;
    std::vector<bool> gearUsed; ///< by gear index
};

struct DrivingTestResults {
    /// The acceleration target chosen from the top speed, km/h, and the
    /// seconds from standstill to it.
    float accelerationToKmh = accelerationTargetsKmh[0];
    DrivingFigure accelerationTime;
    DrivingFigure topSpeed; ///< km/h, held for `topSpeedHoldSeconds`
    DrivingFigure gearChangesPerMinute;
    /// The speed braking started from, km/h, the metres to standstill with
    /// the brake key held, and the mean deceleration over the stop's time, g.
    float brakingFromKmh = ::brakingFromKmh;
    DrivingFigure brakingDistance;
    DrivingFigure brakingMeanG;
    /// Diameters of the paths of the outermost tyre edge (kerb to kerb) and
    /// of the outermost point of the vehicle (wall to wall), metres.
    DrivingFigure kerbToKerb;
    DrivingFigure wallToWall;
    float lockReachedDegrees = 0.0f; ///< steered wheels against the body
    float lockSetDegrees = 0.0f;     ///< what the file asks for
    bool turnsOnTheSpot = false;     ///< a tracked vehicle, turned without throttle
    /// Steady lateral acceleration on the skid pad circle, g, and the speed
    /// it was held at; `lateralAtTopSpeed` when the vehicle held the circle
    /// up to its top speed, so the figure is a floor, not its grip.
    DrivingFigure lateralG;
    float lateralAtKmh = 0.0f;
    bool lateralAtTopSpeed = false;
    bool skidPadDriven = false; ///< false for tracks and vehicles that cannot steer
};

/// The tests runDrivingTests can be limited to; the full-throttle drive
/// (acceleration, top speed, gear changes) always runs, since braking starts
/// from a speed it gives.
enum DrivingTestParts : unsigned {
    drivingTestBraking = 1u << 0,
    drivingTestTurning = 1u << 1,
    drivingTestSkidPad = 1u << 2,
    allDrivingTests = drivingTestBraking | drivingTestTurning | drivingTestSkidPad,
};

/// Runs every test of `parts`, each in a fresh world; the others keep their
/// "not reached" defaults.
DrivingTestResults runDrivingTests(const VehicleDef& def, unsigned parts = allDrivingTests);

/// The full-throttle drive from standstill.
FullThrottleRun driveFullThrottle(const VehicleDef& def);
/// Metres from `fromKmh` to standstill with the brake key held, and the mean
/// deceleration in g; not reached when the vehicle never gets to `fromKmh`
/// or does not stop in time.
void measureBraking(const VehicleDef& def, float fromKmh, DrivingFigure& metres, DrivingFigure& meanG);
/// Metres from `fromKmh` to standstill, brake key held.
DrivingFigure measureStoppingDistance(const VehicleDef& def, float fromKmh);
/// Kerb-to-kerb and wall-to-wall circles at `turningSpeedKmh` and full lock
/// to the right; a tracked vehicle spins without throttle instead.
void measureTurningCircle(const VehicleDef& def, DrivingTestResults& results);
/// The steady lateral acceleration on the skid pad circle, stepping the speed
/// up until the circle is lost or the vehicle can go no faster.
void measureSkidPad(const VehicleDef& def, DrivingTestResults& results);
/// Body and wheel masses together, kg, as the vehicle is built.
float vehicleTotalMass(const VehicleDef& def);

/// Inputs held for a whole scripted drive, as the controls would set them.
struct DrivingInputs {
    float throttle = 0.0f;
    float steer = 0.0f;
};
/// Drives `seconds` from standstill with `inputs` held, in a world of its
/// own, calling `observe` after every step; false when the vehicle cannot be
/// built.
bool driveScripted(const VehicleDef& def, const DrivingInputs& inputs, float seconds,
                   const std::function<void(const VehicleDynamics&)>& observe);

/// The value with `decimals` decimals, or "not reached".
std::string formatFigure(const DrivingFigure& figure, int decimals);
/// The change from `before` to `now` with a sign ("+0.25", "-1.0"); empty
/// when either was not reached.
std::string formatFigureChange(const DrivingFigure& before, const DrivingFigure& now, int decimals);

/// One row of the results as a person reads them: the test's name with its
/// conditions, the figure with its unit, and the figure alone for changes.
struct DrivingTestLine {
    std::string test;
    std::string result;
    DrivingFigure figure;
    int decimals = 1;
};
/// The results as named, conditioned lines, in the order the editor shows them.
std::vector<DrivingTestLine> drivingTestLines(const DrivingTestResults& results);

/// The CSV header: figures with units in their names, then "note".
std::string drivingTestsCsvHeader();
/// One CSV row: the name, the figures (empty where not reached) and a note
/// saying why a cell is empty.
std::string drivingTestsCsvRow(const std::string& name, const DrivingTestResults& results);
/// The Markdown table of a fleet: a header and one row per vehicle.
std::string drivingTestsTableHeader();
std::string drivingTestsTableRow(const std::string& name, const DrivingTestResults& results);
