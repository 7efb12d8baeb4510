#pragma once
// Everything the scene is drawn with beyond the map: the water and shadow
// shaders, the five effect textures, and (through their loaders) the vehicle
// and object definitions. Loaded at start-up and again by the reload key.

#include "framework/ShaderManager.h"

#include <SFML/Graphics/Texture.hpp>

#include <memory>

struct SceneAssets {
    orv::ShaderHandle waterShader = -1;
    orv::ShaderHandle shadowShader = -1;
    // Made once and reloaded in place, so sprites pointing at them stay valid.
    // Null where there is no graphics context (headless tests).
    std::unique_ptr<sf::Texture> wheelScrollTexture;
    std::unique_ptr<sf::Texture> smokeTexture;
    std::unique_ptr<sf::Texture> vehicleTrackTexture;
    std::unique_ptr<sf::Texture> wildlifeTexture;
    std::unique_ptr<sf::Texture> riverbedTexture;
};

/// The process-wide scene assets.
extern SceneAssets sceneAssets;

/// Shaders (registered on the first load, recompiled after), effect textures,
/// then vehicleDefs and objectDefs read again from disk. Shaders and textures
/// are skipped while no window is open.
void loadSceneAssets(bool firstLoad);
