#include "vehicle/DrivingTests.h"

#include "vehicle/Vehicle.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr float kmhPerMs = 3.6f;
constexpr float standstill = 0.1f; // m/s, the model's own "standing" speed
constexpr float turnSpeedKmh = 20.0f;
constexpr float turnSettleSeconds = 3.0f;
constexpr double twoPi = 6.283185307179586;

int stepsFor(float seconds)
{
    return static_cast<int>(std::lround(seconds / physicsStep));
}

// A flat, empty world of its own: a static body to hold the brakes and
// nothing else, and a clock that counts steps.
class TestDrive : public StepObserver {
public:
    explicit TestDrive(const VehicleDef& def) : world_(b2Vec2(0.0f, 0.0f))
    {
        b2BodyDef groundDef;
        groundDef.type = b2_staticBody;
        ground_ = world_.CreateBody(&groundDef);
        vehicle_.spawnDetached(world_, ground_, def, sf::Vector2f(0.0f, 0.0f));
        vehicle_.dynamics.gearChangeTime = 0.0;
        vehicle_.setStepObserver(this);
    }
    ~TestDrive() override { vehicle_.forgetBodies(); }

    void beforeStep(Vehicle&, double& now) override { now = static_cast<double>(steps_) * physicsStep; }
    void afterStep(Vehicle&) override { ++steps_; }

    void step() { vehicle_.fixedStep(); }
    VehicleDynamics& dyn() { return vehicle_.dynamics; }
    float speedKmh() const { return vehicle_.speed() * kmhPerMs; }
    b2Vec2 position() const { return vehicle_.body()->GetPosition(); }
    float angle() const { return vehicle_.body()->GetAngle(); }
    float seconds() const { return static_cast<float>(steps_) * physicsStep; }
    int steps() const { return steps_; }
    bool usable() const { return vehicle_.body() && vehicle_.definition(); }

private:
    b2World world_;
    b2Body* ground_ = nullptr;
    Vehicle vehicle_;
    int steps_ = 0;
};

// Full throttle until `kmh`; false when it never gets there.
bool accelerateTo(TestDrive& drive, float kmh)
{
    const int limit = stepsFor(drivingTestTimeout);
    drive.dyn().throttle = 1.0f;
    while (drive.steps() < limit) {
        drive.step();
        if (drive.speedKmh() >= kmh)
            return true;
    }
    return false;
}

bool accelerateTo100(TestDrive& drive)
{
    return accelerateTo(drive, 100.0f);
}

} // namespace

DrivingFigure measureZeroTo100(const VehicleDef& def)
{
    TestDrive drive(def);
    if (!drive.usable() || !accelerateTo100(drive))
        return {};
    return {true, drive.seconds()};
}

DrivingFigure measureSpeedAfter30(const VehicleDef& def)
{
    TestDrive drive(def);
    if (!drive.usable())
        return {};
    drive.dyn().throttle = 1.0f;
    for (int i = stepsFor(30.0f); i > 0; --i)
        drive.step();
    return {true, drive.speedKmh()};
}

DrivingFigure measureBrakingDistance(const VehicleDef& def)
{
    return measureStoppingDistance(def, 100.0f);
}

DrivingFigure measureStoppingDistance(const VehicleDef& def, float fromKmh)
{
    TestDrive drive(def);
    if (!drive.usable() || !accelerateTo(drive, fromKmh))
        return {};
    // The brake key: brake held, throttle 0, as the controls set them.
    drive.dyn().throttle = 0.0f;
    drive.dyn().handbrake = true;
    float distance = 0.0f;
    b2Vec2 last = drive.position();
    for (int i = stepsFor(drivingTestTimeout); i > 0; --i) {
        drive.step();
        const b2Vec2 now = drive.position();
        distance += (now - last).Length();
        last = now;
        if (drive.speedKmh() < standstill * kmhPerMs)
            return {true, distance};
    }
    return {};
}

DrivingFigure measureTurningCircle(const VehicleDef& def)
{
    TestDrive drive(def);
    if (!drive.usable())
        return {};
    const int limit = stepsFor(drivingTestTimeout);
    drive.dyn().steerInput = 1.0f;
    int settleFrom = -1;
    bool measuring = false;
    double startAngle = 0.0;
    b2Vec2 low(0.0f, 0.0f), high(0.0f, 0.0f);
    while (drive.steps() < limit) {
        // Throttle on below 20 km/h, off above: the speed hovers at 20.
        const bool slow = drive.speedKmh() < turnSpeedKmh;
        drive.dyn().throttle = slow ? 1.0f : 0.0f;
        drive.step();
        if (settleFrom < 0 && !slow)
            settleFrom = drive.steps();
        if (settleFrom < 0 || drive.steps() - settleFrom < stepsFor(turnSettleSeconds))
            continue;
        const b2Vec2 p = drive.position();
        if (!measuring) {
            measuring = true;
            startAngle = drive.angle();
            low = high = p;
            continue;
        }
        low = b2Min(low, p);
        high = b2Max(high, p);
        // Box2D keeps the body angle unwrapped: one full turn is 2 pi of it.
        if (std::fabs(static_cast<double>(drive.angle()) - startAngle) >= twoPi)
            return {true, ((high.x - low.x) + (high.y - low.y)) * 0.5f};
    }
    return {};
}

bool driveScripted(const VehicleDef& def, const DrivingInputs& inputs, float seconds,
                   const std::function<void(const VehicleDynamics&)>& observe)
{
    TestDrive drive(def);
    if (!drive.usable())
        return false;
    drive.dyn().throttle = inputs.throttle;
    drive.dyn().steerInput = inputs.steer;
    for (int i = stepsFor(seconds); i > 0; --i) {
        drive.step();
        observe(drive.dyn());
    }
    return true;
}

DrivingTestResults runDrivingTests(const VehicleDef& def)
{
    DrivingTestResults results;
    results.zeroTo100 = measureZeroTo100(def);
    results.speedAfter30 = measureSpeedAfter30(def);
    results.brakingDistance = measureBrakingDistance(def);
    results.turningCircle = measureTurningCircle(def);
    return results;
}

std::string formatFigure(const DrivingFigure& figure, int decimals)
{
    if (!figure.reached || !std::isfinite(figure.value))
        return "not reached";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(figure.value));
    return text;
}

std::string formatFigureChange(const DrivingFigure& before, const DrivingFigure& now, int decimals)
{
    if (!before.reached || !now.reached)
        return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "%+.*f", decimals, static_cast<double>(now.value - before.value));
    return text;
}

std::string drivingTestsCsvHeader()
{
    return "vehicle,zeroTo100_s,speedAfter30s_kmh,brakingDistance100_m,turningCircle_m";
}

std::string drivingTestsCsvRow(const std::string& name, const DrivingTestResults& results)
{
    // File names may hold commas or quotes; such a name is quoted.
    std::string field = name;
    if (name.find_first_of(",\"\n") != std::string::npos) {
        field = "\"";
        for (char c : name)
            field += c == '"' ? std::string("\"\"") : std::string(1, c);
        field += "\"";
    }
    return field + "," + formatFigure(results.zeroTo100, zeroTo100Decimals) + "," +
           formatFigure(results.speedAfter30, speedDecimals) + "," +
           formatFigure(results.brakingDistance, distanceDecimals) + "," +
           formatFigure(results.turningCircle, distanceDecimals);
}
