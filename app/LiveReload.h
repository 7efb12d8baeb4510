#pragma once
// Reload on save: the player's vehicle file and the current map are looked at
// once a second, and a change on disk is taken over in place, the player's
// vehicle keeping where it is, how it moves and its gear. Unsaved edits in the
// tuning editor are never overwritten, and a file that cannot be read leaves
// what is running as it is.

class Vehicle;

/// Per frame: looks at both files when a second has passed since the last
/// look (`now`, the program clock) and reloads what changed.
void checkLiveReload(double now);
/// Looks at both files at once, whatever the time (tests).
void checkWatchedFilesNow();
/// Back to a fresh process: nothing watched.
void resetLiveReload();

/// Where a vehicle is and how it moves, to carry over a rebuild.
struct HeldMotion {
    bool held = false; ///< false: the vehicle had no body
    float x = 0.0f, y = 0.0f, angle = 0.0f; ///< metres, radians
    float vx = 0.0f, vy = 0.0f, spin = 0.0f; ///< m/s, rad/s
    int gear = 0;
    float engineLevel = 0.0f;
};

/// The vehicle's place, motion, gear and engine level now.
HeldMotion holdMotion(const Vehicle& vehicle);
/// Puts a rebuilt vehicle back in motion as held: chassis and wheels move
/// as one body, the gear clamped to the definition's gears. The place is
/// restored only when `place` is set (a respawn put it elsewhere).
void restoreMotion(Vehicle& vehicle, const HeldMotion& motion, bool place);
