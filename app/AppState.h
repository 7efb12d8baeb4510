#pragma once
// The app layer's mutable state, listed in one place with the one reset that
// puts it back as a fresh process has it (tests start from there):
// - appSettings (AppSettings.h): the user's settings, "Tarnwick.ini";
// - frameLoop, playerVehicle, parkedVehicles (FrameLoop.h): the loop's flags,
//   the map path, the world stepper, the time control, the joystick buttons
//   as last seen, and the vehicles;
// - the tuning editor's gears marked for deletion and last refused value
//   (TuningEditor.cpp);
// - the edit history and the tracked file's values (EditTracking.cpp);
// - the driving tests' last runs and lint findings (DrivingTestsPanel.cpp);
// - the telemetry window's view and the drive monitor (TelemetryWindow.cpp);
// - the watched vehicle file and map with the file's last values (LiveReload.cpp).
// The frame profile (FrameProfile.cpp) is switched on once per process by
// its environment variable and measures that one run; it has no reset.

/// Every record above back to its start. Vehicles' bodies are forgotten,
/// not destroyed: they die with their world, which resetWorld replaces.
void resetAppState();
