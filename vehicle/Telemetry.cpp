#include "vehicle/Telemetry.h"

#include "framework/Log.h"
#include "vehicle/Vehicle.h"
#include "world/Units.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

TelemetrySample sampleVehicle(const Vehicle& vehicle, int step)
{
    TelemetrySample s;
    s.step = step;
    s.time = static_cast<float>(step) * physicsStep;
    const VehicleDynamics& dyn = vehicle.dynamics;
    s.speedKmh = vehicle.speed() * kmhPerMs;
    s.gear = dyn.gear;
    s.engineLevel = dyn.engineLevel;
    s.brakeKey = dyn.handbrake;
    if (const VehicleDef* def = vehicle.definition()) {
        const float level = std::fabs(dyn.engineLevel);
        s.engineRpm = def->idleRPM * (1.0f - level) + def->maxRPM * level;
    }
    if (const b2Body* body = vehicle.body()) {
        s.x = body->GetPosition().x;
        s.y = body->GetPosition().y;
    }
    s.wheelCount = std::min(static_cast<int>(dyn.wheels.size()), telemetryWheels);
    s.wheels.resize(static_cast<std::size_t>(s.wheelCount));
    for (int i = 0; i < s.wheelCount; ++i) {
        const Wheel& wheel = dyn.wheels[static_cast<std::size_t>(i)];
        WheelTelemetry& w = s.wheels[static_cast<std::size_t>(i)];
        w.slip = wheel.lateralSlip;
        // The model pushes forward with a negative local force.
        w.driveForce = -wheel.stepForce;
        const VehicleDef* def = vehicle.definition();
        if (def && wheel.mountIndex >= 0 && wheel.mountIndex < static_cast<int>(def->wheelMounts.size())) {
            w.mountX = def->wheelMounts[static_cast<std::size_t>(wheel.mountIndex)].pos.x;
            w.mountY = def->wheelMounts[static_cast<std::size_t>(wheel.mountIndex)].pos.y;
        }
        // The brake is a friction joint to the ground: its reaction is the
        // force it actually held this step, its limit what it could hold.
        if (const b2FrictionJoint* brake = wheel.frictionJoint) {
            w.brakeForce = brake->GetReactionForce(1.0f / physicsStep).Length();
            w.brakeHeld = brake->GetMaxForce() > 0.0f;
        }
        if (wheel.body)
            w.lateralSpeed = b2Dot(wheel.body->GetLinearVelocity(), wheel.body->GetWorldVector(b2Vec2(1.0f, 0.0f)));
    }
    return s;
}

TelemetryRing::TelemetryRing() : samples_(static_cast<std::size_t>(telemetryRingSamples)) {}

void TelemetryRing::push(const TelemetrySample& sample)
{
    samples_[static_cast<std::size_t>(next_)] = sample;
    next_ = (next_ + 1) % telemetryRingSamples;
    count_ = std::min(count_ + 1, telemetryRingSamples);
}

void TelemetryRing::clear()
{
    next_ = 0;
    count_ = 0;
}

const TelemetrySample& TelemetryRing::at(int i) const
{
    assert(i >= 0 && i < count_);
    const int oldest = count_ < telemetryRingSamples ? 0 : next_;
    return samples_[static_cast<std::size_t>((oldest + i) % telemetryRingSamples)];
}

std::string telemetryCsvName(const std::tm& utc)
{
    char name[64];
    std::snprintf(name, sizeof name, "telemetry_%04d%02d%02d_%02d%02d%02d.csv", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return name;
}

std::vector<std::string> telemetryWheelNames(const TelemetrySample& sample)
{
    std::vector<std::string> names;
    for (const WheelTelemetry& w : sample.wheels) {
        // The nose points up the picture: negative y is the front.
        const std::string name = std::string(w.mountY < 0 ? "front" : (w.mountY > 0 ? "rear" : "mid")) + "_" +
                                 (w.mountX < 0 ? "left" : (w.mountX > 0 ? "right" : "centre"));
        const std::size_t taken = static_cast<std::size_t>(std::count_if(
            names.begin(), names.end(), [&name](const std::string& n) { return n.rfind(name, 0) == 0; }));
        names.push_back(taken == 0 ? name : name + "_" + std::to_string(taken + 1));
    }
    return names;
}

std::string telemetryCsvHeader(const std::vector<std::string>& wheelNames)
{
    std::string header =
        "step,time_s,speed_kmh,engine_rpm,gear,engine_level_fraction,brake_key,x_east_m,y_north_m";
    for (const std::string& w : wheelNames)
        header += "," + w + "_lateral_right_mps," + w + "_slip_fraction," + w + "_forward_force_N," + w +
                  "_brake_force_N," + w + "_brake_held";
    return header;
}

namespace {

// A value rounded to `decimals`; a value that rounds to zero is "0.000", never
// "-0.000", which a spreadsheet shows as a different number.
void appendCell(std::string& row, float value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
    const char* digits = text[0] == '-' ? text + 1 : text;
    const bool zero = std::all_of(digits, digits + std::strlen(digits), [](char c) { return c == '0' || c == '.'; });
    row += ',';
    row += zero ? digits : text;
}

} // namespace

bool writeTelemetryCsv(const std::string& path, const std::vector<TelemetrySample>& samples)
{
    // The wheels are named from the sample with the most of them.
    const TelemetrySample* widest = nullptr;
    for (const TelemetrySample& s : samples)
        if (!widest || s.wheelCount > widest->wheelCount)
            widest = &s;
    const std::vector<std::string> names = widest ? telemetryWheelNames(*widest) : std::vector<std::string>();
    const int wheels = static_cast<int>(names.size());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        orv::Log::error("Unable to write telemetry to " + path);
        return false;
    }
    out << telemetryCsvHeader(names) << "\n";
    std::string row;
    for (const TelemetrySample& s : samples) {
        row = std::to_string(s.step);
        appendCell(row, s.time, 4);
        appendCell(row, s.speedKmh, 3);
        appendCell(row, s.engineRpm, 1);
        // Reverse -1, neutral 0, forward gears from 1, as the HUD names them.
        row += "," + std::to_string(s.gear - neutralGear);
        appendCell(row, s.engineLevel, 5);
        row += s.brakeKey ? ",1" : ",0";
        // The world's y grows down the screen; north is up.
        appendCell(row, s.x, 4);
        appendCell(row, -s.y, 4);
        for (int i = 0; i < wheels; ++i) {
            // A wheel a sample does not have leaves its cells empty.
            if (i >= s.wheelCount) {
                row += ",,,,,";
                continue;
            }
            const WheelTelemetry& w = s.wheels[static_cast<std::size_t>(i)];
            appendCell(row, w.lateralSpeed, 4);
            appendCell(row, w.slip, 3);
            appendCell(row, w.driveForce, 2);
            appendCell(row, w.brakeForce, 2);
            row += w.brakeHeld ? ",1" : ",0";
        }
        out << row << "\n";
    }
    out.flush();
    if (!out) {
        orv::Log::error("Unable to write telemetry to " + path);
        return false;
    }
    return true;
}
