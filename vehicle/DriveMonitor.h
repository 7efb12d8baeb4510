#pragma once
// Watches every fixed step of the player's vehicle: telemetry for the charts,
// and the record and replay of a drive. While recording, the inputs of each
// step are kept; a replay feeds them back through the same steps. Both runs
// start the vehicle at rest and read a clock that counts steps, so a replay
// with unchanged values ends in the recorded state.

#include "vehicle/DriveRecording.h"
#include "vehicle/Telemetry.h"
#include "vehicle/Vehicle.h"

#include <cstdint>
#include <string>
#include <vector>

class b2Body;

class DriveMonitor : public StepObserver {
public:
    enum class Mode { Watching, Recording, Replaying };

    DriveMonitor();
    /// Restarts `vehicle` at rest where it stands and records from there.
    void startRecording(Vehicle& vehicle, const std::string& mapPath);
    /// Ends the recording with the vehicle's state hash.
    void stopRecording(const Vehicle& vehicle);
    /// Restarts `vehicle` at the recording's start with its definition as it
    /// is now and feeds the recorded inputs; false without a recording.
    bool startReplay(Vehicle& vehicle);
    /// Stops a replay before its end. A replay that ends writes "Replay
    /// ended after N steps in the recorded state" (or "a different state").
    void stopReplay();
    /// Takes a loaded recording as run A (its samples are unknown until it is
    /// replayed once).
    void setRecording(DriveRecording recording);

    void beforeStep(Vehicle& vehicle, double& now) override;
    void afterStep(Vehicle& vehicle) override;

    Mode mode() const { return mode_; }
    const TelemetryRing& live() const { return live_; }
    const DriveRecording& recording() const { return recording_; }
    bool hasRecording() const { return !recording_.inputs.empty(); }
    /// Samples of the recorded run (A) and of the last replay (B).
    const std::vector<TelemetrySample>& runA() const { return runA_; }
    const std::vector<TelemetrySample>& runB() const { return runB_; }
    /// After a finished replay: its end state hash.
    bool replayFinished() const { return replayFinished_; }
    std::uint64_t replayHash() const { return replayHash_; }
    /// Steps of the current run so far.
    int runSteps() const { return step_; }

private:
    bool sameVehicle(const Vehicle& vehicle) const;
    void beginRun(Vehicle& vehicle, const b2Vec2& start, float angle);

    Mode mode_ = Mode::Watching;
    TelemetryRing live_;
    DriveRecording recording_;
    std::vector<TelemetrySample> runA_;
    std::vector<TelemetrySample> runB_;
    int step_ = 0;        ///< steps of the current run
    int watchStep_ = 0;   ///< steps while only watching
    float lastEngineLevel_ = 0.0f;
    // The run's vehicle: a respawn, a rebuild or another definition ends the run.
    const b2Body* chassis_ = nullptr;
    const b2Body* firstWheel_ = nullptr;
    const VehicleDef* definition_ = nullptr;
    bool replayFinished_ = false;
    std::uint64_t replayHash_ = 0;
};
