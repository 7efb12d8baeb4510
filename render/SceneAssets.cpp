#include "render/SceneAssets.h"

#include "framework/ContentFile.h"
#include "framework/Core.h"
#include "framework/PathUtil.h"
#include "vehicle/VehicleDef.h"
#include "world/ObjectDefs.h"

SceneAssets sceneAssets;

namespace {

// Loads into the texture object already there; a file that does not load
// leaves it empty (the media library, or the file check, logs why).
void loadEffect(std::unique_ptr<sf::Texture>& texture, const char* path, bool smooth)
{
    if (!texture)
        texture = std::make_unique<sf::Texture>();
    if (!orv::checkContentFile("loadSceneAssets", path) || !texture->loadFromFile(orv::nativePath(path)))
        *texture = sf::Texture();
    if (smooth)
        texture->setSmooth(true);
    texture->setRepeated(true);
}

} // namespace

void loadSceneAssets(bool firstLoad)
{
    const bool graphics = orv::isWindowOpen();
    if (graphics) {
        if (firstLoad) {
            sceneAssets.waterShader = orv::ShaderManager::load("Data\\Shaders\\Water.vert", "Data\\Shaders\\Water.frag");
            sceneAssets.shadowShader =
                orv::ShaderManager::load("Data\\Shaders\\Shadow.vert", "Data\\Shaders\\Shadow.frag");
        } else {
            orv::ShaderManager::reloadAll();
        }
    }

    vehicleDefs.clear();
    objectDefs.clear();

    if (graphics) {
        // The tread stripes keep hard edges: no smoothing.
        loadEffect(sceneAssets.wheelScrollTexture, "Data\\Effects\\WheelScroll.png", false);
        loadEffect(sceneAssets.smokeTexture, "Data\\Effects\\Smoke.png", true);
        loadEffect(sceneAssets.vehicleTrackTexture, "Data\\Effects\\VehicleTrack.png", true);
        loadEffect(sceneAssets.wildlifeTexture, "Data\\Effects\\Wildlife.png", true);
        loadEffect(sceneAssets.riverbedTexture, "Data\\Effects\\Riverbed.png", true);
    }

    loadVehicleDefs();
    loadObjectDefs();
}
