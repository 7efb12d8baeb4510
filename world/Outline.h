#pragma once
// Cleaning of sector outlines read from map files. Repeated points, spikes
// that run out and back along an edge and laps that go round the same outline
// again add no area, but they cost the tessellator and the clipper dearly
// (thousands of laps hang both), so they go before either sees the outline.

#include "world/Triangulate.h"

#include <cstddef>

/// Outlines with more points than this after cleaning are refused: no real
/// sector comes near it, and the triangulation of one takes seconds.
constexpr std::size_t maxOutlinePoints = 8192;

/// Removes from a closed outline, in place: consecutive repeated points
/// (including the last point repeating the first), spikes (a point whose
/// neighbours are the same point) and whole laps that repeat the outline.
/// The area covered is unchanged.
void simplifyOutline(Polygon& outline);
