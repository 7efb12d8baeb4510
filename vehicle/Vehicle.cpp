#include "vehicle/Vehicle.h"

#include "audio/Audio.h"
#include "framework/Core.h"
#include "framework/Log.h"
#include "framework/ProgramClock.h"
#include "world/CollisionFilter.h"
#include "world/MapPhysics.h"
#include "world/Units.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

// A body needs area and mass to be simulated; a definition without a picture
// rectangle or with mass 0 still gets a small, light box.
constexpr float minHalfExtent = 0.05f; // metres
constexpr float minDensity = 0.1f;

b2Vec2 halfExtents(const sf::IntRect& rect)
{
    return b2Vec2(std::max(static_cast<float>(rect.width) * 0.5f * metresPerPixel, minHalfExtent),
                  std::max(static_cast<float>(rect.height) * 0.5f * metresPerPixel, minHalfExtent));
}

b2FixtureDef boxFixture(const b2PolygonShape& shape, float density)
{
    b2FixtureDef def;
    def.shape = &shape;
    def.friction = 0.2f;
    def.density = usableDensity(density);
    def.filter.categoryBits = vehicleCategoryBits;
    def.filter.maskBits = vehicleMaskBits;
    return def;
}

} // namespace

float usableDensity(float density)
{
    return density > 0.0f && std::isfinite(density) ? density : minDensity;
}

float usableDamping(float damping)
{
    return damping > 0.0f && std::isfinite(damping) ? damping : 0.0f;
}

void Vehicle::createChassis(const b2Vec2& positionMetres, float angle)
{
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position = positionMetres;
    def.angle = angle;
    def.gravityScale = 1.0f;
    def.allowSleep = true;
    body_ = world_->CreateBody(&def);
    dynamics.body = body_;
    lastWholePosition_ = positionMetres;
    lastWholeAngle_ = angle;
}

void Vehicle::spawn(b2World& world, int kind, bool player, const sf::Vector2f& positionPixels)
{
    assert(!body_ && "forget or destroy the old bodies before spawning again");
    world_ = &world;
    ground_ = nullptr;
    player_ = player;
    stepped_ = false;
    createChassis(b2Vec2(positionPixels.x * metresPerPixel, positionPixels.y * metresPerPixel), 0.0f);
    setKind(kind);
}

void Vehicle::spawnDetached(b2World& world, b2Body* ground, const VehicleDef& def, const sf::Vector2f& positionPixels)
{
    assert(!body_ && "forget or destroy the old bodies before spawning again");
    world_ = &world;
    ground_ = ground;
    player_ = false;
    stepped_ = false;
    createChassis(b2Vec2(positionPixels.x * metresPerPixel, positionPixels.y * metresPerPixel), 0.0f);
    kind_ = -1;
    ownDefinition_ = std::make_unique<VehicleDef>(def);
    build(ownDefinition_.get(), false);
}

void Vehicle::restartAt(const b2Vec2& positionMetres, float angle, double clock)
{
    if (!body_ || !world_)
        return;
    // A new chassis as well as new wheels: an old body carries contacts and
    // sleep time that would make two starts differ.
    const VehicleDef* def = dynamics.definition;
    std::unique_ptr<VehicleDef> own = std::move(ownDefinition_);
    destroyWheels();
    world_->DestroyBody(body_);
    createChassis(positionMetres, angle);
    ownDefinition_ = std::move(own);
    build(def, false);
    dynamics.gearChangeTime = clock;
}

void Vehicle::setKind(int kind)
{
    if (!body_)
        return;
    const bool known = kind >= 0 && kind < static_cast<int>(vehicleDefs.size());
    kind_ = known ? kind : -1;
    ownDefinition_.reset();
    build(known ? &vehicleDefs[static_cast<std::size_t>(kind)] : nullptr, true);
}

