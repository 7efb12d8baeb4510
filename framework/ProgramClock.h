#pragma once
// The program clock: seconds since start-up. Timed rules (gear changes, the
// horn, effects) read it here, so tests can run it by hand and stay
// repeatable.

namespace orv {
namespace ProgramClock {

/// Seconds since the clock started (the first call), or the manual time.
double now();
/// From now on now() returns `seconds` until advanced by hand (tests).
void setManual(double seconds);
/// Moves the manual time on; nothing when the clock is real.
void advance(double seconds);
/// Back to the real clock.
void setReal();

} // namespace ProgramClock
} // namespace orv
