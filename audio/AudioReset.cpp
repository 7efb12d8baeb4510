#include "audio/AudioReset.h"

#include "audio/Ambience.h"
#include "audio/Audio.h"

namespace orv {

void resetAudio()
{
    Audio::close();
    Audio::lastError.clear();
    ambience = AmbienceState();
    ambience.levels.fill(-1.0f);
    ambience.overrides.fill(-1.0f);
    ambience.soundNumbers.fill(-1);
}

} // namespace orv
