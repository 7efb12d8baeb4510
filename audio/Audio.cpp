#include "audio/Audio.h"

#include "audio/DeclaredSizes.h"
#include "audio/ModMusic.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"
#include "framework/AudioHooks.h"
#include "framework/DirectoryListing.h"
#include "framework/Keyboard.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/Random.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Listener.hpp>
#include <SFML/Audio/Music.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <new>

namespace orv {

std::string Audio::lastError;

namespace {

struct AudioState {
    bool initialised = false;
    unsigned generation = 0;
    std::vector<SoundEntry> bank;
    std::vector<Voice> voices;
    sf::Vector2f listener;
    // The two music objects live from init to close. Close stops their
    // streaming threads and releases them with every other sound object, so
    // the audio device is closed (and a recording finished) at exit.
    std::unique_ptr<sf::Music> stream;
    std::unique_ptr<ModMusic> module;
    sf::SoundStream* music = nullptr;
    std::string musicPath;
    std::string musicFileName;
};

AudioState& state()
{
    static AudioState& s = *new AudioState;
    return s;
}

sf::Music& streamMusic()
{
    AudioState& s = state();
    if (!s.stream)
        s.stream = std::make_unique<sf::Music>();
    return *s.stream;
}

ModMusic& moduleMusic()
{
    AudioState& s = state();
    if (!s.module)
        s.module = std::make_unique<ModMusic>();
    return *s.module;
}

float clampVolume(int value)
{
    return static_cast<float>(std::clamp(value, 0, 100));
}

bool isPlaying(const Voice& voice)
{
    return voice.sound.getStatus() == sf::Sound::Playing;
}

void setVoiceVolume(Voice& voice, float volume)
{
    voice.sound.setVolume(volume);
    voice.appliedVolume = volume;
}

void placeVoice(Voice& voice, const sf::Vector2f& position, float minDistance)
{
    if (voice.positional) {
        voice.sound.setRelativeToListener(false);
        voice.sound.setPosition(position.x, position.y, 0.0f);
        voice.sound.setAttenuation(coreConfig.soundAttenuation);
        voice.sound.setMinDistance(minDistance);
    } else {
        voice.sound.setRelativeToListener(true);
        voice.sound.setPosition(0.0f, 0.0f, 0.0f);
        voice.sound.setAttenuation(0.0f);
        voice.sound.setMinDistance(0.0f);
    }
}

} // namespace

std::string soundNameFromPath(const std::string& relativePath)
{
    std::string name = removeExtension(relativePath);
    while (name.size() > 1 && (std::isdigit(static_cast<unsigned char>(name.back())) || name.back() == '_'))
        name.pop_back();
    return name;
}

bool Audio::init()
{
    AudioState& s = state();
    ModMusic::registerFileSystem();
    s.bank.clear();
    s.voices.clear();
    s.voices.resize(voiceCount);
    s.music = &streamMusic();
    s.musicPath.clear();
    s.musicFileName.clear();
    const sf::Vector2f view = isWindowOpen() ? window().getView().getSize() : sf::Vector2f();
    sf::Listener::setPosition(view.x * 0.5f, view.y * 0.5f, coreConfig.soundListenerHeight);
    sf::Listener::setDirection(0.0f, 0.0f, -1.0f);
    s.listener = view * 0.5f;
    sf::Listener::setGlobalVolume(clampVolume(coreConfig.globalVolume));
    ++s.generation;
    s.initialised = true;
    return true;
}

void Audio::loadSounds(const std::string& folder, const std::string&)
{
    DirectoryListing listing;
    listing.addExtension("wav");
    listing.addExtension("ogg");
    listing.scan(folder, DirectoryListing::FilesOnly, true);
    for (const DirectoryEntry& entry : listing.entries()) {
        if (quitSignalled())
            break;
        const std::string name = soundNameFromPath(entry.relativePath.empty() ? entry.name : entry.relativePath);
        if (!addSample(entry.path, name))
            Log::error(lastError);
    }
    Log::info("Loaded " + std::to_string(getSoundCount() > 0 ? getSoundCount() - 1 : 0) + " sound(s) from " + folder);
}

void Audio::nameSounds(const std::string& folder)
{
    AudioState& s = state();
    if (s.bank.empty()) {
        s.bank.emplace_back();
        s.bank.back().name = "(no sound)";
        s.bank.back().hash = nameHash(s.bank.back().name);
    }
    DirectoryListing listing;
    listing.addExtension("wav");
    listing.addExtension("ogg");
    listing.scan(folder, DirectoryListing::FilesOnly, true);
    for (const DirectoryEntry& entry : listing.entries()) {
        const std::string name = soundNameFromPath(entry.relativePath.empty() ? entry.name : entry.relativePath);
        if (getSoundNumber(name, false) > 0)
            continue;
        s.bank.emplace_back();
        s.bank.back().name = name;
        s.bank.back().hash = nameHash(name);
    }
    Log::info("Named " + std::to_string(getSoundCount() - 1) + " sound(s) from " + folder);
}

namespace {

// Decodes a whole file in pieces, so that memory follows what the file really
// holds rather than the length its header claims. Empty `problem` on success.
bool decodeSamples(const std::string& path, std::vector<sf::Int16>& samples, unsigned& channels, unsigned& rate,
                   std::string& problem)
{
    sf::InputSoundFile file;
    if (!file.openFromFile(nativePath(path)))
        return false;
    channels = file.getChannelCount();
    rate = file.getSampleRate();
    const sf::Uint64 declared = file.getSampleCount();
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(nativePath(path), ec);
    // Encoded sound never holds fewer bytes than samples for plain PCM; for a
    // compressed file the reserve is only a hint.
    if (!ec && declared <= bytes)
        samples.reserve(static_cast<std::size_t>(declared));
    std::vector<sf::Int16> piece(65536);
    for (;;) {
        const sf::Uint64 got = file.read(piece.data(), piece.size());
        if (got == 0)
            break;
        samples.insert(samples.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
        if (samples.size() > declared)
            break;
    }
    if (samples.size() != declared) {
        problem = "it claims " + std::to_string(declared) + " samples but holds " + std::to_string(samples.size());
        return false;
    }
    return true;
}

} // namespace

bool Audio::addSample(const std::string& path, const std::string& name)
{
    AudioState& s = state();
    if (s.bank.empty()) {
        s.bank.emplace_back();
        s.bank.back().name = "(no sound)";
        s.bank.back().hash = nameHash(s.bank.back().name);
    }
    const auto refuse = [&path](const std::string& problem) {
        if (!problem.empty())
            Log::warning("Audio::addSample: " + path + ": " + problem);
        lastError = "Unable to load sample from " + path;
        return false;
    };

    // A header's lie must not reach the decoder, which allocates what it is told.
    const std::string lie = waveSizeProblem(path);
    if (!lie.empty())
        return refuse(lie);
    std::vector<sf::Int16> samples;
    unsigned channels = 0;
    unsigned rate = 0;
    std::string problem;
    auto buffer = std::make_unique<sf::SoundBuffer>();
    try {
        if (!decodeSamples(path, samples, channels, rate, problem) || samples.empty())
            return refuse(problem);
        // Mono, so that every sound can be placed in the world.
        if (channels == 2) {
            const std::size_t frames = samples.size() / 2;
            for (std::size_t i = 0; i < frames; ++i)
                samples[i] = static_cast<sf::Int16>((static_cast<int>(samples[2 * i]) + samples[2 * i + 1]) / 2);
            samples.resize(frames);
            channels = 1;
        }
        if (!buffer->loadFromSamples(samples.data(), samples.size(), channels, rate))
            return refuse(std::string());
    } catch (const std::bad_alloc&) {
        return refuse("not enough memory to load it");
    }

    int number = getSoundNumber(name, false);
    if (number <= 0) {
        s.bank.emplace_back();
        s.bank.back().name = name;
        s.bank.back().hash = nameHash(name);
        number = static_cast<int>(s.bank.size()) - 1;
    }
    s.bank[static_cast<std::size_t>(number)].variants.push_back(std::move(buffer));
    return true;
}

int Audio::getSoundNumber(const std::string& name, bool reportErrors)
{
    if (name.empty() || equalsIgnoreCase(name, "blank"))
        return 0;
    const auto& bank = state().bank;
    const std::uint32_t hash = nameHash(name);
    // The hash only narrows the search: different names can share one.
    for (std::size_t i = 1; i < bank.size(); ++i)
        if (bank[i].hash == hash && equalsIgnoreCase(bank[i].name, name))
            return static_cast<int>(i);
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos) {
        const std::string ext = name.substr(dot);
        for (std::size_t i = 1; i < bank.size(); ++i)
            if (equalsIgnoreCase(bank[i].name + ext, name))
                return static_cast<int>(i);
    }
    if (reportErrors) {
        Log::error("Audio::getSoundNumber: No such sound \"" + name + "\"");
        Log::info("Valid sound numbers are...");
        for (std::size_t i = 0; i < bank.size(); ++i)
            Log::info(std::to_string(i) + " = \"" + bank[i].name + "\"");
    }
    return -1;
}

std::string Audio::getSoundName(int number)
{
    const auto& bank = state().bank;
    if (number < 1 || number >= static_cast<int>(bank.size()))
        return std::string();
    return bank[static_cast<std::size_t>(number)].name;
}

int Audio::getSoundCount()
{
    return static_cast<int>(state().bank.size());
}

bool Audio::playSound(int number, const sf::Vector2f& position, bool loop, const std::string& key,
                      float minDistance, bool positional, float volume, float pitch)
{
    AudioState& s = state();
    if (number < 1 || number >= static_cast<int>(s.bank.size()) || s.voices.empty() ||
        s.bank[static_cast<std::size_t>(number)].variants.empty())
        return false;
    if (!(volume > 0.0f))
        return true;
    if (minDistance < 0.0f)
        minDistance = 1.0f;
    const float effects = clampVolume(coreConfig.soundVolume);

    if (!key.empty()) {
        for (Voice& voice : s.voices) {
            if (voice.key != key || !isPlaying(voice))
                continue;
            voice.volume = volume;
            setVoiceVolume(voice, effects * volume);
            if (voice.sound.getPitch() != pitch)
                voice.sound.setPitch(pitch);
            voice.keepAlive = 0;
            placeVoice(voice, position, minDistance);
            return true;
        }
    }

    for (Voice& voice : s.voices) {
        if (isPlaying(voice))
            continue;
        const SoundEntry& entry = s.bank[static_cast<std::size_t>(number)];
        voice.volume = volume;
        setVoiceVolume(voice, effects * volume);
        if (voice.sound.getPitch() != pitch)
            voice.sound.setPitch(pitch);
        voice.soundNumber = number;
        voice.sound.setLoop(loop);
        voice.looping = loop;
        const std::size_t variant = static_cast<std::size_t>(randomInt()) % entry.variants.size();
        voice.sound.setBuffer(*entry.variants[variant]);
        voice.key = key;
        voice.positional = positional;
        placeVoice(voice, position, minDistance);
        voice.keepAlive = 0;
        voice.sound.play();
        return true;
    }
    return false;
}

void Audio::stopSound(const std::string& key)
{
    if (key.empty())
        return;
    for (Voice& voice : state().voices) {
        if (voice.key == key && isPlaying(voice)) {
            voice.sound.stop();
            voice.key.clear();
            voice.soundNumber = -1;
            return;
        }
    }
}

void Audio::setListener(const sf::Vector2f& position)
{
    state().listener = position;
    sf::Listener::setPosition(position.x, position.y, coreConfig.soundListenerHeight);
    sf::Listener::setDirection(0.0f, 0.0f, -1.0f);
}

void Audio::pollSound()
{
    AudioState& s = state();
    if (!s.initialised)
        return;

    // The global volume eases towards its target by a tenth of the gap per
    // frame, and falls quickly to silence while the window has no focus.
    const float current = sf::Listener::getGlobalVolume();
    const float target = clampVolume(coreConfig.globalVolume);
    if (coreConfig.muteInactiveWindow && !windowHasFocus()) {
        if (current > 0.0f)
            sf::Listener::setGlobalVolume(std::max(0.0f, current - 0.75f) * 0.9f);
    } else if (current != target) {
        float next = current * 0.9f + target * 0.1f;
        if (std::abs(next - target) < 0.01f)
            next = target; // land on it instead of creeping for ever
        sf::Listener::setGlobalVolume(std::clamp(next, 0.0f, 100.0f));
    }

    const float effects = clampVolume(coreConfig.soundVolume);
    for (Voice& voice : s.voices) {
        const float wanted = voice.volume * effects;
        if (voice.appliedVolume != wanted)
            setVoiceVolume(voice, wanted);
    }

    const float musicVolume = clampVolume(coreConfig.musicVolume);
    if (!s.music)
        Log::error("Audio::pollSound: Audio::music is NULL.");
    else if (s.music->getVolume() != musicVolume)
        s.music->setVolume(musicVolume);

    for (Voice& voice : s.voices) {
        if (voice.key.empty() || !voice.looping || !isPlaying(voice))
            continue;
        if (++voice.keepAlive > keepAlivePolls)
            stopSound(voice.key);
    }
}

void Audio::close()
{
    AudioState& s = state();
    if (!s.initialised)
        return;
    for (Voice& voice : s.voices)
        voice.sound.stop();
    s.voices.clear();
    s.musicPath.clear();
    s.musicFileName.clear();
    if (s.music)
        s.music->stop();
    s.music = nullptr;
    s.stream.reset();
    s.module.reset();
    s.bank.clear();
    ++s.generation;
    s.initialised = false;
}

bool Audio::playMusic(const std::string& path, float offset)
{
    AudioState& s = state();
    if (!s.music)
        s.music = &streamMusic();
    if (s.music->getStatus() == sf::SoundStream::Playing && equalsIgnoreCase(s.musicPath, path))
        return true;
    s.musicPath.clear();
    s.musicFileName.clear();
    // Stopping joins the streaming thread: only then may the module change.
    s.music->stop();

    const std::size_t dot = path.find_last_of('.');
    const std::string ext = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    sf::SoundStream* opened = nullptr;
    const auto refuse = [](const std::string& error) {
        lastError = error;
        Log::error(lastError);
        return false;
    };
    try {
        if (equalsIgnoreCase(ext, "ogg") || equalsIgnoreCase(ext, "wav")) {
            const std::string lie = waveSizeProblem(path);
            if (!lie.empty())
                Log::warning("Audio::playMusic: " + path + ": " + lie);
            if (!lie.empty() || !streamMusic().openFromFile(nativePath(path)))
                return refuse("Unable to load music from " + path);
            opened = &streamMusic();
        } else {
            moduleMusic().stop();
            if (!moduleMusic().load(path))
                return refuse("Unable to load module music from " + path);
            opened = &moduleMusic();
        }
    } catch (const std::bad_alloc&) {
        Log::warning("Audio::playMusic: " + path + ": not enough memory to load it");
        return refuse("Unable to load music from " + path);
    }
    s.music = opened;
    s.music->setLoop(true);
    s.music->setVolume(clampVolume(coreConfig.musicVolume));
    s.music->play();
    s.music->pause();
    s.music->setPlayingOffset(offset > 0.0f ? sf::seconds(offset) : sf::Time::Zero);
    s.music->play();
    s.musicPath = path;
    s.musicFileName = fileNamePart(path);
    Log::info("Playing music from " + path);
    coreConfig.musicLoadPath = path;
    return true;
}

void Audio::togglePause()
{
    sf::SoundStream* m = state().music;
    if (!m)
        return;
    if (m->getStatus() == sf::SoundStream::Playing)
        m->pause();
    else if (m->getStatus() == sf::SoundStream::Paused)
        m->play();
}

void Audio::stopMusic()
{
    AudioState& s = state();
    s.musicPath.clear();
    s.musicFileName.clear();
    if (s.music)
        s.music->stop();
}

sf::SoundStream* Audio::music()
{
    return state().music;
}

const std::string& Audio::musicPath()
{
    return state().musicPath;
}

const std::string& Audio::musicFileName()
{
    return state().musicFileName;
}

bool Audio::isInitialised()
{
    return state().initialised;
}

const std::vector<Voice>& Audio::voices()
{
    return state().voices;
}

sf::Vector2f Audio::listenerPosition()
{
    return state().listener;
}

unsigned Audio::generation()
{
    return state().generation;
}

void Audio::installCoreHooks()
{
    audioHooks.start = [] { init(); };
    audioHooks.stop = close;
    audioHooks.afterFrame = pollSound;
}

} // namespace orv
