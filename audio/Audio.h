#pragma once
// The sound bank: every sound file under one folder, named by its path, played
// on a fixed pool of 64 voices. Continuous sounds carry a key and live only
// while their owner refreshes them. Music goes through here too.

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Audio/SoundStream.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv {

struct SoundEntry {
    std::string name;
    std::uint32_t hash = 0; ///< nameHash of the name
    std::vector<std::unique_ptr<sf::SoundBuffer>> variants;
};

struct Voice {
    int soundNumber = -1;
    sf::Sound sound;
    float volume = 0.0f; ///< relative, 0 to 1
    /// The volume and loop flag last given to `sound`: asking the sound
    /// costs a locked call into the sound library, and the frame's update
    /// would otherwise ask every voice for both.
    float appliedVolume = -1.0f;
    bool looping = false;
    std::uint16_t keepAlive = 0;
    std::string key;
    bool positional = false;
};

class Audio {
public:
    static constexpr int voiceCount = 64;
    /// Polls a keyed loop survives without a refresh.
    static constexpr int keepAlivePolls = 3;

    /// Resets the state, makes the voices and places the listener.
    static bool init();
    /// Loads every "wav" and "ogg" file under `folder` (recursively).
    static void loadSounds(const std::string& folder, const std::string& overrideFolder);
    /// Names and numbers the sound files under `folder` as loadSounds does,
    /// without decoding them or opening a sound device (a broken file is
    /// named too): for tools that read vehicle files but never play. Such
    /// entries have no variants and play nothing.
    static void nameSounds(const std::string& folder);
    /// Loads one file as a variant of the sound `name` (mixed down to mono).
    static bool addSample(const std::string& path, const std::string& name);
    /// 0 for no sound ("" or "blank"), -1 when not found (logged with the list
    /// of valid names when `reportErrors`).
    static int getSoundNumber(const std::string& name, bool reportErrors);
    /// The name of a playable sound number, else "".
    static std::string getSoundName(int number);
    /// Entries including entry 0.
    static int getSoundCount();
    /// Starts a sound, or refreshes the playing voice with the same key. True
    /// when accepted or silent by volume; false for an invalid number or when
    /// all voices are busy (nothing is cut off).
    static bool playSound(int number, const sf::Vector2f& position, bool loop, const std::string& key,
                          float minDistance, bool positional, float volume, float pitch);
    /// Stops the playing voice with this key.
    static void stopSound(const std::string& key);
    /// Listener at (x, y, soundListenerHeight) looking down.
    static void setListener(const sf::Vector2f& position);
    /// Once per frame: volumes, focus fade and the keep-alive rule.
    static void pollSound();
    /// Stops everything and empties the bank.
    static void close();

    /// Plays a stream (ogg, wav) or a module (anything else) from `offset` seconds.
    static bool playMusic(const std::string& path, float offset);
    /// Pauses playing music, resumes paused music.
    static void togglePause();
    /// Stops the music and forgets its path.
    static void stopMusic();
    /// The current music object (never null once initialised).
    static sf::SoundStream* music();
    static const std::string& musicPath();
    static const std::string& musicFileName();

    static bool isInitialised();
    /// Counts init and close calls, so the panel can tell a new session.
    static unsigned generation();
    /// Registers the bank's start, stop and per-frame steps in the core's hooks.
    static void installCoreHooks();
    static const std::vector<Voice>& voices();
    static sf::Vector2f listenerPosition();
    static std::string lastError;
};

/// The bank name of a sound file: its path relative to the sounds folder ("\"
/// separated), without extension, trailing digits and underscores stripped
/// (never the first character).
std::string soundNameFromPath(const std::string& relativePath);

} // namespace orv
