#pragma once
// Object definitions ("Data/Objects/*.ob"): how crates, trees and barrels
// placed on maps look and collide.

#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <string>
#include <vector>

struct ObjectDef {
    std::string name; ///< file name with extension, e.g. "Crate.ob"; maps name types by it
    std::string desc;
    float objectScale = 1.0f;
    float mass = 0.0f; ///< density of the object's fixture
    bool hasCollision = true;
    sf::Vector2i collisionSize; ///< world pixels; the image size when both are 0 or less
    bool isKinematic = false;
    std::int32_t imageIndex = -1; ///< into textureImages, -1 for none
    sf::Vector2f size;            ///< the image's size in world pixels
};

/// Largest density (kg per square metre) a definition may give: far above any
/// real object, and low enough that a box of the largest collision size keeps
/// a finite mass and inertia in Box2D's floats.
constexpr float maxObjectMass = 1.0e5f;
/// Largest collision box side, in world pixels (about a kilometre).
constexpr int maxCollisionSize = 16384;
/// Largest "objectScale" accepted.
constexpr float maxObjectScale = 1000.0f;

/// Every definition in load order; map objects refer to them by position.
extern std::vector<ObjectDef> objectDefs;

/// Appends the definition of one ".ob" file (nothing when it cannot be read).
void loadObjectDef(const std::string& path);
/// Empties the list and loads every ".ob" file of "Data/Objects/".
void loadObjectDefs();
/// Index of the definition with exactly this name, or -1.
int findObjectDef(const std::string& name);
