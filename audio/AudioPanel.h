#pragma once
// The audio panel: a modal window for the effect and music volumes and the
// music player (play, skip, pause, stop, load a file). F5 opens it from the
// frame loop; "Done", Escape or F5 close it.

#include <string>

namespace orv {

/// Runs the panel's own frames until it closes.
void runAudioPanel();
/// One frame of the panel; true when it is to close.
bool updateAudioPanel();

/// "m:ss" of a playing offset in whole seconds (minutes not limited).
std::string formatMusicTime(float seconds);
/// The offset "Skip Backward" goes to: five seconds back, never below 0.
float skipBackOffset(float seconds);
/// Full stops after "Playing" for hundredths 0 to 99 of the current second.
int playingDots(int hundredths);

} // namespace orv
