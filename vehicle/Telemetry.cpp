#include "vehicle/Telemetry.h"

#include "framework/Log.h"
#include "vehicle/Vehicle.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <fstream>

TelemetrySample sampleVehicle(const Vehicle& vehicle, int step)
{
    TelemetrySample s;
    s.step = step;
    s.time = static_cast<float>(step) * physicsStep;
    const VehicleDynamics& dyn = vehicle.dynamics;
    s.speedKmh = vehicle.speed() * 3.6f;
    s.gear = dyn.gear;
    s.engineLevel = dyn.engineLevel;
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

std::string telemetryCsvHeader(int wheels)
{
    std::string header = "step,time_s,speed_kmh,engine_rpm,gear,engine_level,x_m,y_m";
    for (int i = 1; i <= wheels; ++i) {
        const std::string w = "wheel" + std::to_string(i);
        header += "," + w + "_lateral_ms," + w + "_slip," + w + "_drive_force";
    }
    return header;
}

bool writeTelemetryCsv(const std::string& path, const std::vector<TelemetrySample>& samples)
{
    int wheels = 0;
    for (const TelemetrySample& s : samples)
        wheels = std::max(wheels, s.wheelCount);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        orv::Log::error("Unable to write telemetry to " + path);
        return false;
    }
    out << telemetryCsvHeader(wheels) << "\n";
    char line[160];
    for (const TelemetrySample& s : samples) {
        std::snprintf(line, sizeof line, "%d,%.4f,%.3f,%.1f,%s,%.5f,%.4f,%.4f", s.step, static_cast<double>(s.time),
                      static_cast<double>(s.speedKmh), static_cast<double>(s.engineRpm), gearName(s.gear).c_str(),
                      static_cast<double>(s.engineLevel), static_cast<double>(s.x), static_cast<double>(s.y));
        out << line;
        for (int i = 0; i < wheels; ++i) {
            // A wheel a sample does not have leaves its cells empty.
            if (i >= s.wheelCount) {
                out << ",,,";
                continue;
            }
            const WheelTelemetry& w = s.wheels[static_cast<std::size_t>(i)];
            std::snprintf(line, sizeof line, ",%.4f,%.3f,%.2f", static_cast<double>(w.lateralSpeed),
                          static_cast<double>(w.slip), static_cast<double>(w.driveForce));
            out << line;
        }
        out << "\n";
    }
    out.flush();
    if (!out) {
        orv::Log::error("Unable to write telemetry to " + path);
        return false;
    }
    return true;
}
