#pragma once
// The Tuning Editor: every field of the player vehicle's definition, edited
// in place while driving, with File > Save writing it back to its file.

#include <string>
#include <vector>

/// Draws the window inside the current GUI frame while showTuningEditor is set.
void drawTuningEditor();

/// Where a definition is saved: "Data/Cars/" + name + ".ini".
std::string vehicleFilePath(const std::string& name);
/// The message after File > Save: "Saved NAME to "PATH"" when the file was
/// written, else the failure.
std::string saveMessage(const std::string& name, bool saved);
/// What the "Max Speed" field shows for a stored speed in m/s, and what it
/// stores for a typed km/h value.
float maxSpeedShown(float metresPerSecond);
float maxSpeedStored(float kilometresPerHour);
/// "Gear R", "Gear N", "Gear 1" ... for gear list index `i`.
std::string gearLabel(int i);
