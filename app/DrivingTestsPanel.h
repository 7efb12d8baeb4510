#pragma once
// The "Tests" section of the tuning editor: the four driving tests of the
// definition as it is now, with the change against the previous run of the
// same vehicle.

#include "vehicle/DrivingTests.h"

#include <string>

/// Draws the section; "Run Tests" runs them at once (well under a second).
void drawDrivingTestsSection(const VehicleDef& def);
