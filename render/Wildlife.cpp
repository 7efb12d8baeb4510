#include "render/Wildlife.h"

#include "framework/ProgramClock.h"
#include "framework/Random.h"
#include "render/EffectQuads.h"
#include "world/Map.h"
#include "world/MapPhysics.h"
#include "world/Units.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cmath>

CappedList<Animal> animals(maxAnimals);
std::array<int, animalKindCount> animalCounts{};

namespace {

// The kinds: 0 insects, 1 butterflies, 3 coloured butterflies, 4 fish, 5
// birds. There is no kind 2.
struct KindTraits {
    float speedMin, speedMax;
    float lifeMin, lifeMax;
    float maxAlpha;
    std::int16_t layer;
    bool shadow;
    int reaimOneIn; ///< 0: never
    float turnRate; ///< degrees a second
    float frameTime;
};

const KindTraits kindTraits[animalKindCount] = {
    {170.0f, 200.0f, 10.0f, 20.0f, 0.7f, animalLayerFlying, false, 2, 90.0f, 0.0f},
    {30.0f, 50.0f, 15.0f, 40.0f, 0.8f, animalLayerFlying, false, 4, 30.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, animalLayerFlying, false, 0, 0.0f, 0.0f}, // unused
    {30.0f, 50.0f, 15.0f, 40.0f, 0.8f, animalLayerFlying, false, 2, 180.0f, 0.15f},
    {10.0f, 25.0f, 30.0f, 90.0f, 0.3f, animalLayerWater, false, 0, 10.0f, 0.3f},
    {190.0f, 200.0f, 240.0f, 300.0f, 1.0f, animalLayerFlying, true, 10, 20.0f, 0.15f},
};

void setFrames(Animal& a, std::initializer_list<sf::IntRect> frames)
{
    a.frameCount = 0;
    for (const sf::IntRect& r : frames)
        a.frames[a.frameCount++] = r;
}

// The atlas frames of a kind; some kinds pick a colour or a variant.
void pickFrames(Animal& a)
{
    switch (a.kind) {
    case 0:
        setFrames(a, {{2, 2, 3, 2}});
        break;
    case 1:
        setFrames(a, {{9, 2, 3, 3}});
        break;
    case 3: {
        static const int lefts[3] = {2, 10, 18};
        const int left = lefts[orv::randomShort() % 3];
        setFrames(a, {{left, 8, 5, 3}, {left, 13, 5, 3}, {left, 18, 5, 3}, {left, 23, 5, 3}});
        break;
    }
    case 4:
        if (orv::randomShort() % 2 == 0)
            setFrames(a, {{29, 2, 3, 7}, {34, 2, 3, 7}});
        else
            setFrames(a, {{29, 12, 3, 11}, {34, 12, 3, 11}});
        break;
    case 5:
        setFrames(a, {{2, 50, 13, 12}, {18, 50, 15, 12}, {36, 50, 15, 12}, {18, 50, 15, 12}});
        break;
    default:
        setFrames(a, {});
        break;
    }
}

float wrapDegrees(float degrees)
{
    float d = std::fmod(degrees, 360.0f);
    if (d < 0.0f)
        d += 360.0f;
    return d >= 360.0f ? 0.0f : d;
}

bool overWater(const Animal& a)
{
    const std::vector<Sector*>& under = findSectors(sf::FloatRect(a.x, a.y, 1.0f, 1.0f), SectorQueryMode::Ground);
    const Sector* top = !under.empty() ? under.back()
                        : currentMap.sectors.empty() ? nullptr
                                                     : &currentMap.sectors.front();
    return top && top->passable == 2;
}

} // namespace

int wildlifeTarget(int kind, const float* levels)
{
    float target = 0.0f;
    switch (kind) {
    case 0:
        target = 40.0f * std::max({levels[0], levels[1], levels[2]}) + 10.0f * levels[3];
        break;
    case 1:
        target = 10.0f * levels[0];
        break;
    case 3:
        target = 3.0f * levels[0];
        break;
    case 4:
        target = 30.0f * levels[4];
        break;
    case 5:
        target = 2.0f * std::max(levels[0], levels[1]);
        break;
    default:
        break;
    }
    return std::isfinite(target) ? static_cast<int>(std::clamp(target, -1.0e6f, 1.0e6f)) : 0;
}

void populateWildlife(const sf::Vector2f& centre, const float* levels)
{
    for (int kind : {0, 1, 3, 4, 5}) {
        const int missing = wildlifeTarget(kind, levels) - animalCounts[static_cast<std::size_t>(kind)];
        for (int i = 0; i < missing; ++i) {
            const float distance = effectRandom(0.0f, 1000.0f);
            float bearing = effectRandom(0.0f, 360.0f);
            if (bearing >= 360.0f)
                bearing = 0.0f;
            spawnAnimal(centre + bearingVector(bearing) * distance, kind);
        }
    }
}

