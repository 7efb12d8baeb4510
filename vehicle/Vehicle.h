#pragma once
// A spawned vehicle: the chassis body with its wheels in the physics world,
// its drive state and its appearance. Only the player's vehicle is stepped by
// the driving model; parked ones are plain bodies of the world.

#include "vehicle/VehicleAppearance.h"
#include "vehicle/VehicleDynamics.h"

#include <SFML/System/Vector2.hpp>

#include <memory>
#include <string>

class b2Body;
class b2World;
class Vehicle;

/// Watches (and may steer) every fixed step of one vehicle: telemetry,
/// recording and replay hang here rather than in the frame loop.
class StepObserver {
public:
    virtual ~StepObserver() = default;
    /// Before the vehicle's step: may set its inputs and the clock the step
    /// reads (`now`, the program clock unless changed).
    virtual void beforeStep(Vehicle& vehicle, double& now) = 0;
    /// After the vehicle's step and the world's.
    virtual void afterStep(Vehicle& vehicle) = 0;
};

class Vehicle {
public:
    Vehicle() = default;
    Vehicle(const Vehicle&) = delete;
    Vehicle& operator=(const Vehicle&) = delete;
    /// Bodies are left to their world: they die with it.
    ~Vehicle() = default;

    /// Creates the chassis in `world` at `positionPixels`, angle 0, and builds
    /// it as definition `kind` (none when out of range). Bodies of an earlier
    /// spawn must have been forgotten or destroyed.
    void spawn(b2World& world, int kind, bool player, const sf::Vector2f& positionPixels);
    /// Spawns a vehicle of a private copy of `def` in a world of its own:
    /// no picture, no sound, brakes held by `ground` (a static body there).
    void spawnDetached(b2World& world, b2Body* ground, const VehicleDef& def, const sf::Vector2f& positionPixels);
    /// Puts the vehicle at rest at `positionMetres` and `angle` with new wheel
    /// bodies and a fresh drive state, as after building; the gear clock
    /// starts at `clock`. The same call twice gives the same start.
    void restartAt(const b2Vec2& positionMetres, float angle, double clock);
    /// Rebuilds the vehicle for definition `kind` of vehicleDefs: fixture,
    /// wheels, joints, drive state and appearance. An index out of range
    /// leaves a bare chassis without definition.
    void setKind(int kind);
    /// One fixed step of a vehicle alone in its world: beforeWorldStep, the
    /// world's step, afterWorldStep. The program's world is stepped by a
    /// WorldStepper instead.
    void fixedStep();
    /// The observer's look and this vehicle's drive for one fixed step, before
    /// the world steps, at the program clock; false when there is no world.
    bool beforeWorldStep();
    /// The same with the step's clock given (a WorldStepper's own).
    bool beforeWorldStep(double clock);
    /// After the world's step: a vehicle whose bodies came out of it at NaN
    /// restarts where it last was whole (true then), and the observer is told.
    bool afterWorldStep();
    /// The observer told of every fixed step (null for none); not owned.
    void setStepObserver(StepObserver* observer) { observer_ = observer; }
    StepObserver* stepObserver() const { return observer_; }
    /// Forgets every body without touching the world (it was destroyed).
    void forgetBodies();
    /// Destroys the chassis and wheels in the current world.
    void destroyBodies();
    /// Keeps a private copy of the current definition, so the shared list
    /// can be reloaded while this vehicle still stands in the world.
    void keepOwnDefinition();

    /// Length of the chassis velocity, m/s.
    float speed() const;
    /// "R", "N" or the forward gear's number.
    std::string gearName() const;
    b2Body* body() const { return body_; }
    int kind() const { return kind_; }
    const VehicleDef* definition() const { return dynamics.definition; }
    bool isPlayer() const { return player_; }

    VehicleDynamics dynamics;
    VehicleAppearance appearance;
    float pitchWobble = 0.0f; ///< engine sound wobble, kept between frames

private:
    void build(const VehicleDef* def, bool withLook);
    void createChassis(const b2Vec2& positionMetres, float angle);
    void buildChassisFixture(const VehicleDef& def);
    void buildWheel(const VehicleDef& def, int mountIndex);
    void destroyWheels();
    /// True when the chassis and every wheel have a finite place and motion.
    bool whole() const;

    b2World* world_ = nullptr;
    b2Body* body_ = nullptr;
    b2Body* ground_ = nullptr; ///< null: the map's groundBody()
    StepObserver* observer_ = nullptr;
    int kind_ = -1;
    bool player_ = false;
    double stepClock_ = 0.0; ///< the clock the current step read
    bool stepped_ = false;   ///< stepped since the last spawn: stepClock_ is its clock
    b2Vec2 lastWholePosition_{0.0f, 0.0f};
    float lastWholeAngle_ = 0.0f;
    bool cameApartReported_ = false;
    std::unique_ptr<VehicleDef> ownDefinition_;
};

/// The density a vehicle's fixture gets: the file's value, or a small one
/// when that is 0 or less, so every body keeps a mass.
float usableDensity(float density);
/// The damping a vehicle's body gets: the value, or 0 when it is below 0 or
/// not a number (Box2D accepts neither).
float usableDamping(float damping);