void Vehicle::build(const VehicleDef* def, bool withLook)
{
    body_->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    body_->SetAngularVelocity(0.0f);
    world_->ClearForces();
    // The engine keys belong to the player's vehicle; a parked one must not
    // cut its sound.
    if (player_) {
        orv::Audio::stopSound("ENG_IDLE_LOOP");
        orv::Audio::stopSound("ENG_MOVING_LOOP");
    }

    while (b2Fixture* fixture = body_->GetFixtureList())
        body_->DestroyFixture(fixture);
    if (def)
        buildChassisFixture(*def);
    body_->ResetMassData();

    if (withLook) {
        if (def)
            prepareAppearance(appearance, *def, orv::isWindowOpen());
        else
            clearAppearance(appearance);
    }
    destroyWheels();
    VehicleDynamics& dyn = dynamics;
    dyn.gear = reverseGear;
    dyn.engineLevel = 0.0f;
    dyn.throttle = 0.0f;
    dyn.steerInput = 0.0f;
    dyn.handbrake = false;
    dyn.brakeInput = 1.0f;
    dyn.steerAngle = 0.0f;
    dyn.steerState = 0.0f;
    dyn.steerLimit = 0.0f;
    dyn.currentMaxSpeed = 0.0f;
    // Rebuilt while driving, the gear clock goes on from the clock the steps
    // read, which a paused or slowed world holds behind the program clock.
    dyn.gearChangeTime = stepped_ ? stepClock_ : orv::ProgramClock::now();
    dyn.definition = def;
    if (!def) {
        dyn.maxSpeed = 0.0f;
        dyn.power = 0.0f;
        dyn.defaultSlip = 0.0f;
        return;
    }
    dyn.maxSpeed = def->maxSpeed;
    dyn.power = def->power < 0.0f ? def->mass * 250.0f : def->power;
    dyn.defaultSlip = def->lateralSlip;

    body_->SetLinearDamping(usableDamping(def->linearDamping));
    body_->SetAngularDamping(usableDamping(def->angularDamping));
    if (b2Fixture* fixture = body_->GetFixtureList())
        fixture->SetRestitution(def->restitution);

    dyn.wheels.reserve(def->wheelMounts.size());
    for (std::size_t i = 0; i < def->wheelMounts.size(); ++i)
        buildWheel(*def, static_cast<int>(i));
}

void Vehicle::buildChassisFixture(const VehicleDef& def)
{
    const b2Vec2 half = halfExtents(def.imageRect);
    b2PolygonShape shape;
    shape.SetAsBox(half.x, half.y);
    shape.m_radius = 0.01f;
    b2FixtureDef fixture = boxFixture(shape, def.mass);
    fixture.restitution = def.restitution;
    body_->CreateFixture(&fixture);
}

void Vehicle::buildWheel(const VehicleDef& def, int mountIndex)
{
    const WheelMount& mount = def.wheelMounts[static_cast<std::size_t>(mountIndex)];
    const b2Vec2 local(static_cast<float>(mount.pos.x) * metresPerPixel, static_cast<float>(mount.pos.y) * metresPerPixel);
    const b2Vec2 centre = body_->GetWorldPoint(local);

    b2BodyDef bodyDef;
    bodyDef.type = b2_dynamicBody;
    bodyDef.position = centre;
    bodyDef.angle = body_->GetAngle();
    // Box2D asserts on negative damping; the tuning editor's typed-in values
    // are not clamped to its sliders.
    bodyDef.linearDamping = usableDamping(def.linearDamping);
    bodyDef.angularDamping = usableDamping(def.angularDamping);
    b2Body* wheelBody = world_->CreateBody(&bodyDef);

    // Mounts without any wheel type (or with an empty picture rectangle)
    // still take part in the physics, with a small box.
    const bool typed = mount.wheelType >= 0 && mount.wheelType < static_cast<int>(def.wheelTypes.size());
    const sf::IntRect rect = typed ? def.wheelTypes[static_cast<std::size_t>(mount.wheelType)].imageRect : sf::IntRect();
    const b2Vec2 half = halfExtents(rect);
    b2PolygonShape shape;
    shape.SetAsBox(half.x, half.y);
    shape.m_radius = 0.01f;
    b2FixtureDef fixture = boxFixture(shape, def.mass * mount.massRatio);
    // A wheel never outweighs the body it hangs on: Box2D's joints come apart
    // under such ratios (a body without a picture rectangle is a small box
    // under wheels of full size) and the vehicle ends at NaN. Real vehicles
    // have wheels of a few percent of the body.
    const float area = 4.0f * half.x * half.y;
    const float bodyMass = body_->GetMass();
    if (bodyMass > 0.0f && fixture.density * area > bodyMass)
        fixture.density = bodyMass / area;
    fixture.isSensor = true;
    wheelBody->CreateFixture(&fixture);

    const bool steers = mount.maxSteerAngle != 0 && !def.tracks;
    if (steers) {
        b2RevoluteJointDef joint;
        joint.Initialize(body_, wheelBody, centre);
        world_->CreateJoint(&joint);
    } else {
        b2PrismaticJointDef joint;
        joint.Initialize(body_, wheelBody, centre, b2Vec2(1.0f, 0.0f));
        joint.enableLimit = true;
        joint.lowerTranslation = 0.0f;
        joint.upperTranslation = 0.0f;
        world_->CreateJoint(&joint);
    }

    b2FrictionJointDef brake;
    brake.bodyA = wheelBody;
    brake.bodyB = ground_ ? ground_ : groundBody();
    brake.localAnchorA.SetZero();
    brake.localAnchorB.SetZero();
    brake.maxForce = 0.0f;
    brake.maxTorque = 0.0f;
    brake.collideConnected = false;

    Wheel wheel;
    wheel.body = wheelBody;
    wheel.frictionJoint = static_cast<b2FrictionJoint*>(world_->CreateJoint(&brake));
    wheel.lateralSlip = dynamics.defaultSlip;
    wheel.mountIndex = mountIndex;
    wheel.drive = mount.drive;
    wheel.dynamics = &dynamics;
    dynamics.wheels.push_back(wheel);
    if (steers) {
        dynamics.steeringWheels.push_back(mountIndex);
        dynamics.steerLimit = std::max(dynamics.steerLimit, static_cast<float>(std::abs(mount.maxSteerAngle)));
    }
}

