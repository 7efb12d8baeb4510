#include "framework/CachedShader.h"

namespace orv {

bool CachedShader::changed(const std::string& name, const Value& value)
{
    auto it = uniformCache_.find(name);
    if (it != uniformCache_.end() && it->second.tag == value.tag) {
        const Value& old = it->second;
        // Plain == on floats on purpose: a NaN never matches, so it is resent.
        const bool same = old.f[0] == value.f[0] && old.f[1] == value.f[1] && old.f[2] == value.f[2] &&
                          old.f[3] == value.f[3] && old.i == value.i;
        if (same)
            return false;
    }
    uniformCache_[name] = value;
    ++uploads_;
    return true;
}

void CachedShader::setUniform(const std::string& name, float value)
{
    Value v;
    v.tag = Float;
    v.f[0] = value;
    if (changed(name, v))
        shader_.setUniform(name, value);
}

void CachedShader::setUniform(const std::string& name, const sf::Vector2f& value)
{
    Value v;
    v.tag = Vec2;
    v.f[0] = value.x;
    v.f[1] = value.y;
    if (changed(name, v))
        shader_.setUniform(name, sf::Glsl::Vec2(value));
}

void CachedShader::setUniform(const std::string& name, const sf::Glsl::Vec4& value)
{
    Value v;
    v.tag = Vec4;
    v.f[0] = value.x;
    v.f[1] = value.y;
    v.f[2] = value.z;
    v.f[3] = value.w;
    if (changed(name, v))
        shader_.setUniform(name, value);
}

void CachedShader::setUniform(const std::string& name, const sf::Color& value)
{
    setUniform(name, sf::Glsl::Vec4(value));
}

void CachedShader::setUniform(const std::string& name, int value)
{
    Value v;
    v.tag = Int;
    v.i = value;
    if (changed(name, v))
        shader_.setUniform(name, value);
}

void CachedShader::setUniform(const std::string& name, bool value)
{
    Value v;
    v.tag = Bool;
    v.i = value ? 1 : 0;
    if (changed(name, v))
        shader_.setUniform(name, value);
}

void CachedShader::setUniform(const std::string& name, const sf::Texture& texture)
{
    // Always sent: OpenGL hands a dead texture's name to the next texture it
    // makes, so an equal name says nothing about the texture, and the shader
    // must not keep pointing at the one that died. The shader only records
    // which texture to bind, so sending is cheap.
    Value v;
    v.tag = Texture;
    v.i = texture.getNativeHandle();
    uniformCache_[name] = v;
    ++uploads_;
    shader_.setUniform(name, texture);
}

void CachedShader::setUniform(const std::string& name, sf::Shader::CurrentTextureType)
{
    Value v;
    v.tag = CurrentTexture;
    if (changed(name, v))
        shader_.setUniform(name, sf::Shader::CurrentTexture);
}

} // namespace orv
