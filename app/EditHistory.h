#pragma once
// Undo and redo for the tuning editor, and what differs from the file on
// disk. Every committed edit is one step: the whole definition before and
// after it. A step taken back or again is carried over to the running vehicle
// the way the editor carries over an edit.

#include "vehicle/VehicleDef.h"

#include <string>
#include <vector>

class Vehicle;

/// One field whose value differs between two definitions, as the editor
/// labels it ("Body / Power", "Wheel 2 / Drive").
struct FieldChange {
    std::string label;
    std::string before;
    std::string after;
};

/// Every field that differs, in the editor's order; empty for equal values.
std::vector<FieldChange> definitionChanges(const VehicleDef& before, const VehicleDef& after);
/// Carries a change of definition values over to the running vehicle: mass,
/// power, top speed, slip, damping, steering limits and the gear it is in.
void applyDefinitionChange(Vehicle& vehicle, const VehicleDef& before, const VehicleDef& after);

class EditHistory {
public:
    /// Starts over: `current` is committed, nothing to undo or redo.
    void reset(const VehicleDef& current);
    /// Commits `current` as a step when it differs from the last commit;
    /// true when it did. The redo list goes.
    bool commit(const VehicleDef& current);
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    /// Puts the definition one step back (or forward), with the running
    /// vehicle (may be null) following; false when there is no step.
    bool undo(VehicleDef& def, Vehicle* running);
    bool redo(VehicleDef& def, Vehicle* running);
    const VehicleDef& committed() const { return committed_; }

private:
    std::vector<VehicleDef> undo_;
    std::vector<VehicleDef> redo_;
    VehicleDef committed_;
};

/// Steps kept; the oldest go first.
constexpr std::size_t maxEditSteps = 200;
