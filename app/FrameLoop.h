#pragma once
// The test bed's frame loop: one iteration per displayed frame until the user
// chooses "Exit" in the Options window (or the process is asked to stop).

#include "vehicle/JoystickInput.h"
#include "vehicle/TimeControl.h"
#include "vehicle/Vehicle.h"
#include "vehicle/WorldStepper.h"

#include <memory>
#include <string>
#include <vector>

struct FrameLoopState {
    bool menuVisible = false;
    bool quitRequested = false;
    double lastHornTime = 0.0; ///< program clock of the last horn
    bool audioPanelRequested = false; ///< the Options window's "Audio Panel" button
    std::string mapPath; ///< the map last loaded, as it was asked for
    WorldStepper stepper; ///< runs the world's fixed steps, the player driving
    JoystickButtonMemory padButtons; ///< the hot-key buttons as last seen
    TimeControl time;     ///< pause, single steps and slow motion (P, O, [ and ])
};

/// The process-wide loop state, read by the on-screen windows.
extern FrameLoopState frameLoop;
/// The vehicle the keyboard drives.
extern Vehicle playerVehicle;
/// Empty vehicles spawned with U, in spawn order.
extern std::vector<std::unique_ptr<Vehicle>> parkedVehicles;

/// Back to a fresh process's loop: the record's defaults, no parked vehicles,
/// the player's vehicle without bodies or observer. The bodies are left to
/// their world, which the caller resets.
void resetFrameLoop();
/// Runs the loop; returns after the frame in which quitting was requested.
void runFrameLoop();
/// The next (+1) or previous (-1) vehicle definition for the player, wrapping
/// around; nothing without definitions.
void cycleVehicle(int direction);
/// Reads the scene assets again and selects the same definition by name
/// (the first one when it is gone).
void reloadData();
/// Asks for a map in "Data\\Maps\\" and switches to it; a cancelled dialog
/// changes nothing.
void selectMap();
/// A fresh world with the map at `path`: parked vehicles and every effect
/// gone, the player respawned at the new start with its definition.
void switchMap(const std::string& path);
/// Parks an empty vehicle of a random definition where the player stands.
void spawnParkedVehicle();
