#pragma once
// Telemetry of a driven vehicle: one sample per fixed physics step, the last
// ten seconds in a ring whose slots keep their storage once filled, every
// sample of a recorded run in a list, and the CSV those samples are exported
// to.

#include <array>
#include <ctime>
#include <string>
#include <vector>

class Vehicle;

/// Wheels sampled per vehicle: as many as a vehicle file may mount.
constexpr int telemetryWheels = 64;
/// Samples the ring holds: ten seconds of fixed steps.
constexpr int telemetryRingSamples = 600;

struct WheelTelemetry {
    float lateralSpeed = 0.0f; ///< m/s across the wheel, + to its right
    float slip = 0.0f;         ///< lateral slip, 0 full grip, 1 none
    float driveForce = 0.0f;   ///< drive force this step, + pushes forward
    float brakeForce = 0.0f;   ///< what the brake held against this step, N
    bool brakeHeld = false;    ///< the brake holds this wheel (its limit is above 0)
    int mountX = 0;            ///< mount position, picture pixels: + right of centre
    int mountY = 0;            ///< + behind the centre
};

struct TelemetrySample {
    int step = 0;        ///< fixed steps since the run began, from 1
    float time = 0.0f;   ///< seconds since the run began
    float speedKmh = 0.0f;
    float engineRpm = 0.0f;
    int gear = 0; ///< index: 0 reverse, 1 neutral, 2 first ...
    float engineLevel = 0.0f;
    bool brakeKey = false; ///< the brake key was held this step
    float x = 0.0f; ///< chassis position, metres
    float y = 0.0f;
    int wheelCount = 0; ///< wheels sampled, at most telemetryWheels
    /// wheelCount entries: an hour's run of a four-wheeled car stays small,
    /// where room for every possible wheel in every sample would not.
    std::vector<WheelTelemetry> wheels;
};

/// The vehicle's state after a step; `step` counts from 1.
TelemetrySample sampleVehicle(const Vehicle& vehicle, int step);

/// The last telemetryRingSamples samples, oldest first; storage is taken once.
class TelemetryRing {
public:
    TelemetryRing();
    void push(const TelemetrySample& sample);
    void clear();
    int size() const { return count_; }
    /// Sample `i`, 0 the oldest.
    const TelemetrySample& at(int i) const;

private:
    std::vector<TelemetrySample> samples_;
    int next_ = 0;
    int count_ = 0;
};

/// "telemetry_YYYYMMDD_HHMMSS.csv" for a UTC time.
std::string telemetryCsvName(const std::tm& utc);
/// Column names for the wheels of `sample` by where they are mounted:
/// "front_left", "rear_right", "mid_centre"; a name taken twice gets "_2",
/// "_3" in mount order.
std::vector<std::string> telemetryWheelNames(const TelemetrySample& sample);
/// The header row for wheels of these names (no line end).
std::string telemetryCsvHeader(const std::vector<std::string>& wheelNames);
/// One row per sample after the header; false (and a log line) when the
/// file cannot be written.
bool writeTelemetryCsv(const std::string& path, const std::vector<TelemetrySample>& samples);
