#pragma once
// The physics world of the map: a static body per sector whose triangle
// fixtures cover the part not hidden under later sectors, a box body per
// placed object, and the query for the sectors under a rectangle.

#include "world/Map.h"
#include "world/SectorQueryMode.h"
#include "world/Units.h"

#include <SFML/Graphics/Rect.hpp>

#include <vector>

class b2World;

namespace ctk {
class DebugDraw;
}

/// The world; replaced by resetPhysicsWorld().
extern b2World* physicsWorld;

/// The debug drawer attached to every world (set its view before drawing).
ctk::DebugDraw& physicsDebugDraw();

/// Destroys the world (and every body in it) and makes a new one with
/// gravity 0, the debug drawer and the contact listener attached. The map
/// forgets its bodies and the query lists are emptied.
b2World* resetPhysicsWorld();
/// Destroys the bodies currentMap made in the current world (sectors and
/// objects) and empties the query lists; the map itself stays.
void destroyMapBodies();
/// A static body for every sector of currentMap.
void buildSectorBodies();
/// The body of one placed object whose definition and position are set.
void createObjectBody(MapObject& object);
/// The sectors under `rect` (world pixels), lowest index first, so the last is
/// the topmost. Valid until the next query.
const std::vector<Sector*>& findSectors(const sf::FloatRect& rect, SectorQueryMode mode);
/// Draws every fixture of the world with the debug drawer (the
/// debug overlay itself shows joints only).
void drawPhysicsShapes();
/// The static body joints can hold on to: the first sector's, or (for a map
/// without sectors) one made for the purpose in the current world.
b2Body* groundBody();
