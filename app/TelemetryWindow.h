#pragma once
// The Telemetry window: scrolling charts of the player's vehicle over the
// last ten seconds, the record of a run with its CSV export, and the replay
// of a recorded drive with the recorded (A) and replayed (B) runs overlaid.

#include "vehicle/DriveMonitor.h"

/// The monitor hooked into the player's vehicle's fixed steps.
DriveMonitor& driveMonitor();
/// Hooks the monitor into the player's vehicle (once, at the loop's start).
void attachDriveMonitor();
/// The window's view and the monitor back to their start: no run, no replay.
void resetTelemetryWindow();
/// Draws the window inside the current GUI frame while showTelemetry is set.
void drawTelemetryWindow();
/// Writes the recorded run (or, without one, the last ten seconds) to
/// "telemetry_<UTC>.csv" and posts "Saved telemetry to " + the name.
void exportTelemetry();
