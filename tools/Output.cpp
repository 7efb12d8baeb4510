#include "Output.h"

#include <SFML/Audio/OutputSoundFile.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace content {

namespace {

bool makeFolder(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        std::fprintf(stderr, "zcontent: cannot make the folder of %s\n", path.string().c_str());
        return false;
    }
    return true;
}

bool failed(const std::filesystem::path& path)
{
    std::fprintf(stderr, "zcontent: cannot write %s\n", path.string().c_str());
    return false;
}

} // namespace

bool savePng(const sf::Image& image, const std::filesystem::path& path)
{
    if (!makeFolder(path))
        return false;
    return image.saveToFile(path.string()) || failed(path);
}

bool saveSound(const std::vector<std::int16_t>& samples, unsigned channels, unsigned rate,
               const std::filesystem::path& path)
{
    if (!makeFolder(path))
        return false;
    // The Ogg writer numbers its stream with std::rand(): a fixed seed keeps
    // the file the same on every build.
    std::srand(1);
    sf::OutputSoundFile file;
    if (!file.openFromFile(path.string(), rate, channels))
        return failed(path);
    file.write(samples.data(), samples.size());
    return true;
}

bool saveBytes(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& path)
{
    if (!makeFolder(path))
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out) || failed(path);
}

bool saveText(const std::string& text, const std::filesystem::path& path)
{
    if (!makeFolder(path))
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out) || failed(path);
}

} // namespace content
