#pragma once
// What the tuning editor changes on a running vehicle: each call carries one
// kind of edit of its definition over to the bodies and the drive state.

#include <vector>

class Vehicle;
struct VehicleDef;

/// Chassis and wheel densities from `mass` (and the mount ratios); the
/// engine power follows `mass` while `power` is negative.
void applyMass(Vehicle& vehicle);
/// Engine power from `power`, or `mass` x 250 while it is negative.
void applyPower(Vehicle& vehicle);
/// The top speed from `maxSpeed`.
void applyMaxSpeed(Vehicle& vehicle);
/// Every wheel's slip from `lateralSlip`.
void applyLateralSlip(Vehicle& vehicle);
/// Chassis and wheel damping, and the chassis restitution.
void applyDamping(Vehicle& vehicle);
/// The steering limit from the mounts' `maxSteerAngle`.
void applySteerLimits(Vehicle& vehicle);
/// Removes the gears numbered in `marked` from `def`, the highest first. A
/// vehicle in a removed gear drops one gear; one above it moves down with its
/// gear, so its index stays in the list.
void deleteGears(VehicleDef& def, std::vector<int> marked, Vehicle* running);
