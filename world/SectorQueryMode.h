#pragma once
// Which sectors a query under a rectangle keeps: shared by the map's query
// and the physics callback that answers it.

#include <cstdint>

/// The sectors findSectors() keeps.
enum class SectorQueryMode : std::int32_t {
    NonRoof = 2, ///< sectors that are not roofs
    Ground = 3,  ///< sectors that are neither roofs nor shadows
};
