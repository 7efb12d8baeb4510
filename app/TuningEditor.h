#pragma once
// The Tuning Editor: every field of the player vehicle's definition, edited
// in place while driving, with File > Save writing it back to its file.

#include <string>
#include <vector>

struct VehicleDef;

/// Draws the window inside the current GUI frame while showTuningEditor is set.
void drawTuningEditor();
/// Forgets the gears marked for deletion and the last refused value.
void resetTuningEditor();

/// Where a definition without a file of its own goes: "Data/Cars/" + name + ".ini".
std::string vehicleFilePath(const std::string& name);
/// The file a definition belongs to: the one it was read from (whatever the
/// case of its extension), else vehicleFilePath of its name.
std::string definitionFilePath(const VehicleDef& def);
/// File > Save: writes the definition to definitionFilePath; false (logged
/// and shown by the saver) on failure.
bool saveDefinition(const VehicleDef& def);
/// The message after File > Save: "Saved NAME to "PATH"" when the file was
/// written, else the failure. PATH is vehicleFilePath of the name unless given.
std::string saveMessage(const std::string& name, bool saved, const std::string& path = std::string());
/// What the "Max Speed" field shows for a stored speed in m/s, and what it
/// stores for a typed km/h value.
float maxSpeedShown(float metresPerSecond);
float maxSpeedStored(float kilometresPerHour);
/// "Gear R", "Gear N", "Gear 1" ... for gear list index `i`.
std::string gearLabel(int i);
