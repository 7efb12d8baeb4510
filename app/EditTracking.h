#pragma once
// The tuning editor's side of the edit history: which definition is being
// tracked, the committing of each finished edit, the Edit menu and its keys,
// File > Revert and the list of values that differ from the file on disk.

class Vehicle;
struct VehicleDef;

/// Start of the editor's frame: follows a switch of vehicle and takes
/// Ctrl+Z, Ctrl+Y (and Ctrl+Shift+Z) unless a text field has the keys.
void beginEditTracking(Vehicle& vehicle, VehicleDef& def);
/// End of the editor's frame: an edit no widget is busy with any more
/// becomes one step.
void endEditTracking(const VehicleDef& def);
/// The "Edit" menu of the menu bar: Undo and Redo.
void drawEditMenu(Vehicle& vehicle, VehicleDef& def);
/// "Revert" for the "File" menu: the definition as its file holds it.
void drawRevertItem(Vehicle& vehicle, VehicleDef& def);
/// The file now holds `def` (after File > Save).
void noteDefinitionSaved(const VehicleDef& def);
/// The values that differ from the file on disk, marked; nothing when none.
void drawChangedValues(const VehicleDef& def);
/// " *" while some value differs from the file, else "".
const char* changedMark(const VehicleDef& def);
/// Forgets the tracked definition, its history and the file's values.
void resetEditTracking();
/// Undo and redo outside the GUI (tests): one step back or forward.
bool undoEdit(Vehicle& vehicle, VehicleDef& def);
bool redoEdit(Vehicle& vehicle, VehicleDef& def);