void Vehicle::destroyWheels()
{
    for (Wheel& wheel : dynamics.wheels)
        if (wheel.body && world_)
            world_->DestroyBody(wheel.body);
    dynamics.wheels.clear();
    dynamics.steeringWheels.clear();
}

void Vehicle::fixedStep()
{
    if (!beforeWorldStep())
        return;
    world_->Step(physicsStep, physicsVelocityIterations, physicsPositionIterations);
    afterWorldStep();
}

bool Vehicle::beforeWorldStep()
{
    return beforeWorldStep(orv::ProgramClock::now());
}

bool Vehicle::beforeWorldStep(double clock)
{
    if (!world_)
        return false;
    stepClock_ = clock;
    stepped_ = true;
    if (observer_)
        observer_->beforeStep(*this, stepClock_);
    stepVehicle(dynamics, physicsStep, stepClock_);
    return true;
}

bool Vehicle::afterWorldStep()
{
    bool restarted = false;
    if (body_) {
        if (whole()) {
            lastWholePosition_ = body_->GetPosition();
            lastWholeAngle_ = body_->GetAngle();
            for (Wheel& wheel : dynamics.wheels)
                recordBrakeForce(wheel, physicsStep);
        } else {
            // Extreme files (wheels far from a tiny body, huge power on no
            // mass) can drive Box2D's joint solver past any finite number; the
            // vehicle would vanish from the map and poison everything it
            // touches. Once per vehicle is enough to say so.
            if (!cameApartReported_) {
                const std::string name = dynamics.definition ? dynamics.definition->name : std::string("(none)");
                orv::Log::warning("Vehicle " + name + ": its physics came apart (not a number); restarted where it " +
                                  "last was whole");
                cameApartReported_ = true;
            }
            restartAt(lastWholePosition_, std::remainder(lastWholeAngle_, 2.0f * b2_pi), stepClock_);
            restarted = true;
        }
    }
    if (observer_)
        observer_->afterStep(*this);
    return restarted;
}

bool Vehicle::whole() const
{
    const auto finite = [](const b2Body* b) {
        const b2Vec2 p = b->GetPosition(), v = b->GetLinearVelocity();
        return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(b->GetAngle()) && std::isfinite(v.x) &&
               std::isfinite(v.y) && std::isfinite(b->GetAngularVelocity());
    };
    if (!finite(body_))
        return false;
    for (const Wheel& wheel : dynamics.wheels)
        if (wheel.body && !finite(wheel.body))
            return false;
    return true;
}

void Vehicle::forgetBodies()
{
    body_ = nullptr;
    ground_ = nullptr;
    dynamics.body = nullptr;
    dynamics.wheels.clear();
    dynamics.steeringWheels.clear();
    world_ = nullptr;
}

void Vehicle::destroyBodies()
{
    destroyWheels();
    if (body_ && world_)
        world_->DestroyBody(body_);
    forgetBodies();
}

void Vehicle::keepOwnDefinition()
{
    if (!dynamics.definition || ownDefinition_)
        return;
    ownDefinition_ = std::make_unique<VehicleDef>(*dynamics.definition);
    dynamics.definition = ownDefinition_.get();
}

float Vehicle::speed() const
{
    return vehicleSpeed(dynamics);
}

std::string Vehicle::gearName() const
{
    return ::gearName(dynamics.gear);
}
