#pragma once
// The effect pictures of "Data/Effects/": the wheel tread shade, smoke puff,
// tyre track, wildlife atlas and riverbed.

#include <SFML/Graphics/Rect.hpp>

#include <filesystem>
#include <vector>

namespace content {

/// Writes every effect picture; false when one cannot be written.
bool makeEffectPictures(const std::filesystem::path& root);

/// Every frame rectangle the wildlife uses on its atlas (left, top, width,
/// height); the atlas has its animals exactly there.
std::vector<sf::IntRect> wildlifeFrames();

} // namespace content
