#pragma once
// Sound and module files written by the tests themselves.

#include <SFML/Audio/OutputSoundFile.hpp>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace soundfiles {

/// A tone of `frames` frames at `rate`; stereo files get a quieter right side.
inline void writeTone(const std::string& path, std::size_t frames, unsigned channels, unsigned rate = 22050,
                      double frequency = 440.0)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder);
    std::vector<sf::Int16> samples(frames * channels);
    for (std::size_t i = 0; i < frames; ++i)
        for (unsigned c = 0; c < channels; ++c)
            samples[i * channels + c] = static_cast<sf::Int16>(
                std::sin(6.283185307 * frequency * static_cast<double>(i) / rate) * (c == 0 ? 20000 : 10000));
    sf::OutputSoundFile file;
    file.openFromFile(path, rate, channels);
    file.write(samples.data(), samples.size());
}

} // namespace soundfiles
