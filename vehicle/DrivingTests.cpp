#include "vehicle/DrivingTests.h"

#include "framework/StringUtil.h"
#include "vehicle/Vehicle.h"
#include "world/Units.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>

namespace {

constexpr float standstill = 0.1f; // m/s, the model's own "standing" speed
constexpr float settleSeconds = 3.0f;
constexpr double twoPi = 6.283185307179586;
// The skid pad raises its target speed by this much each time the circle
// was held, km/h; a target not held within the time below ends the test.
constexpr float skidPadStartKmh = 10.0f;
constexpr float skidPadStepKmh = 5.0f;
constexpr float skidPadTargetSeconds = 15.0f;
constexpr float skidPadSeconds = 240.0f;

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
    float speed() const { return vehicle_.speed(); }
    float speedKmh() const { return vehicle_.speed() * kmhPerMs; }
    b2Vec2 position() const { return vehicle_.body()->GetPosition(); }
    float angle() const { return vehicle_.body()->GetAngle(); }
    b2Body* body() const { return vehicle_.body(); }
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
    const int limit = stepsFor(fullThrottleSeconds);
    drive.dyn().throttle = 1.0f;
    while (drive.steps() < limit) {
        drive.step();
        if (drive.speedKmh() >= kmh)
            return true;
    }
    return false;
}

// Every corner of a body's polygons in world coordinates; the body's centre
// when it has none (a wheel without a picture).
void addCorners(const b2Body* body, std::vector<b2Vec2>& points)
{
    bool any = false;
    for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) {
        if (f->GetType() != b2Shape::e_polygon)
            continue;
        const auto* polygon = static_cast<const b2PolygonShape*>(f->GetShape());
        for (int i = 0; i < polygon->m_count; ++i)
            points.push_back(body->GetWorldPoint(polygon->m_vertices[i]));
        any = true;
    }
    if (!any)
        points.push_back(body->GetPosition());
}

// The centre of the circle through `points` by least squares on
// x^2 + y^2 + Dx + Ey + F = 0; false when they do not span a circle.
bool fitCircleCentre(const std::vector<b2Vec2>& points, b2Vec2& centre)
{
    // Relative to the first point, so large coordinates keep their digits.
    const b2Vec2 origin = points.front();
    double sxx = 0, sxy = 0, syy = 0, sx = 0, sy = 0, sxz = 0, syz = 0, sz = 0;
    const double n = static_cast<double>(points.size());
    for (const b2Vec2& p : points) {
        const double x = static_cast<double>(p.x - origin.x);
        const double y = static_cast<double>(p.y - origin.y);
        const double z = x * x + y * y;
        sxx += x * x;
        sxy += x * y;
        syy += y * y;
        sx += x;
        sy += y;
        sxz += x * z;
        syz += y * z;
        sz += z;
    }
    // Normal equations of [x y 1] [D E F]' = -z, solved by Cramer's rule.
    const double a[3][3] = {{sxx, sxy, sx}, {sxy, syy, sy}, {sx, sy, n}};
    const double b[3] = {-sxz, -syz, -sz};
    auto det = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(a);
    if (!(std::fabs(d) > 1e-12))
        return false;
    double solved[2];
    for (int column = 0; column < 2; ++column) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                m[r][c] = c == column ? b[r] : a[r][c];
        solved[column] = det(m) / d;
    }
    centre = b2Vec2(origin.x + static_cast<float>(-solved[0] / 2.0), origin.y + static_cast<float>(-solved[1] / 2.0));
    return centre.IsValid();
}

float farthestFrom(const b2Vec2& centre, const std::vector<b2Vec2>& points)
{
    float far = 0.0f;
    for (const b2Vec2& p : points)
        far = std::max(far, (p - centre).Length());
    return far;
}

float lockSetDegrees(const VehicleDef& def)
{
    if (def.tracks)
        return 0.0f;
    int lock = 0;
    for (const WheelMount& mount : def.wheelMounts)
        lock = std::max(lock, std::abs(mount.maxSteerAngle));
    return static_cast<float>(lock) * std::fabs(def.steerBoost);
}

