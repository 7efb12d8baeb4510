#pragma once
// A measurement mode of the running program: with TARNWICK_FRAME_PROFILE=N in
// the environment, N floor frames are timed first, then N frames of one
// scenario (TARNWICK_FRAME_PROFILE_SCENARIO: "stand" at the start of the map,
// "drive" round the default map's road loop on scripted keys, or "effects",
// the default, with every effect list at its cap around the player); the
// figures go to "frame_profile.txt" and the program leaves as through "Exit".
// Used by bench/frame_profile.sh.

class KeySource;

/// True when the mode was asked for; reads the environment once.
bool frameProfileRequested();
/// Fills the effect lists to their caps around the view (frame-loop start),
/// in the "effects" scenario only.
void fillEffectsForProfile();
/// The driving keys while profiling: the scripted drive in the "drive"
/// scenario, no key at all otherwise.
const KeySource& frameProfileKeys();
/// The frame time the simulation is given while profiling: a fixed 1/60 s,
/// so that every run drives the same path however slow its frames are.
float frameProfileStep();
/// Times as many floor frames as the profile will time frames of the
/// program, in the program's own window: each clears, draws one
/// screen-sized textured quad and shows it.
void measureFrameFloor();
/// Marks the start of a frame's work.
void frameProfileBegin();
/// Sections of a frame, timed apart: closes the current section and opens
/// `name` (at most a handful, in the same order every frame).
void frameProfileSection(const char* name);
/// Marks the end of a frame; true once the last frame was measured (the
/// report is written then).
bool frameProfileEnd();
