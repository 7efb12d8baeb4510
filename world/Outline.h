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

/// Outlines that come back to points they already passed more often than
/// this after cleaning are refused too: edges walked over and over again
/// (laps broken by a stray vertex, which cleaning cannot fold) make the
/// clipper and the tessellator crawl where a clean outline of the same
/// length takes milliseconds. Real outlines touch themselves a few times.
constexpr std::size_t maxOutlineReturns = 64;

/// How many points of a closed outline repeat one met earlier.
std::size_t outlineReturns(const Polygon& outline);

/// Removes from a closed outline, in place: consecutive repeated points
/// (including the last point repeating the first), spikes (a point whose
/// neighbours are the same point) and whole laps that repeat the outline.
/// The area covered is unchanged.
void simplifyOutline(Polygon& outline);
