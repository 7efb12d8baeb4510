#include "audio/Ambience.h"

#include "audio/Audio.h"
#include "framework/StringUtil.h"
#include "world/MapPhysics.h"
#include "world/SectorClipping.h"
#include "world/TerrainTextures.h"

#include <algorithm>

AmbienceState ambience;

namespace {

constexpr float boxSide = 400.0f;

struct AmbienceSound {
    AmbienceKind kind;
    const char* sound;
    const char* key;
};

// In playing order.
const AmbienceSound sounds[] = {
    {AmbienceRain, "ambience\\Rain_B", "AMB_RAIN_LOOP"},
    {AmbienceMeadow, "ambience\\Meadow_A", "AMB_MEADOW_LOOP"},
    {AmbienceJungle, "ambience\\Jungle_C", "AMB_JUNGLE_LOOP"},
    {AmbienceCity, "ambience\\City_B", "AMB_CITY_LOOP"},
    {AmbienceWater, "ambience\\Water_A", "AMB_WATER_LOOP"},
    {AmbienceShore, "ambience\\Shore_A", "AMB_SHORE_LOOP"},
    {AmbienceUnderwater, "ambience\\Underwater_A", "AMB_UNDERWATER_LOOP"},
};

template <typename Wanted>
float shareOf(const sf::Vector2f& point, Wanted wanted)
{
    const sf::FloatRect box(point.x - boxSide * 0.5f, point.y - boxSide * 0.5f, boxSide, boxSide);
    double total = 0.0;
    for (const Sector* sector : findSectors(box, SectorQueryMode::NonRoof))
        if (wanted(*sector))
            total += clippedArea(sector->clipPath, box);
    return std::clamp(static_cast<float>(total / (boxSide * boxSide)), 0.0f, 1.0f);
}

float overridden(int kind, float value)
{
    const float o = ambience.overrides[static_cast<std::size_t>(kind)];
    return o >= 0.0f ? std::min(o, 1.0f) : value;
}

} // namespace

void initAmbience()
{
    ambience.levels.fill(-1.0f);
    ambience.overrides.fill(-1.0f);
    ambience.soundNumbers.fill(-1);
    for (const AmbienceSound& s : sounds)
        ambience.soundNumbers[static_cast<std::size_t>(s.kind)] = orv::Audio::getSoundNumber(s.sound, true);
}

float grassShare(const sf::Vector2f& point)
{
    return shareOf(point, [](const Sector& sector) {
        const TerrainTexture* texture = terrainTextureAt(sector.textureIndex);
        return texture && orv::toLower(texture->name).find("grass") != std::string::npos;
    });
}

float waterShare(const sf::Vector2f& point)
{
    return shareOf(point, [](const Sector& sector) { return sector.passable == 2; });
}

void updateAmbientLevels(const sf::Vector2f& centre, bool ambientOn)
{
    if (!ambientOn)
        return;
    auto& levels = ambience.levels;
    levels[AmbienceMeadow] = overridden(AmbienceMeadow, grassShare(centre));
    for (int kind : {AmbienceJungle, AmbienceCity, AmbienceShore, AmbienceUnderwater, AmbienceRain})
        levels[static_cast<std::size_t>(kind)] = std::max(0.0f, overridden(kind, 0.0f));
    levels[AmbienceWildlife] = 0.0f;
    levels[AmbienceWater] = overridden(AmbienceWater, waterShare(centre));
    // The wildlife population step follows the levels here once wildlife lives.
}

void playAmbience()
{
    const sf::Vector2f listener = orv::Audio::listenerPosition();
    for (const AmbienceSound& s : sounds) {
        const float level = ambience.levels[static_cast<std::size_t>(s.kind)];
        const int number = ambience.soundNumbers[static_cast<std::size_t>(s.kind)];
        if (!(level > 0.0f) || number <= 0)
            continue;
        if (s.kind == AmbienceShore)
            orv::Audio::playSound(number, ambience.shorePosition, true, s.key, -1.0f, true,
                                  level * ambience.levels[AmbienceWater], 1.0f);
        else
            orv::Audio::playSound(number, listener, true, s.key, -1.0f, false, level, 1.0f);
    }
}
