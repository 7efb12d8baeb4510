#pragma once
// The atlases of the image sets in "Data/Images/": Nature.png (trees, bushes,
// rocks) and Props.png (crates, barrels, cones...). The set files in
// content/Data/Images name the rectangles drawn here.

#include <filesystem>

namespace content {

/// Writes both atlases; false when one cannot be written.
bool makeObjectAtlases(const std::filesystem::path& root);

} // namespace content
