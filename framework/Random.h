#pragma once
// The framework's random numbers: one generator for the process, seeded once.

namespace orv {

/// A random non-negative integer.
int randomInt();
/// A random integer from lo to hi, both included (lo when hi < lo).
int randomRange(int lo, int hi);
/// Restarts the sequence (tests that need repeatable runs).
void seedRandom(unsigned seed);

} // namespace orv
