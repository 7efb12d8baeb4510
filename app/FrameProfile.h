#pragma once
// A measurement mode of the running program: with TARNWICK_FRAME_PROFILE=N in
// the environment, N floor frames are timed first, then the effect lists are
// filled to their caps around the player, N frames are timed, the figures go
// to "frame_profile.txt" and the program leaves as through "Exit". Used by
// bench/frame_profile.sh.

/// True when the mode was asked for; reads the environment once.
bool frameProfileRequested();
/// Fills the effect lists to their caps around the view (frame-loop start).
void fillEffectsForProfile();
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