// Metres between the steered wheels and the others along the body: the
// wheelbase of the bicycle the skid pad's steering guess comes from.
float wheelbase(const VehicleDef& def)
{
    float steered = 0.0f, fixed = 0.0f;
    int steeredCount = 0, fixedCount = 0;
    for (const WheelMount& mount : def.wheelMounts) {
        if (mount.maxSteerAngle != 0) {
            steered += static_cast<float>(mount.pos.y);
            ++steeredCount;
        } else {
            fixed += static_cast<float>(mount.pos.y);
            ++fixedCount;
        }
    }
    if (steeredCount == 0 || fixedCount == 0)
        return 2.5f;
    return std::fabs(fixed / static_cast<float>(fixedCount) - steered / static_cast<float>(steeredCount)) *
           metresPerPixel;
}

std::string fixed(float value, int decimals)
{
    return orv::format("%.*f", decimals, static_cast<double>(value));
}

// A cell of the CSV: the value, or empty when not reached.
std::string cell(const DrivingFigure& figure, int decimals)
{
    return figure.reached && std::isfinite(figure.value) ? fixed(figure.value, decimals) : std::string();
}

std::string accelerationName(float toKmh)
{
    std::string name = "0-" + fixed(toKmh, 0) + " km/h";
    if (toKmh < accelerationTargetsKmh[0])
        name += " (top speed under " + fixed(toKmh == accelerationTargetsKmh[1] ? 100.0f : 50.0f, 0) + ")";
    return name;
}

std::string brakingName(const DrivingTestResults& r)
{
    std::string name = fixed(r.brakingFromKmh, 0) + "-0 km/h";
    if (r.brakingFromKmh < brakingFromKmh)
        name += " (" + fixed(100.0f * brakingTopSpeedShare, 0) + "% of top speed)";
    return name;
}

} // namespace

FullThrottleRun driveFullThrottle(const VehicleDef& def)
{
    FullThrottleRun run;
    TestDrive drive(def);
    if (!drive.usable())
        return run;
    run.usable = true;
    run.gearUsed.assign(def.gears.size(), false);
    const int steps = stepsFor(fullThrottleSeconds);
    const int hold = stepsFor(topSpeedHoldSeconds);
    // The lowest speed of the last `hold` steps, kept as a monotonic queue.
    std::deque<std::pair<int, float>> window;
    int last = -1;
    drive.dyn().throttle = 1.0f;
    for (int i = 0; i < steps; ++i) {
        drive.step();
        const float kmh = drive.speedKmh();
        for (int t = 0; t < 3; ++t)
            if (!run.secondsTo[t].reached && kmh >= accelerationTargetsKmh[t])
                run.secondsTo[t] = {true, drive.seconds()};
        run.peakSpeedKmh = std::max(run.peakSpeedKmh, kmh);
        while (!window.empty() && window.back().second >= kmh)
            window.pop_back();
        window.emplace_back(i, kmh);
        if (window.front().first <= i - hold)
            window.pop_front();
        if (i + 1 >= hold)
            run.topSpeedKmh = std::max(run.topSpeedKmh, window.front().second);

        const int gear = drive.dyn().gear;
        if (gear >= 0 && gear < static_cast<int>(run.gearUsed.size()))
            run.gearUsed[static_cast<std::size_t>(gear)] = true;
        // Leaving neutral for first is starting off, not changing gear.
        if (last >= firstForwardGear && gear >= firstForwardGear && gear != last)
            ++run.forwardGearChanges;
        last = gear;
    }
    return run;
}

