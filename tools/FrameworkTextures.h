#pragma once
// The framework's internal textures in "zozur3/textures/": a white pixel for
// solid fills, a checker for missing pictures and the icon atlas.

#include <filesystem>

namespace content {

/// Writes the internal textures and the icon atlas; false on a failure.
bool makeFrameworkTextures(const std::filesystem::path& root);

} // namespace content
