#pragma once
// The test bed's own settings, "Tarnwick.ini": read once at start-up, changed
// in place by keys and the Options window, written at a normal exit.

#include "vehicle/JoystickInput.h"

struct AppSettings {
    float renderScale = 2.0f; ///< screen pixels per world pixel, 0.5 to 3.5
    bool smoothTerrain = true;
    bool smoothObjects = true;
    bool tracksParticles = true;
    bool exhaustParticles = true;
    bool ambient = true;
    bool showTuningEditor = false;
    bool showHelp = false;
    bool showMinimap = false;
    bool physicsDebug = false;
    bool showTelemetry = false;
    JoystickMapping joystick; ///< "[input]": the joystick that drives
    bool forceOverlay = false; ///< per-wheel force and velocity arrows over the player's vehicle
};

/// The process-wide settings.
extern AppSettings appSettings;

constexpr float minRenderScale = 0.5f;
constexpr float maxRenderScale = 3.5f;
constexpr const char* settingsFileName = "Tarnwick.ini";

/// Reads "Tarnwick.ini"; a missing file or key gives the defaults, silently.
void loadSettings();
/// Writes "Tarnwick.ini"; a file that cannot be written is lost silently.
void saveSettings();
/// Back to the defaults, with vertical sync on and the frame counter hidden.
void resetSettings();
/// The one way renderScale changes at run time: clamped to 0.5 to 3.5.
void setRenderScale(float value);