void measureBraking(const VehicleDef& def, float fromKmh, DrivingFigure& metres, DrivingFigure& meanG)
{
    metres = meanG = DrivingFigure();
    TestDrive drive(def);
    if (!drive.usable() || !accelerateTo(drive, fromKmh))
        return;
    // The brake key: brake held, throttle 0, as the controls set them. The
    // stop is counted from the step the speed falls to `fromKmh`, as a timing
    // gate would, not from the overshoot of the last step of throttle.
    drive.dyn().throttle = 0.0f;
    drive.dyn().handbrake = true;
    float startSpeed = 0.0f;
    int start = -1;
    float distance = 0.0f;
    b2Vec2 last = drive.position();
    for (int i = stepsFor(drivingTestTimeout); i > 0; --i) {
        drive.step();
        const b2Vec2 now = drive.position();
        if (start < 0 && drive.speedKmh() <= fromKmh) {
            start = drive.steps();
            startSpeed = drive.speed();
        } else if (start >= 0) {
            distance += (now - last).Length();
        }
        last = now;
        if (start >= 0 && drive.speed() < standstill) {
            const float seconds = static_cast<float>(drive.steps() - start) * physicsStep;
            metres = {true, distance};
            meanG = {true, startSpeed / seconds / standardGravity};
            return;
        }
    }
}

DrivingFigure measureStoppingDistance(const VehicleDef& def, float fromKmh)
{
    DrivingFigure metres, meanG;
    measureBraking(def, fromKmh, metres, meanG);
    return metres;
}

void measureTurningCircle(const VehicleDef& def, DrivingTestResults& results)
{
    results.kerbToKerb = results.wallToWall = DrivingFigure();
    results.lockSetDegrees = lockSetDegrees(def);
    results.lockReachedDegrees = 0.0f;
    results.turnsOnTheSpot = false;
    TestDrive drive(def);
    if (!drive.usable() || (!def.tracks && !(results.lockSetDegrees > 0.0f)))
        return;
    const int limit = stepsFor(drivingTestTimeout);
    drive.dyn().steerInput = 1.0f;
    int settleFrom = def.tracks ? 0 : -1;
    bool measuring = false;
    double startAngle = 0.0;
    std::vector<b2Vec2> path, tyres, body;
    while (drive.steps() < limit) {
        // Throttle below the speed, off above: the speed hovers there. Tracks
        // spin with their tracks pushing against each other, no throttle.
        const bool slow = drive.speedKmh() < turningSpeedKmh;
        drive.dyn().throttle = !def.tracks && slow ? 1.0f : 0.0f;
        drive.step();
        if (settleFrom < 0 && !slow)
            settleFrom = drive.steps();
        if (settleFrom < 0 || drive.steps() - settleFrom < stepsFor(settleSeconds))
            continue;
        if (!measuring) {
            measuring = true;
            startAngle = drive.angle();
        }
        path.push_back(drive.position());
        addCorners(drive.body(), body);
        for (const Wheel& wheel : drive.dyn().wheels) {
            if (!wheel.body)
                continue;
            addCorners(wheel.body, tyres);
            // What the wheels sit at against the body after the step: the
            // angle they were set to, less the chassis' turn within the step,
            // which is the lock the circle follows.
            if (!def.tracks && std::fabs(wheel.displaySteerAngle) > 0.0f)
                results.lockReachedDegrees =
                    std::max(results.lockReachedDegrees,
                             std::fabs(wheel.body->GetAngle() - drive.angle()) * radiansToDegrees);
        }
        // Box2D keeps the body angle unwrapped: one full turn is 2 pi of it.
        if (std::fabs(static_cast<double>(drive.angle()) - startAngle) >= twoPi)
            break;
    }
    if (path.size() < 3 || std::fabs(static_cast<double>(drive.angle()) - startAngle) < twoPi)
        return;
    b2Vec2 low = path.front(), high = path.front(), mean(0.0f, 0.0f);
    for (const b2Vec2& p : path) {
        low = b2Min(low, p);
        high = b2Max(high, p);
        mean += p;
    }
    mean *= 1.0f / static_cast<float>(path.size());
    b2Vec2 centre = mean;
    const bool onTheSpot = (high - low).Length() < spotTurnDiameter;
    if (!onTheSpot && !fitCircleCentre(path, centre))
        return;
    results.turnsOnTheSpot = onTheSpot && def.tracks;
    if (tyres.empty())
        tyres.push_back(centre);
    const float kerb = farthestFrom(centre, tyres);
    results.kerbToKerb = {true, 2.0f * kerb};
    results.wallToWall = {true, 2.0f * std::max(kerb, farthestFrom(centre, body))};
}

