#include "render/Effects.h"

#include "framework/ShaderManager.h"
#include "render/SceneAssets.h"

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
