#pragma once
// The seamless 256 x 256 floor textures of "Data/Textures/".

#include <filesystem>

namespace content {

/// Writes every floor texture; false when one cannot be written.
bool makeFloorTextures(const std::filesystem::path& root);

} // namespace content
