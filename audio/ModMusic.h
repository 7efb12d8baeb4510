#pragma once
// Tracker-module music (MOD, XM, S3M, IT) rendered on the fly by DUMB into a
// stream. The media library's streaming thread calls onGetData and onSeek; the
// main thread stops the stream before it touches the module.

#include <SFML/Audio/SoundStream.hpp>

#include <cstdint>
#include <string>

struct DUH;
struct DUH_SIGRENDERER;

namespace orv {

class ModMusic : public sf::SoundStream {
public:
    static constexpr int sampleRate = 44100;
    static constexpr int channels = 2;
    static constexpr int framesPerChunk = 22050; ///< half a second
    /// DUMB's position unit: 65536 per second.
    static constexpr long positionPerSecond = 65536;

    ModMusic() = default;
    ~ModMusic() override;
    ModMusic(const ModMusic&) = delete;
    ModMusic& operator=(const ModMusic&) = delete;

    /// Lets DUMB read files (once per process; load() makes sure of it too).
    static void registerFileSystem();
    /// Loads a module by its extension, or by its header when that fails;
    /// false (and a line on stderr) when neither reads it.
    bool load(const std::string& path);
    /// The renderer's position in DUMB units, -1 without a renderer.
    long rendererPosition() const;

    // The stream protocol; public so benchmarks and tests can drive it.
    bool onGetData(Chunk& data) override;
    void onSeek(sf::Time timeOffset) override;

private:
    void unload();
    /// One loader, chosen by `ext`, after the size check; `reported` is set
    /// when the check refused the file with a log line of its own.
    bool loadAs(const std::string& path, const std::string& ext, bool& reported);

    std::int16_t samples_[framesPerChunk * channels] = {};
    DUH* duh_ = nullptr;
    DUH_SIGRENDERER* renderer_ = nullptr;
};

} // namespace orv
