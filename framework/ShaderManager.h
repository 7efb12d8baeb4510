#pragma once
// The process-wide shader table. Shaders are referred to by handle; a reload
// recompiles every shader from its files without changing any handle, so
// sources can be edited while the program runs.

#include "framework/CachedShader.h"

#include <cstdint>
#include <string>

namespace orv {

using ShaderHandle = std::int32_t;

struct ShaderRecord {
    bool used = false;
    std::string vertexPath;
    std::string fragmentPath;
    CachedShader* shader = nullptr;
    bool loaded = false;
};

/// Handles of the framework's own shaders; -1 when they failed to register.
struct FrameworkShaders {
    ShaderHandle spriteShadow = -1;
    ShaderHandle teamColour = -1;
    ShaderHandle thermalImaging = -1;
    ShaderHandle fog = -1;
    ShaderHandle uiIcon = -1;
};
extern FrameworkShaders frameworkShaders;

namespace ShaderManager {

constexpr int tableSize = 1024;

/// Frees every record and registers the framework's shaders. False when this
/// machine has no shader support.
bool initShaders();
/// Registers and compiles a shader; -1 when a named file is missing, both
/// paths are empty or the table is full. A shader that does not compile still
/// gets its handle (with loaded false).
ShaderHandle load(const std::string& vertexPath, const std::string& fragmentPath);
/// (Re)compiles one record from its stored paths.
bool compile(ShaderHandle handle);
/// The record of a handle; anything out of range gives record 0, never loaded.
ShaderRecord& get(ShaderHandle handle);
/// Recompiles every used record and forgets their uniform caches.
void reloadAll();
/// Empties the table without compiling anything (tests, and initShaders).
void resetTable();

} // namespace ShaderManager
} // namespace orv