void spawnAnimal(const sf::Vector2f& position, int kind)
{
    while (animals.full())
        animals.popOldest();
    if (orv::randomShort() % 20 == 0 || kind < 0 || kind >= animalKindCount)
        return;
    const KindTraits& traits = kindTraits[kind];
    Animal a;
    a.kind = kind;
    a.x = position.x;
    a.y = position.y;
    a.heading = wrapDegrees(effectRandom(0.0f, 360.0f));
    a.desiredHeading = wrapDegrees(effectRandom(0.0f, 360.0f));
    a.speed = effectRandom(traits.speedMin, traits.speedMax);
    a.life = effectRandom(traits.lifeMin, traits.lifeMax);
    a.maxAlpha = traits.maxAlpha;
    a.layer = traits.layer;
    a.castsShadow = traits.shadow;
    a.frameTime = traits.frameTime;
    pickFrames(a);
    if (a.frameCount > 0) {
        a.sizeX = static_cast<float>(a.frames[0].width);
        a.sizeY = static_cast<float>(a.frames[0].height);
    }
    animals.push(a);
}

float turnHeading(float heading, float desired, float maxStep)
{
    if (heading == desired)
        return heading;
    const float gap = std::fabs(heading - desired);
    const float step = std::min(gap, maxStep);
    const bool up = desired > heading;
    // Below half a turn the direct way is the short one; from there on the
    // short way crosses 0/360.
    if (gap < 180.0f)
        heading += up ? step : -step;
    else
        heading += up ? -step : step;
    return wrapDegrees(heading);
}

void updateWildlife(float dt, const sf::FloatRect& visible, float tickPeriod)
{
    dt = effectTime(dt);
    tickPeriod = effectTime(tickPeriod);
    animalCounts.fill(0);
    const sf::Vector2f centre(visible.left + visible.width * 0.5f, visible.top + visible.height * 0.5f);
    const sf::FloatRect margin(visible.left - 100.0f, visible.top - 100.0f, visible.width + 200.0f,
                               visible.height + 200.0f);
    const float now = static_cast<float>(orv::ProgramClock::now());
    animals.updateNewestFirst([&](Animal& a) {
        if (a.kind >= 0 && a.kind < animalKindCount)
            ++animalCounts[static_cast<std::size_t>(a.kind)];
        const KindTraits& traits = kindTraits[std::clamp(a.kind, 0, animalKindCount - 1)];

        if (a.frameCount > 1 && now >= a.lastFrameSwitch + a.frameTime) {
            a.frameIndex = static_cast<std::int16_t>((a.frameIndex + 1) % a.frameCount);
            a.lastFrameSwitch = now;
        }

        if (tickPeriod > 0.0f) {
            if (margin.contains(a.x, a.y))
                a.outOfViewTime = 0.0f;
            else
                a.outOfViewTime += tickPeriod;
            if (traits.reaimOneIn > 0 && orv::randomShort() % traits.reaimOneIn == 0)
                a.desiredHeading = wrapDegrees(effectRandom(0.0f, 360.0f));
            a.heading = turnHeading(a.heading, a.desiredHeading, traits.turnRate * tickPeriod);
        }

        const sf::Vector2f step = bearingVector(a.heading) * (a.speed * dt);
        a.x += step.x;
        a.y += step.y;

        if (a.life > 1.0f && a.alpha < 1.0f)
            a.alpha += dt;
        else if (a.life <= 1.0f && a.alpha > 0.0f)
            a.alpha -= dt;
        a.alpha = std::clamp(a.alpha, 0.0f, 1.0f);
        a.colour.a = static_cast<sf::Uint8>(std::clamp(a.maxAlpha * a.alpha * 255.0f, 0.0f, 255.0f));

        const float dx = a.x - centre.x, dy = a.y - centre.y;
        if (dx * dx + dy * dy > 1000.0f * 1000.0f && a.life >= 1.0f)
            a.life = 1.0f; // strayed too far: fade out
        if (a.outOfViewTime > 3.0f)
            a.life = 0.0f; // long out of view: gone without fading
        a.life -= dt;
        return a.life >= 0.0f;
    });
}

void buildWildlifeVertices(sf::VertexArray& vertices, bool flying, bool shadow, const sf::Vector2f& camera,
                           float zoom)
{
    vertices.clear();
    const sf::Vector2f shadowOffset = shadow ? sf::Vector2f(10.0f, 10.0f) : sf::Vector2f();
    for (std::size_t i = 0; i < animals.size(); ++i) {
        const Animal& a = animals[i];
        const bool isFlying = a.layer == animalLayerFlying;
        if (flying != isFlying || (shadow && !a.castsShadow) || a.frameCount == 0)
            continue;
        if (a.layer == animalLayerWater && !overWater(a))
            continue;
        const float r = a.heading * degreesToRadians;
        appendQuad(vertices, sf::Vector2f(a.x, a.y) - camera + shadowOffset, sf::Vector2f(a.sizeX, a.sizeY),
                   std::cos(r), std::sin(r), a.frames[static_cast<std::size_t>(a.frameIndex) % a.frameCount],
                   a.colour, zoom);
    }
}

// Scratch space for the batch, rebuilt each frame; only its allocation is kept.
namespace {
sf::VertexArray wildlifeVertices(sf::Quads);
} // namespace

void drawWildlife(sf::RenderTarget& target, bool flying, bool shadow, const sf::Vector2f& camera, float zoom,
                  const sf::Texture* texture, sf::Shader* shadowShader)
{
    buildWildlifeVertices(wildlifeVertices, flying, shadow, camera, zoom);
    drawQuadBatch(target, wildlifeVertices, texture, shadow ? shadowShader : nullptr);
}

void clearWildlife()
{
    animals.clear();
    animalCounts.fill(0);
}
