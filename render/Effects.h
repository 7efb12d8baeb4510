#pragma once
// Set-up shared by the effects (tracks, smoke, wildlife) at frame-loop start.

namespace sf {
class Shader;
} // namespace sf

/// Prepares the effects' drawing: the wildlife shadow pass's shader gets its
/// texture uniform once.
void initEffects();
/// The shader of the flying animals' shadows, or null when it did not compile.
sf::Shader* wildlifeShadowShader();
