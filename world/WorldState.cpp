#include "world/WorldState.h"

#include "world/ImageSets.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"
#include "world/TerrainTextures.h"

void resetWorld()
{
    clearMap();
    currentMap.minimapReady = false;
    currentMap.minimapScale = 0.1f;
    currentMap.minimapSize = sf::Vector2u();
    currentMap.minimapTexture.reset();
    resetPhysicsWorld();

    objectDefs.clear();
    textureImages.clear();
    imageSetTextures.clear();
    terrainTextures.clear();
    textureMaterials.fill(TextureMaterial());
    textureMaterialCount = 1;
    textureMaterialMap.clear();
}
