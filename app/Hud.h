#pragma once
// The on-screen text: zoom and key help at the top left, speed, engine and
// gear read-outs at the bottom centre.

#include <string>

class Vehicle;

/// "Scale: 2.0x", followed by the key help and the vehicle line when `showHelp`.
std::string hudTopLeftText(float renderScale, bool showHelp, const std::string& vehicleName, int vehicleNumber,
                           int vehicleCount);
/// The speed in km/h, whole, halves away from zero: "228 km/h" for 63.4 m/s.
std::string hudSpeedText(float metresPerSecond);
/// The engine speed clamped to idle ... max, "/", the max, " RPM".
std::string hudEngineText(float engineLevel, float idleRPM, float maxRPM);
/// "Gear: " and the gear's name.
std::string hudGearText(const std::string& gearName);
/// Draws the text for the player's vehicle into the user-interface layer.
void drawHudText(const Vehicle& player);
