#pragma once
// Polygon clipping on sector outlines with two decimal places of precision:
// the visible part of a sector under later sectors, and the part of an
// outline inside a rectangle.

#include "world/Triangulate.h"

#include <SFML/Graphics/Rect.hpp>

#include <clipper.hpp>

#include <vector>

/// A point of a clipping path, in world pixels.
struct PathPoint {
    double x = 0.0;
    double y = 0.0;
};
using ClipPath = std::vector<PathPoint>;

/// A path in the clipping library's integer form (world pixels x 100).
using IntPath = ClipperLib::Path;

/// Converts a path to integer form, keeping two decimals.
IntPath toIntPath(const ClipPath& path);

/// One area of a clipping result with the holes inside it.
struct ClippedArea {
    Polygon outline;
    std::vector<Polygon> holes;
};

/// `subject` minus the union of `clips` (non-zero fill), as areas with their
/// holes; islands inside holes are areas again. Empty when nothing is left.
/// With `window`, only the part of `subject` inside that rectangle.
std::vector<ClippedArea> clipDifference(const IntPath& subject, const std::vector<const IntPath*>& clips,
                                        const sf::FloatRect* window = nullptr);
/// True when nothing of `subject` lies outside `cover` (non-zero fill).
bool coveredBy(const IntPath& subject, const IntPath& cover);
/// The same for paths not yet converted.
std::vector<ClippedArea> clipDifference(const ClipPath& subject, const std::vector<const ClipPath*>& clips,
                                        const sf::FloatRect* window = nullptr);

/// The four corners of a rectangle as a path.
ClipPath rectanglePath(const sf::FloatRect& r);

/// Total signed area (shoelace) of the parts of `path` inside `rect`, in
/// square world pixels.
double clippedArea(const ClipPath& path, const sf::FloatRect& rect);
