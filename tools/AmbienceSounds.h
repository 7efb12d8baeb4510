#pragma once
// The seven ambience loops under "Data/Sounds/ambience": meadow, water,
// jungle, city, shore, underwater and rain. Some are stereo (the bank mixes
// them down), some Ogg.

#include <filesystem>

namespace content {

/// Writes every ambience loop; false when one cannot be written.
bool makeAmbienceSounds(const std::filesystem::path& root);

} // namespace content
