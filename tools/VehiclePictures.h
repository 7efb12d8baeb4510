#pragma once
// The vehicle pictures of "Data/Cars/": each one sheet with the body seen from
// above, nose up, at (0, 0) and its wheel (or track) image to the right of it,
// two pixels apart. The vehicle files in content/Data/Cars name these
// rectangles.

#include <filesystem>

namespace content {

/// Writes every vehicle picture; false when one cannot be written.
bool makeVehiclePictures(const std::filesystem::path& root);

} // namespace content