void measureSkidPad(const VehicleDef& def, DrivingTestResults& results)
{
    results.lateralG = DrivingFigure();
    results.lateralAtKmh = 0.0f;
    results.lateralAtTopSpeed = false;
    results.skidPadDriven = false;
    const float lock = lockSetDegrees(def);
    TestDrive drive(def);
    if (!drive.usable() || def.tracks || !(lock > 0.0f))
        return;
    results.skidPadDriven = true;
    // The vehicle starts on the circle, facing along it, with the centre to
    // its right: steering right holds it there.
    const b2Vec2 centre = drive.body()->GetWorldPoint(b2Vec2(skidPadRadius, 0.0f));
    const float baseSteer = std::atan(wheelbase(def) / skidPadRadius) * radiansToDegrees;
    const int holdSteps = stepsFor(skidPadHoldSeconds);
    float target = skidPadStartKmh;
    int targetFrom = 0;
    int held = 0;
    float lateralSum = 0.0f;
    bool nearTarget = false;
    while (drive.steps() < stepsFor(skidPadSeconds)) {
        const b2Vec2 out = drive.position() - centre;
        const float r = out.Length();
        if (!(r > 0.0f))
            break;
        const b2Vec2 outward = (1.0f / r) * out;
        const b2Vec2 along(-outward.y, outward.x);
        const b2Vec2 facing = drive.body()->GetWorldVector(b2Vec2(0.0f, -1.0f));
        const float headingOut = std::atan2(b2Dot(facing, outward), b2Dot(facing, along)) * radiansToDegrees;
        // Steer for the circle's own curvature, more when outside it or
        // heading out of it; the steering ramps, so aim at a band.
        const float wanted = std::clamp(baseSteer + 3.0f * (r - skidPadRadius) + 1.5f * headingOut, -lock, lock);
        const float now = drive.dyn().steerAngle;
        drive.dyn().steerInput = now < wanted - 0.5f ? 1.0f : (now > wanted + 0.5f ? -1.0f : 0.0f);
        drive.dyn().throttle = drive.speedKmh() < target ? 1.0f : 0.0f;
        drive.step();

        const float kmh = drive.speedKmh();
        const float offCircle = std::fabs((drive.position() - centre).Length() - skidPadRadius);
        if (offCircle > 3.0f * skidPadTolerance * skidPadRadius)
            break; // lost the circle
        const bool atSpeed = std::fabs(kmh - target) < std::max(2.0f, 0.05f * target);
        nearTarget = nearTarget || atSpeed;
        if (atSpeed && offCircle < skidPadTolerance * skidPadRadius) {
            const float v = drive.speed();
            lateralSum += v * v / (drive.position() - centre).Length();
            if (++held >= holdSteps) {
                results.lateralG = {true, lateralSum / static_cast<float>(held) / standardGravity};
                results.lateralAtKmh = target;
                target += skidPadStepKmh;
                targetFrom = drive.steps();
                held = 0;
                lateralSum = 0.0f;
                nearTarget = false;
            }
        } else {
            held = 0;
            lateralSum = 0.0f;
        }
        if (drive.steps() - targetFrom > stepsFor(skidPadTargetSeconds)) {
            // Never even at the speed: the vehicle is as fast as it goes.
            results.lateralAtTopSpeed = !nearTarget && results.lateralG.reached;
            break;
        }
    }
}

