#pragma once
// A GPU shader with a cache of the uniform values last sent to it: setting a
// uniform to the value it already has costs a hash lookup, not a GL call.
// Textures are the exception and always go through.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <string>
#include <unordered_map>

namespace orv {

class CachedShader {
public:
    /// Type tags of the cached values.
    enum Tag : std::int32_t { Float = 1, Vec2 = 2, Vec4 = 4, Int = 5, Bool = 9, Texture = 15, CurrentTexture = 16 };

    void setUniform(const std::string& name, float value);
    void setUniform(const std::string& name, const sf::Vector2f& value);
    void setUniform(const std::string& name, const sf::Glsl::Vec4& value);
    /// Colours go to the shader as normalised 4-component vectors.
    void setUniform(const std::string& name, const sf::Color& value);
    void setUniform(const std::string& name, int value);
    void setUniform(const std::string& name, bool value);
    /// Never skipped: a texture's GL name is reused after it dies, so it
    /// cannot tell a new texture from the old one.
    void setUniform(const std::string& name, const sf::Texture& texture);
    void setUniform(const std::string& name, sf::Shader::CurrentTextureType);

    /// Forgets every cached value: a recompiled program has lost them.
    void clearCache() { uniformCache_.clear(); }

    sf::Shader& shader() { return shader_; }
    /// Uniform values actually handed to the shader (cache misses).
    std::uint64_t uploads() const { return uploads_; }

private:
    struct Value {
        std::int32_t tag = 0;
        float f[4] = {0, 0, 0, 0};
        std::int64_t i = 0;
    };
    bool changed(const std::string& name, const Value& value);

    sf::Shader shader_;
    std::unordered_map<std::string, Value> uniformCache_;
    std::uint64_t uploads_ = 0;
};

} // namespace orv
