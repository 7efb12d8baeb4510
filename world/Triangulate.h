#pragma once
// Triangulation of a polygon outline with holes, for drawing, physics and the
// minimap. Holes are holes whatever their direction (odd winding).

#include <SFML/System/Vector2.hpp>

#include <vector>

using Polygon = std::vector<sf::Vector2f>;

/// Appends the triangles (three points each) covering `outline` minus `holes`
/// to `triangles`. Succeeds only with a positive multiple of three points;
/// on failure `triangles` is left as it was. Points the triangulation adds
/// where edges cross are kept.
bool triangulate(const Polygon& outline, const std::vector<Polygon>& holes, Polygon& triangles);
