#pragma once
// The maps of "Data/Maps/": ZQR_Lakes.map, the default world (meadows, three
// lakes, a road loop, a village, woods), and ZQR_SkidPad.map, a test track.

#include <filesystem>
#include <string>

namespace content {

/// The lakes map's file text.
std::string lakesMap();
/// The skid pad's file text.
std::string skidPadMap();
/// Writes both maps; false when one cannot be written.
bool makeMaps(const std::filesystem::path& root);

} // namespace content
