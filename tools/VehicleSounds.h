#pragma once
// Engine loops and horns under "Data/Sounds": Engine\Engine_<kind>_Idle and
// _Moving for every engine (the small car's in two numbered variants each)
// and the horns under Horns\.

#include <filesystem>

namespace content {

/// Writes every engine loop and horn; false when one cannot be written.
bool makeVehicleSounds(const std::filesystem::path& root);

} // namespace content