float vehicleTotalMass(const VehicleDef& def)
{
    TestDrive drive(def);
    if (!drive.usable())
        return 0.0f;
    float mass = drive.body()->GetMass();
    for (const Wheel& wheel : drive.dyn().wheels)
        if (wheel.body)
            mass += wheel.body->GetMass();
    return mass;
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

DrivingTestResults runDrivingTests(const VehicleDef& def, unsigned parts)
{
    DrivingTestResults results;
    const FullThrottleRun run = driveFullThrottle(def);
    if (run.usable) {
        results.topSpeed = {true, run.topSpeedKmh};
        results.gearChangesPerMinute = {true, static_cast<float>(run.forwardGearChanges) * 60.0f / fullThrottleSeconds};
    }
    int target = 2;
    for (int t = 0; t < 2; ++t)
        if (run.topSpeedKmh >= accelerationTargetsKmh[t]) {
            target = t;
            break;
        }
    results.accelerationToKmh = accelerationTargetsKmh[target];
    results.accelerationTime = run.secondsTo[target];
    results.brakingFromKmh = run.topSpeedKmh >= brakingFromKmh
                                 ? brakingFromKmh
                                 : std::round(run.topSpeedKmh * brakingTopSpeedShare);
    if ((parts & drivingTestBraking) && results.brakingFromKmh > 0.0f)
        measureBraking(def, results.brakingFromKmh, results.brakingDistance, results.brakingMeanG);
    if (parts & drivingTestTurning)
        measureTurningCircle(def, results);
    if (parts & drivingTestSkidPad)
        measureSkidPad(def, results);
    return results;
}

std::string formatFigure(const DrivingFigure& figure, int decimals)
{
    if (!figure.reached || !std::isfinite(figure.value))
        return "not reached";
    return fixed(figure.value, decimals);
}

std::string formatFigureChange(const DrivingFigure& before, const DrivingFigure& now, int decimals)
{
    if (!before.reached || !now.reached)
        return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "%+.*f", decimals, static_cast<double>(now.value - before.value));
    return text;
}

std::vector<DrivingTestLine> drivingTestLines(const DrivingTestResults& r)
{
    auto with = [](const DrivingFigure& f, int decimals, const std::string& unit) {
        if (!f.reached || !std::isfinite(f.value))
            return std::string("not reached");
        return unit.empty() ? fixed(f.value, decimals) : fixed(f.value, decimals) + " " + unit;
    };
    const std::string window = fixed(topSpeedHoldSeconds, 0) + " s in " + fixed(fullThrottleSeconds, 0) + " s";
    std::vector<DrivingTestLine> lines;
    lines.push_back({accelerationName(r.accelerationToKmh) + ", full throttle from standstill",
                     with(r.accelerationTime, 2, "s"), r.accelerationTime, 2});
    lines.push_back({"Top speed, held " + window + " at full throttle", with(r.topSpeed, 1, "km/h"), r.topSpeed, 1});
    lines.push_back({"Gear changes a minute in that drive", with(r.gearChangesPerMinute, 1, ""),
                     r.gearChangesPerMinute, 1});
    lines.push_back({"Braking " + brakingName(r) + ", brake key", with(r.brakingDistance, 1, "m"), r.brakingDistance,
                     1});
    lines.push_back({"Mean deceleration of that stop", with(r.brakingMeanG, 2, "g"), r.brakingMeanG, 2});
    std::string turning = r.turnsOnTheSpot || (r.kerbToKerb.reached && r.lockSetDegrees == 0.0f)
                              ? std::string(", spinning without throttle")
                              : " at " + fixed(turningSpeedKmh, 0) + " km/h, lock " + fixed(r.lockReachedDegrees, 1) +
                                    " of " + fixed(r.lockSetDegrees, 1) + " deg";
    std::string kerb = with(r.kerbToKerb, 1, "m");
    if (r.turnsOnTheSpot)
        kerb += " (on the spot)";
    lines.push_back({"Turning circle kerb to kerb" + turning, kerb, r.kerbToKerb, 1});
    lines.push_back({"Turning circle wall to wall, same turn", with(r.wallToWall, 1, "m"), r.wallToWall, 1});
    std::string lateral = r.skidPadDriven ? with(r.lateralG, 2, "g") : std::string("no steered wheels");
    if (r.lateralG.reached)
        lateral += " at " + fixed(r.lateralAtKmh, 0) + " km/h" + (r.lateralAtTopSpeed ? " (top speed)" : "");
    lines.push_back({"Lateral acceleration on a " + fixed(skidPadRadius, 0) + " m circle, held " +
                         fixed(skidPadHoldSeconds, 0) + " s",
                     lateral, r.lateralG, 2});
    return lines;
}

