#pragma once
// Maps generated for the benchmarks: a background sector and many randomly
// placed, overlapping quadrilaterals, plus optional objects.

#include <string>

/// Map text of `sectors` sectors (the first the background) and `objects`
/// objects of type "Crate.ob" on a square map of `mapSide` world pixels.
std::string generatedMapText(int sectors, int objects, int mapSide, unsigned seed);

/// Writes the map to `path` (creating folders) and returns the path.
std::string writeGeneratedMap(const std::string& path, int sectors, int objects, int mapSide, unsigned seed);

/// A map of `districts` copies, side by side, of one district of
/// `sectorsPerDistrict` overlapping sectors on a square of `districtSide`,
/// under one background sector. Every copy has the same overlaps, so building
/// it should cost `districts` times one district if building scales with them.
std::string writeDistrictMap(const std::string& path, int districts, int sectorsPerDistrict, int districtSide,
                             unsigned seed);
