// audio_probe SCENARIO ...: plays a fixed script through the sound bank or the
// music player and exits cleanly, so that OpenAL Soft's wave writer (set up by
// the calling test) records exactly that script.
//
//   audio_probe bank LOOP.wav SHOT.wav
//       0.0-1.0 s a keyed loop refreshed at volume 1.0, 1.0-2.0 s at 0.25,
//       then no refreshes; a one-shot at 2.3 s; silence to 3.5 s.
//   audio_probe music MODULE.xm VOLUME
//       the module for 1.5 s at musicVolume VOLUME.

#include "audio/Audio.h"
#include "framework/CoreConfig.h"
#include "framework/Keyboard.h"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace orv;

static int bank(const char* loopPath, const char* shotPath)
{
    if (!Audio::addSample(loopPath, "LOOP") || !Audio::addSample(shotPath, "SHOT"))
        return 2;
    const int loop = Audio::getSoundNumber("LOOP", true);
    const int shot = Audio::getSoundNumber("SHOT", true);
    sf::Clock clock;
    bool shotPlayed = false;
    for (float t = 0.f; t < 3.5f; t = clock.getElapsedTime().asSeconds()) {
        if (t < 2.0f)
            Audio::playSound(loop, {}, true, "LOOP_KEY", -1.0f, false, t < 1.0f ? 1.0f : 0.25f, 1.0f);
        if (t >= 2.3f && !shotPlayed)
            shotPlayed = Audio::playSound(shot, {}, false, "", -1.0f, false, 1.0f, 1.0f);
        Audio::pollSound();
        sf::sleep(sf::milliseconds(10));
    }
    return 0;
}

static int music(const char* path, int volume)
{
    coreConfig.musicVolume = volume;
    if (!Audio::playMusic(path, 0.0f))
        return 2;
    sf::Clock clock;
    while (clock.getElapsedTime().asSeconds() < 1.5f) {
        Audio::pollSound();
        sf::sleep(sf::milliseconds(10));
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: audio_probe bank LOOP SHOT | music MODULE VOLUME\n");
        return 2;
    }
    Keyboard::focusOverride = 1; // no window: count as focused, so nothing fades
    Audio::init();
    const std::string scenario = argv[1];
    const int result = scenario == "bank" ? bank(argv[2], argv[3]) : music(argv[2], std::atoi(argv[3]));
    Audio::close(); // closes the device: the recording is finished
    return result;
}
