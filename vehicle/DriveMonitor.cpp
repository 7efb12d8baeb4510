#include "vehicle/DriveMonitor.h"

#include "framework/Log.h"

#include <box2d/box2d.h>

#include <cmath>
#include <string>

namespace {

// A minute of samples up front; longer runs grow the list now and then, never
// per step.
constexpr std::size_t reservedRunSamples = 60 * 60;

signed char sign(float v)
{
    return static_cast<signed char>(v > 0.0f ? 1 : (v < 0.0f ? -1 : 0));
}

} // namespace

DriveMonitor::DriveMonitor()
{
    runA_.reserve(reservedRunSamples);
    runB_.reserve(reservedRunSamples);
}

namespace {

const b2Body* firstWheelOf(const Vehicle& vehicle)
{
    return vehicle.dynamics.wheels.empty() ? nullptr : vehicle.dynamics.wheels.front().body;
}

} // namespace

bool DriveMonitor::sameVehicle(const Vehicle& vehicle) const
{
    return vehicle.body() == chassis_ && vehicle.definition() && vehicle.definition() == definition_ &&
           firstWheelOf(vehicle) == firstWheel_;
}

void DriveMonitor::beginRun(Vehicle& vehicle, const b2Vec2& start, float angle)
{
    // Both runs start alike: at rest, new bodies, gear clock at 0.
    vehicle.restartAt(start, angle, 0.0);
    chassis_ = vehicle.body();
    firstWheel_ = firstWheelOf(vehicle);
    definition_ = vehicle.definition();
    step_ = 0;
    lastEngineLevel_ = vehicle.dynamics.engineLevel;
    live_.clear();
}

void DriveMonitor::startRecording(Vehicle& vehicle, const std::string& mapPath)
{
    if (!vehicle.body() || !vehicle.definition())
        return;
    recording_ = DriveRecording();
    recording_.mapPath = mapPath;
    recording_.vehicleName = vehicle.definition()->name;
    recording_.definition = *vehicle.definition();
    recording_.start = vehicle.body()->GetPosition();
    recording_.startAngle = vehicle.body()->GetAngle();
    recording_.inputs.reserve(reservedRunSamples);
    runA_.clear();
    runB_.clear();
    replayFinished_ = false;
    beginRun(vehicle, recording_.start, recording_.startAngle);
    mode_ = Mode::Recording;
}

void DriveMonitor::stopRecording(const Vehicle& vehicle)
{
    if (mode_ != Mode::Recording)
        return;
    mode_ = Mode::Watching;
    recording_.hasEndHash = sameVehicle(vehicle);
    recording_.endHash = recording_.hasEndHash ? vehicleStateHash(vehicle) : 0;
}

bool DriveMonitor::startReplay(Vehicle& vehicle)
{
    if (!hasRecording() || !vehicle.body() || !vehicle.definition() || mode_ == Mode::Recording)
        return false;
    // A recording set by hand has not been through the loader's check.
    const std::string pose = startPoseProblem(recording_.start, recording_.startAngle);
    if (!pose.empty()) {
        orv::Log::error("DriveMonitor::startReplay: " + pose);
        return false;
    }
    runB_.clear();
    replayFinished_ = false;
    beginRun(vehicle, recording_.start, recording_.startAngle);
    mode_ = Mode::Replaying;
    return true;
}

void DriveMonitor::stopReplay()
{
    if (mode_ == Mode::Replaying)
        mode_ = Mode::Watching;
}

void DriveMonitor::setRecording(DriveRecording recording)
{
    if (mode_ != Mode::Watching)
        mode_ = Mode::Watching;
    recording_ = std::move(recording);
    runA_.clear();
    runB_.clear();
    replayFinished_ = false;
}

void DriveMonitor::beforeStep(Vehicle& vehicle, double& now)
{
    if (mode_ == Mode::Watching)
        return;
    // Respawned, another map or another vehicle: that run is over.
    if (!sameVehicle(vehicle)) {
        mode_ = Mode::Watching;
        recording_.hasEndHash = false;
        return;
    }
    VehicleDynamics& dyn = vehicle.dynamics;
    now = static_cast<double>(step_) * physicsStep;
    if (mode_ == Mode::Recording) {
        if (static_cast<int>(recording_.inputs.size()) >= maxRecordedSteps) {
            stopRecording(vehicle);
            return;
        }
        // Only the controls change the level between steps: to 0, when the
        // opposite direction is pressed.
        StepInput in;
        in.throttle = sign(dyn.throttle);
        in.steer = sign(dyn.steerInput);
        in.handbrake = dyn.handbrake;
        in.cutEngine = dyn.engineLevel != lastEngineLevel_ && dyn.engineLevel == 0.0f;
        recording_.inputs.push_back(in);
        return;
    }
    // Replaying: the keys read this frame count for nothing.
    const StepInput& in = recording_.inputs[static_cast<std::size_t>(step_)];
    dyn.engineLevel = in.cutEngine ? 0.0f : lastEngineLevel_;
    dyn.throttle = in.throttle;
    dyn.steerInput = in.steer;
    dyn.handbrake = in.handbrake;
    dyn.brakeInput = 1.0f; // recorded as keys: full brakes
}

void DriveMonitor::afterStep(Vehicle& vehicle)
{
    if (mode_ == Mode::Watching) {
        live_.push(sampleVehicle(vehicle, ++watchStep_));
        return;
    }
    ++step_;
    const TelemetrySample sample = sampleVehicle(vehicle, step_);
    live_.push(sample);
    lastEngineLevel_ = vehicle.dynamics.engineLevel;
    if (mode_ == Mode::Recording) {
        runA_.push_back(sample);
        return;
    }
    runB_.push_back(sample);
    if (step_ >= static_cast<int>(recording_.inputs.size())) {
        mode_ = Mode::Watching;
        replayFinished_ = true;
        replayHash_ = vehicleStateHash(vehicle);
        orv::Log::write("Replay ended after " + std::to_string(step_) + " steps in " +
                        (recording_.hasEndHash && replayHash_ == recording_.endHash ? "the recorded state"
                                                                                     : "a different state"));
        // A loaded recording gets its samples from its first faithful replay.
        if (runA_.empty() && recording_.hasEndHash && replayHash_ == recording_.endHash)
            runA_ = runB_;
    }
}
