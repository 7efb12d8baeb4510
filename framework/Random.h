#pragma once
// The framework's random numbers: one generator for the process, seeded once.

namespace orv {

/// A random non-negative integer.
int randomInt();
/// A random integer from lo to hi, both included (lo when hi < lo).
int randomRange(int lo, int hi);
/// A random integer from 0 to 32767, both included: the small range effects
/// were tuned with.
int randomShort();
/// randomShort() / 32767: from 0 to 1, both included.
float randomFraction();
/// Restarts the sequence (tests that need repeatable runs).
void seedRandom(unsigned seed);

} // namespace orv
