#pragma once
// Writing the tool's files: pictures, sounds and text, with folders made on
// the way. Every writer reports a failure on stderr and returns false.

#include <SFML/Graphics/Image.hpp>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace content {

/// Saves a picture as PNG.
bool savePng(const sf::Image& image, const std::filesystem::path& path);
/// Saves 16-bit samples (interleaved when stereo) as WAV or OGG, by extension.
bool saveSound(const std::vector<std::int16_t>& samples, unsigned channels, unsigned rate,
               const std::filesystem::path& path);
/// Saves raw bytes.
bool saveBytes(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& path);
/// Saves a text.
bool saveText(const std::string& text, const std::filesystem::path& path);

} // namespace content