std::string drivingTestsCsvHeader()
{
    return "vehicle,acceleration_to_kmh,acceleration_s,top_speed_kmh,gear_changes_per_min,braking_from_kmh,braking_m,"
           "braking_mean_g,turning_speed_kmh,lock_reached_deg,lock_set_deg,kerb_to_kerb_m,wall_to_wall_m,"
           "skid_pad_radius_m,lateral_g,lateral_at_kmh,note";
}

std::string drivingTestsCsvRow(const std::string& name, const DrivingTestResults& r)
{
    // File names may hold commas or quotes; such a name is quoted.
    auto quoted = [](const std::string& text) {
        if (text.find_first_of(",\"\n") == std::string::npos)
            return text;
        std::string field = "\"";
        for (char c : text)
            field += c == '"' ? std::string("\"\"") : std::string(1, c);
        return field + "\"";
    };
    std::vector<std::string> notes;
    if (!r.accelerationTime.reached)
        notes.push_back("0-" + fixed(r.accelerationToKmh, 0) + " km/h not reached");
    if (!r.topSpeed.reached)
        notes.push_back("the vehicle could not be built");
    if (!r.brakingDistance.reached)
        notes.push_back("no stop from " + fixed(r.brakingFromKmh, 0) + " km/h");
    if (r.turnsOnTheSpot)
        notes.push_back("turns on the spot");
    else if (!r.kerbToKerb.reached)
        notes.push_back("no full turn");
    if (r.lateralAtTopSpeed)
        notes.push_back("skid pad held up to top speed");
    else if (!r.skidPadDriven)
        notes.push_back("no steered wheels for the skid pad");
    else if (!r.lateralG.reached)
        notes.push_back("skid pad circle not held");
    std::string note;
    for (const std::string& n : notes)
        note += (note.empty() ? "" : "; ") + n;
    const bool turned = r.kerbToKerb.reached && !r.turnsOnTheSpot;
    return quoted(name) + "," + fixed(r.accelerationToKmh, 0) + "," + cell(r.accelerationTime, 2) + "," +
           cell(r.topSpeed, 1) + "," + cell(r.gearChangesPerMinute, 1) + "," + fixed(r.brakingFromKmh, 0) + "," +
           cell(r.brakingDistance, 1) + "," + cell(r.brakingMeanG, 2) + "," +
           (turned ? fixed(turningSpeedKmh, 0) : std::string(r.turnsOnTheSpot ? "0" : "")) + "," +
           (turned ? fixed(r.lockReachedDegrees, 1) : std::string()) + "," + fixed(r.lockSetDegrees, 1) + "," +
           cell(r.kerbToKerb, 1) + "," + cell(r.wallToWall, 1) + "," + fixed(skidPadRadius, 0) + "," +
           cell(r.lateralG, 2) + "," + (r.lateralG.reached ? fixed(r.lateralAtKmh, 0) : std::string()) + "," +
           quoted(note);
}

std::string drivingTestsTableHeader()
{
    return "| Vehicle | Acceleration | Top speed (held " + fixed(topSpeedHoldSeconds, 0) +
           " s) | Gear changes a minute | Braking | Turning circle kerb to kerb / wall to wall | Lateral g (" +
           fixed(skidPadRadius, 0) + " m circle) |\n|---|---|---|---|---|---|---|";
}

std::string drivingTestsTableRow(const std::string& name, const DrivingTestResults& r)
{
    const std::vector<DrivingTestLine> lines = drivingTestLines(r);
    std::string turning = formatFigure(r.kerbToKerb, 1) + " / " + formatFigure(r.wallToWall, 1) + " m";
    if (r.turnsOnTheSpot)
        turning += ", on the spot";
    else if (r.kerbToKerb.reached)
        turning += " at " + fixed(turningSpeedKmh, 0) + " km/h";
    std::string lateral = lines[7].result;
    return "| " + name + " | " + accelerationName(r.accelerationToKmh) + ": " + lines[0].result + " | " +
           lines[1].result + " | " + lines[2].result + " | " + brakingName(r) + ": " + lines[3].result + ", " +
           lines[4].result + " | " + turning + " | " + lateral + " |";
}
