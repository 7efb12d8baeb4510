#pragma once
// The world's process-wide state in one place: the map, the physics world and
// its query lists, object definitions, image sets and terrain textures and
// materials. Choosing another map needs only resetPhysicsWorld() and loadMap();
// this is the full reset, for tests and for anything that must start over.

/// Back to the state of a fresh process: no map (its bodies destroyed, no
/// minimap), a new empty physics world with empty query lists, and no object
/// definitions, image sets, terrain textures or materials (entry 0 only).
void resetWorld();
