#pragma once
// The audio keeps process-wide state: the sound bank with its voices and
// music, the last load error and the ambience levels. Tests start and end
// with this reset instead of clearing those pieces by hand.

namespace orv {

/// Closes the bank and the music (as at shutdown), forgets the last error and
/// puts the ambience back to its start: no levels, no overrides, no sounds.
/// Leaves the settings alone; Audio::init starts a new session afterwards.
void resetAudio();

} // namespace orv
