#pragma once
// Loading a map into the world: its data, its bodies in the physics world and
// its minimap, in that order. Sits above the map, its physics and its minimap
// so that none of those needs the others' loading steps.

#include <string>

/// Loads a map file into currentMap, builds its bodies in the current physics
/// world and its minimap. The previous map's bodies, if they are still in that
/// world, are destroyed first. An unreadable file leaves the map empty and
/// returns false with the reason in currentMap.loadError, for the caller to show.
bool loadMap(const std::string& path);
/// Empties the map, destroying the bodies it made in the physics world.
void clearMap();
