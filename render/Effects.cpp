#include "render/Effects.h"

#include "framework/ShaderManager.h"
#include "render/SceneAssets.h"
#include "render/SmokePuffs.h"
#include "render/TrackMarks.h"

sf::Shader* wildlifeShadowShader()
{
    orv::ShaderRecord& record = orv::ShaderManager::get(sceneAssets.shadowShader);
    return record.loaded && record.shader ? &record.shader->shader() : nullptr;
}

void initEffects()
{
    orv::ShaderRecord& record = orv::ShaderManager::get(sceneAssets.shadowShader);
    if (record.loaded && record.shader)
        record.shader->setUniform("texture", sf::Shader::CurrentTexture);
}

void emitVehicleEffects(const Vehicle& vehicle, bool tracks, bool exhaust)
{
    if (tracks)
        layTracks(vehicle);
    if (exhaust)
        emitExhaust(vehicle);
}
