#pragma once
// Collision filtering of every body the program makes (Box2D: two fixtures
// collide when each one's mask shares a bit with the other's category). A
// sector's category is 1 << passable, so the masks below pick which kinds of
// ground stop objects and vehicles.

#include <cstdint>

/// Mask of sector fixtures.
constexpr std::uint16_t sectorMaskBits = 0x0002;
/// Category of an object that collides.
constexpr std::uint16_t solidObjectCategory = 0x0002;
/// Category of an object that only shows (no collision in its definition).
constexpr std::uint16_t ghostObjectCategory = 0x0008;
/// Mask of object fixtures.
constexpr std::uint16_t objectMaskBits = 0x0026;
/// Category of vehicle bodies.
constexpr std::uint16_t vehicleCategoryBits = 0x0002;
/// Mask of vehicle bodies.
constexpr std::uint16_t vehicleMaskBits = 0x0026;
