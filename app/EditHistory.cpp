#include "app/EditHistory.h"

#include "audio/Audio.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleFields.h"
#include "vehicle/VehicleTuning.h"

#include <algorithm>
#include <cstdio>

namespace {

bool same(float a, float b) { return a == b || (a != a && b != b); }

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
    const std::pair<FieldList, const char*> counts[] = {{FieldList::None, nullptr},
                                                        {FieldList::WheelType, "Wheel Types / Count"},
                                                        {FieldList::WheelMount, "Wheel Mounts / Count"},
                                                        {FieldList::Gear, "Gears / Count"}};
    for (const auto& [list, countLabel] : counts) {
        bool counted = countLabel == nullptr;
        for (const VehicleField& field : vehicleFields()) {
            if (field.list != list)
                continue;
            const std::size_t na = fieldEntries(field, a);
            const std::size_t nb = fieldEntries(field, b);
            if (!counted && na != nb)
                out.push_back({countLabel, std::to_string(na), std::to_string(nb)});
            counted = true;
            for (std::size_t i = 0; i < std::min(na, nb); ++i)
                if (!sameField(field, a, b, i))
                    out.push_back({fieldLabel(field, i), fieldText(field, a, i), fieldText(field, b, i)});
        }
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
