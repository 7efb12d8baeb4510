#include "audio/ModMusic.h"

#include "audio/DeclaredSizes.h"
#include "audio/ModuleFormat.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <dumb.h>

#include <cstdio>
#include <cstring>

namespace orv {

ModMusic::~ModMusic()
{
    stop();
    unload();
}

void ModMusic::unload()
{
    if (renderer_)
        duh_end_sigrenderer(renderer_);
    renderer_ = nullptr;
    if (duh_)
        unload_duh(duh_);
    duh_ = nullptr;
}

void ModMusic::registerFileSystem()
{
    static bool registered = false;
    if (!registered) {
        dumb_register_stdfiles();
        registered = true;
    }
}

bool ModMusic::load(const std::string& path)
{
    // DUMB reads files through callbacks that must be registered first; a
    // load without them crashes inside the library.
    registerFileSystem();
    unload();
    const std::size_t dot = path.find_last_of('.');
    const std::string ext = dot == std::string::npos ? std::string() : toLower(path.substr(dot));
    bool reported = false;
    bool loaded = loadAs(path, ext, reported);
    if (!loaded) {
        const std::string named = moduleFormatFromHeader(path);
        if (!named.empty() && named != ext) {
            Log::info("ModMusic::load: " + path + " is a " + named + " module by its header; loading it as one");
            loaded = loadAs(path, named, reported);
        }
    }
    if (!loaded) {
        std::fprintf(stderr, "Failed to open module file: %s\n", path.c_str());
        // The log is where a user looks: it names the file too, once.
        if (!reported)
            Log::warning("ModMusic::load: " + path + ": no module loader could read it");
        return false;
    }
    initialize(channels, sampleRate);
    return true;
}

bool ModMusic::loadAs(const std::string& path, const std::string& ext, bool& reported)
{
    // The module loaders allocate every sample at the length its header
    // claims before reading a byte of it.
    const std::string lie = moduleSizeProblem(path, ext);
    if (!lie.empty()) {
        Log::warning("ModMusic::load: " + path + ": " + lie);
        reported = true;
        return false;
    }
    const std::string file = nativePath(path);
    if (ext == ".mod")
        duh_ = dumb_load_mod(file.c_str());
    else if (ext == ".xm")
        duh_ = dumb_load_xm(file.c_str());
    else if (ext == ".s3m")
        duh_ = dumb_load_s3m(file.c_str());
    else if (ext == ".it")
        duh_ = dumb_load_it(file.c_str());
    return duh_ != nullptr;
}

long ModMusic::rendererPosition() const
{
    return renderer_ ? duh_sigrenderer_get_position(renderer_) : -1;
}

bool ModMusic::onGetData(Chunk& data)
{
    long frames = 0;
    if (renderer_)
        frames = duh_render(renderer_, 16, 0, 1.0f, static_cast<float>(positionPerSecond) / sampleRate,
                            framesPerChunk, samples_);
    // Whatever the renderer gave, the stream goes on: the rest is silence.
    if (frames < framesPerChunk) {
        const long from = frames < 0 ? 0 : frames;
        std::memset(samples_ + from * channels, 0, static_cast<std::size_t>(framesPerChunk - from) * channels * 2);
    }
    data.samples = samples_;
    data.sampleCount = framesPerChunk * channels;
    return true;
}

void ModMusic::onSeek(sf::Time timeOffset)
{
    if (renderer_)
        duh_end_sigrenderer(renderer_);
    renderer_ = nullptr;
    if (!duh_)
        return;
    const long position = static_cast<long>(static_cast<double>(timeOffset.asSeconds()) * positionPerSecond);
    renderer_ = duh_start_sigrenderer(duh_, 0, channels, position < 0 ? 0 : position);
}

} // namespace orv
