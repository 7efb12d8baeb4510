#pragma once
// What the effects (tracks, smoke, wildlife) share: their set-up at
// frame-loop start and what the vehicles feed them each frame.

namespace sf {
class Shader;
} // namespace sf

class Vehicle;

/// Prepares the effects' drawing: the wildlife shadow pass's shader gets its
/// texture uniform once.
void initEffects();
/// The shader of the flying animals' shadows, or null when it did not compile.
sf::Shader* wildlifeShadowShader();
/// Lays the vehicle's tyre tracks and puffs its exhaust, as the settings ask;
/// once per frame, after the world has stepped.
void emitVehicleEffects(const Vehicle& vehicle, bool tracks, bool exhaust);
