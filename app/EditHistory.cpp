#include "app/EditHistory.h"

#include "audio/Audio.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleTuning.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string text(float v)
{
    char s[32];
    std::snprintf(s, sizeof s, "%.3f", static_cast<double>(v));
    return s;
}
std::string text(int v) { return std::to_string(v); }
std::string text(bool v) { return v ? "on" : "off"; }
std::string text(const sf::Vector2i& v) { return std::to_string(v.x) + "," + std::to_string(v.y); }
std::string text(const sf::IntRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}
std::string text(const SteerCurve& c) { return formatSteerCurve(c); }

bool same(float a, float b) { return a == b || (a != a && b != b); }
bool same(int a, int b) { return a == b; }
bool same(bool a, bool b) { return a == b; }
bool same(const sf::Vector2i& a, const sf::Vector2i& b) { return a == b; }
bool same(const sf::IntRect& a, const sf::IntRect& b) { return a == b; }
bool same(const SteerCurve& a, const SteerCurve& b)
{
    if (a.points.size() != b.points.size())
        return false;
    for (std::size_t i = 0; i < a.points.size(); ++i)
        if (!same(a.points[i].x, b.points[i].x) || !same(a.points[i].y, b.points[i].y))
            return false;
    return true;
}

class Differ {
public:
    explicit Differ(std::vector<FieldChange>& out) : out_(out) {}
    template <typename T>
    void field(const std::string& label, const T& a, const T& b)
    {
        if (!same(a, b))
            out_.push_back({label, text(a), text(b)});
    }
    void sound(const std::string& label, int a, int b)
    {
        if (a != b)
            out_.push_back({label, orv::Audio::getSoundName(a), orv::Audio::getSoundName(b)});
    }

private:
    std::vector<FieldChange>& out_;
};

bool massChanged(const VehicleDef& a, const VehicleDef& b)
{
    if (!same(a.mass, b.mass) || a.wheelMounts.size() != b.wheelMounts.size())
        return true;
    for (std::size_t i = 0; i < a.wheelMounts.size(); ++i)
        if (!same(a.wheelMounts[i].massRatio, b.wheelMounts[i].massRatio))
            return true;
    return false;
}

bool steeringChanged(const VehicleDef& a, const VehicleDef& b)
{
    if (a.wheelMounts.size() != b.wheelMounts.size())
        return true;
    for (std::size_t i = 0; i < a.wheelMounts.size(); ++i)
        if (a.wheelMounts[i].maxSteerAngle != b.wheelMounts[i].maxSteerAngle)
            return true;
    return false;
}

// Keeps the name: the history holds values, the definition stays the same
// vehicle kind.
void restore(VehicleDef& def, const VehicleDef& values, Vehicle* running)
{
    const VehicleDef before = def;
    const std::string name = def.name;
    def = values;
    def.name = name;
    if (running && running->definition() == &def)
        applyDefinitionChange(*running, before, def);
}

} // namespace

