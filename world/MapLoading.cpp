#include "world/MapLoading.h"

#include "framework/Log.h"
#include "framework/Signals.h"
#include "world/Map.h"
#include "world/MapPhysics.h"
#include "world/Minimap.h"

void clearMap()
{
    destroyMapBodies();
    clearMapData();
}

bool loadMap(const std::string& path)
{
    clearMap();
    if (!readMap(path)) {
        currentMap.minimapReady = false;
        return false;
    }
    // Objects before sectors, each in file order: the order bodies enter the
    // world is part of what a replay reproduces.
    for (MapObject& object : currentMap.objects)
        createObjectBody(object);
    buildSectorBodies();
    if (orv::quitSignalled()) {
        // Half-built sectors must not outlive the load: leave an empty map.
        resetPhysicsWorld();
        clearMap();
        currentMap.loadError = "Loading " + path + " was stopped by a quit request";
        currentMap.minimapReady = false;
        orv::Log::write(currentMap.loadError);
        return false;
    }
    buildMinimap();
    return true;
}
