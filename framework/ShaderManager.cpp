#include "framework/ShaderManager.h"

#include "framework/ContentFile.h"
#include "framework/Core.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <SFML/Graphics/Shader.hpp>

namespace orv {

FrameworkShaders frameworkShaders;

namespace ShaderManager {

namespace {

// Created once and never destroyed: GL programs must not be deleted after the
// context is gone at exit.
ShaderRecord* table()
{
    static ShaderRecord* records = [] {
        auto* r = new ShaderRecord[tableSize];
        for (int i = 0; i < tableSize; ++i)
            r[i].shader = new CachedShader;
        return r;
    }();
    return records;
}

std::string frameworkShaderPath(const char* file)
{
    return joinPath(joinPath(frameworkDataFolder, "Shaders\\"), file);
}

} // namespace

void resetTable()
{
    ShaderRecord* records = table();
    for (int i = 0; i < tableSize; ++i) {
        records[i].used = false;
        records[i].vertexPath.clear();
        records[i].fragmentPath.clear();
        records[i].loaded = false;
        records[i].shader->clearCache();
    }
}

bool initShaders()
{
    if (!sf::Shader::isAvailable())
        return false;
    resetTable();
    frameworkShaders.spriteShadow = load(frameworkShaderPath("SpriteShadow.vert"), frameworkShaderPath("SpriteShadow.frag"));
    frameworkShaders.teamColour = load(frameworkShaderPath("SpriteShadow.vert"), frameworkShaderPath("TeamColour.frag"));
    frameworkShaders.thermalImaging =
        load(frameworkShaderPath("ThermalImaging.vert"), frameworkShaderPath("ThermalImaging.frag"));
    frameworkShaders.fog = load(frameworkShaderPath("fog.vert"), frameworkShaderPath("fog.frag"));
    frameworkShaders.uiIcon = load(frameworkShaderPath("uiIcon.vert"), frameworkShaderPath("uiIcon.frag"));
    Log::info("Shaders initialised.");
    return true;
}

ShaderHandle load(const std::string& vertexPath, const std::string& fragmentPath)
{
    if (!vertexPath.empty() && !pathExists(vertexPath)) {
        Log::error("Vertex shader file not found: " + vertexPath);
        return -1;
    }
    if (!fragmentPath.empty() && !pathExists(fragmentPath)) {
        Log::error("Fragment shader file not found: " + fragmentPath);
        return -1;
    }
    if (vertexPath.empty() && fragmentPath.empty())
        return -1;
    ShaderRecord* records = table();
    for (ShaderHandle h = 1; h < tableSize; ++h) {
        if (records[h].used)
            continue;
        records[h].used = true;
        records[h].vertexPath = vertexPath;
        records[h].fragmentPath = fragmentPath;
        compile(h);
        return h;
    }
    return -1;
}

bool compile(ShaderHandle handle)
{
    if (handle < 1 || handle >= tableSize)
        return false;
    ShaderRecord& r = table()[handle];
    sf::Shader& shader = r.shader->shader();
    bool ok = false;
    // A folder in place of a source must not reach the media library, which
    // sizes its buffer from a seek on it; the record stays, so a reload after
    // the file is back compiles it again.
    if (!checkContentFile("ShaderManager::compile", r.vertexPath) ||
        !checkContentFile("ShaderManager::compile", r.fragmentPath)) {
        r.loaded = false;
        return false;
    }
    if (!r.vertexPath.empty() && !r.fragmentPath.empty()) {
        ok = shader.loadFromFile(nativePath(r.vertexPath), nativePath(r.fragmentPath));
        if (!ok)
            Log::error(format("Error loading vertex and fragment shaders from %s and %s", r.vertexPath.c_str(),
                              r.fragmentPath.c_str()));
    } else if (!r.vertexPath.empty()) {
        ok = shader.loadFromFile(nativePath(r.vertexPath), sf::Shader::Vertex);
        if (!ok)
            Log::error(format("Error loading vertex shader from %s", r.vertexPath.c_str()));
    } else if (!r.fragmentPath.empty()) {
        ok = shader.loadFromFile(nativePath(r.fragmentPath), sf::Shader::Fragment);
        if (!ok)
            Log::error(format("Error loading fragment shader from %s", r.fragmentPath.c_str()));
    }
    r.loaded = ok;
    return ok;
}

ShaderRecord& get(ShaderHandle handle)
{
    const auto index = static_cast<std::uint32_t>(handle);
    return index < static_cast<std::uint32_t>(tableSize) ? table()[index] : table()[0];
}

void reloadAll()
{
    ShaderRecord* records = table();
    for (ShaderHandle h = 1; h < tableSize; ++h) {
        if (!records[h].used)
            continue;
        compile(h);
        records[h].shader->clearCache();
    }
    Log::info("Reloaded shaders");
}

} // namespace ShaderManager
} // namespace orv