std::vector<FieldChange> definitionChanges(const VehicleDef& a, const VehicleDef& b)
{
    std::vector<FieldChange> out;
    Differ d(out);
    d.field("Body / Mass", a.mass, b.mass);
    d.field("Body / Tracks", a.tracks, b.tracks);
    d.field("Body / Max Speed (m/s)", a.maxSpeed, b.maxSpeed);
    d.field("Body / Lateral Slip", a.lateralSlip, b.lateralSlip);
    d.field("Body / Auto Lateral Slip", a.autoLateralSlip, b.autoLateralSlip);
    d.field("Body / Idle RPM", a.idleRPM, b.idleRPM);
    d.field("Body / Max RPM", a.maxRPM, b.maxRPM);
    d.field("Body / Acceleration", a.acceleration, b.acceleration);
    d.field("Body / Power", a.power, b.power);
    d.field("Body / Steer Speed", a.steerSpeed, b.steerSpeed);
    d.field("Body / Instant Steer", a.instantSteer, b.instantSteer);
    d.field("Body / Steer Boost", a.steerBoost, b.steerBoost);
    d.field("Body / Steer Torque Boost", a.steerTorqueBoost, b.steerTorqueBoost);
    d.field("Body / Full Speed Steer Curve", a.fullSpeedSteerCurve, b.fullSpeedSteerCurve);
    d.field("Body / Linear Damping", a.linearDamping, b.linearDamping);
    d.field("Body / Angular Damping", a.angularDamping, b.angularDamping);
    d.field("Body / Restitution", a.restitution, b.restitution);
    d.field("Body / Brake Power", a.brakePower, b.brakePower);
    d.field("Body / Reverse Ratio", a.reverseRatio, b.reverseRatio);
    d.field("Body / Exhaust Pos", a.exhaustPos, b.exhaustPos);
    d.field("Body / Image Rect", a.imageRect, b.imageRect);
    d.sound("Sound / Idle Sound", a.idleSound, b.idleSound);
    d.sound("Sound / Moving Sound", a.movingSound, b.movingSound);
    d.sound("Sound / Horn Sound", a.hornSound, b.hornSound);
    d.field("Sound / Min Pitch", a.minPitch, b.minPitch);
    d.field("Sound / Max Pitch", a.maxPitch, b.maxPitch);

    d.field("Wheel Mounts / Count", static_cast<int>(a.wheelMounts.size()), static_cast<int>(b.wheelMounts.size()));
    const std::size_t mounts = std::min(a.wheelMounts.size(), b.wheelMounts.size());
    for (std::size_t i = 0; i < mounts; ++i) {
        const std::string w = "Wheel " + std::to_string(i + 1) + " / ";
        const WheelMount& ma = a.wheelMounts[i];
        const WheelMount& mb = b.wheelMounts[i];
        d.field(w + "Position", ma.pos, mb.pos);
        d.field(w + "Wheel Type", ma.wheelType, mb.wheelType);
        d.field(w + "Drive", ma.drive, mb.drive);
        d.field(w + "Max Steer Angle", ma.maxSteerAngle, mb.maxSteerAngle);
        d.field(w + "Mass Ratio", ma.massRatio, mb.massRatio);
    }
    d.field("Wheel Types / Count", static_cast<int>(a.wheelTypes.size()), static_cast<int>(b.wheelTypes.size()));
    const std::size_t types = std::min(a.wheelTypes.size(), b.wheelTypes.size());
    for (std::size_t i = 0; i < types; ++i) {
        d.field("Wheel Type " + std::to_string(i) + " / Image Rect", a.wheelTypes[i].imageRect,
                b.wheelTypes[i].imageRect);
        d.field("Wheel Type " + std::to_string(i) + " / Visible", a.wheelTypes[i].wheelVisible,
                b.wheelTypes[i].wheelVisible);
    }

    d.field("Gears / Min Gear Time", a.minGearTime, b.minGearTime);
    d.field("Gears / Count", static_cast<int>(a.gears.size()), static_cast<int>(b.gears.size()));
    const std::size_t gears = std::min(a.gears.size(), b.gears.size());
    // Reverse and neutral are not edited: reverse follows Reverse Ratio.
    for (std::size_t i = firstForwardGear; i < gears; ++i) {
        const std::string g = "Gear " + std::to_string(i - 1) + " / ";
        d.field(g + "Ratio", a.gears[i].ratio, b.gears[i].ratio);
        d.field(g + "Pitch", a.gears[i].pitch, b.gears[i].pitch);
    }
    return out;
}

void applyDefinitionChange(Vehicle& vehicle, const VehicleDef& before, const VehicleDef& after)
{
    if (massChanged(before, after))
        applyMass(vehicle); // power follows mass while it is negative
    if (!same(before.power, after.power))
        applyPower(vehicle);
    if (!same(before.maxSpeed, after.maxSpeed))
        applyMaxSpeed(vehicle);
    if (!same(before.lateralSlip, after.lateralSlip))
        applyLateralSlip(vehicle);
    if (!same(before.linearDamping, after.linearDamping) || !same(before.angularDamping, after.angularDamping) ||
        !same(before.restitution, after.restitution))
        applyDamping(vehicle);
    if (steeringChanged(before, after))
        applySteerLimits(vehicle);
    // A vehicle in a gear the list no longer has drops to its top gear.
    const int gears = static_cast<int>(after.gears.size());
    if (vehicle.dynamics.gear >= gears)
        vehicle.dynamics.gear = std::max(gears - 1, 0);
    // The controls start the engine loops again with the new sounds.
    if (vehicle.isPlayer() && before.idleSound != after.idleSound)
        orv::Audio::stopSound("ENG_IDLE_LOOP");
    if (vehicle.isPlayer() && before.movingSound != after.movingSound)
        orv::Audio::stopSound("ENG_MOVING_LOOP");
}

void EditHistory::reset(const VehicleDef& current)
{
    undo_.clear();
    redo_.clear();
    committed_ = current;
}

bool EditHistory::commit(const VehicleDef& current)
{
    if (definitionChanges(committed_, current).empty())
        return false;
    undo_.push_back(committed_);
    if (undo_.size() > maxEditSteps)
        undo_.erase(undo_.begin());
    redo_.clear();
    committed_ = current;
    return true;
}

bool EditHistory::undo(VehicleDef& def, Vehicle* running)
{
    if (undo_.empty())
        return false;
    redo_.push_back(def);
    restore(def, undo_.back(), running);
    undo_.pop_back();
    committed_ = def;
    return true;
}

bool EditHistory::redo(VehicleDef& def, Vehicle* running)
{
    if (redo_.empty())
        return false;
    undo_.push_back(def);
    restore(def, redo_.back(), running);
    redo_.pop_back();
    committed_ = def;
    return true;
}
