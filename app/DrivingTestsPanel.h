#pragma once
// The "Tests" section of the tuning editor: the driving tests of the
// definition as it is now, with the change against the previous run of the
// same vehicle, and the lint findings of the definition.

#include "vehicle/DrivingTests.h"

#include <string>

/// Draws the section; "Run Tests" runs them at once (well under a second),
/// "Lint" lists the findings (minutes of simulated driving, well under a
/// second of CPU, run at once).
void drawDrivingTestsSection(const VehicleDef& def);
/// Forgets every run and finding.
void resetDrivingTestsSection();
