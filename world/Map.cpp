#include "world/Map.h"

#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"
#include "world/MapPhysics.h"
#include "world/Minimap.h"
#include "world/ObjectDefs.h"
#include "world/TerrainTextures.h"

#include <algorithm>
#include <cmath>

Map currentMap;

namespace {

// Reading one map: the file, its colours and the count of warnings so far.
struct MapReader {
    const std::string& path;
    orv::IniFile& ini;
    orv::IniFile& colours;
    int warnings = 0;
};

constexpr int maxVertexWarnings = 20;

bool finite(const sf::Vector2f& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::fabs(v.x) <= maxCoordinate &&
           std::fabs(v.y) <= maxCoordinate;
}

sf::FloatRect boundsOf(const Polygon& points)
{
    if (points.empty())
        return sf::FloatRect();
    float minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const sf::Vector2f& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return sf::FloatRect(minX, minY, maxX - minX, maxY - minY);
}

// A count from the header, bounded by what the file holds.
int boundedCount(const std::string& path, const char* what, int claimed, int present)
{
    if (claimed <= 0)
        return 0;
    if (claimed > present)
        orv::Log::warning("Map " + path + " claims " + std::to_string(claimed) + " " + what + " but holds " +
                          std::to_string(present) + "; reading " + std::to_string(present));
    return std::min(claimed, present);
}

void readOutline(MapReader& reader, Sector& sector, int vertsCount)
{
    const std::string list = reader.ini.getString("verts", "");
    for (const std::string& item : orv::splitString(list, ',', true)) {
        const int n = orv::toInt(item);
        if (n < 0 || n >= vertsCount) {
            if (reader.warnings < maxVertexWarnings)
                orv::Log::warning("Map " + reader.path + ": sector " + std::to_string(sector.index) +
                                  " uses vertex " + std::to_string(n) + ", which is not in its vertex list");
            else if (reader.warnings == maxVertexWarnings)
                orv::Log::warning("Map " + reader.path + ": more vertex numbers out of range not reported");
            ++reader.warnings;
            continue;
        }
        // Vertices the file does not hold read as (0, 0), like a missing key.
        const std::size_t i = static_cast<std::size_t>(n);
        sector.points.push_back(i < currentMap.vertices.size() ? currentMap.vertices[i] : sf::Vector2f());
    }
    if (sector.points.size() < 3)
        return; // no area: no triangles, no fixtures, empty bounds
    for (const sf::Vector2f& p : sector.points)
        sector.clipPath.push_back({p.x, p.y});
    triangulate(sector.points, {}, sector.triangles);
    sector.bounds = boundsOf(sector.points);
}

void readSector(MapReader& reader, Sector& sector, int n, int vertsCount)
{
    orv::IniFile& ini = reader.ini;
    ini.setSection("sector" + std::to_string(n));
    sector.index = static_cast<std::uint16_t>(n);
    sector.found = false;
    readOutline(reader, sector, vertsCount);

    const std::string passable = ini.getValue("passable");
    sector.passable = static_cast<std::int16_t>(passable.empty() ? 0 : orv::toInt(passable));
    sector.categoryBits =
        sector.passable >= 0 && sector.passable <= 5 ? static_cast<std::uint16_t>(1u << sector.passable) : 0;
    sector.shadowMode = ini.getInt("shadowMode", 0);
    sector.isShadow = ini.getBool("isShadow", false);

    if (sector.isShadow) {
        sector.colour = sector.shadowMode == 1   ? sf::Color(255, 255, 255, 32)
                        : sector.shadowMode == 2 ? sf::Color(0, 0, 0, 32)
                                                 : sf::Color(0, 0, 0, 96);
        sector.textureIndex = -1;
    } else if (ini.getInt("sectorType", 0) == 1) {
        // Door track: its texture index stays 0 whether or not a texture exists.
        sector.colour = reader.colours.getColor("DoorTrack", sf::Color::White);
        sector.categoryBits = 0x0001;
        sector.textureIndex = 0;
    } else {
        const std::string name = orv::removeExtension(ini.getString("floorTexture", ""));
        sector.textureIndex = -1;
        for (std::size_t i = 0; i < terrainTextures.size() && !name.empty(); ++i) {
            if (terrainTextures[i]->name == name) {
                sector.textureIndex = static_cast<std::int32_t>(i);
                break;
            }
        }
        if (name.compare(0, 3, "FF_") == 0) {
            sector.colour = reader.colours.getColor("FF_Used", sf::Color::White);
            sector.categoryBits = 0x0001;
        } else {
            sector.colour = reader.colours.getColor(name, sf::Color::White);
        }
    }

    const sf::Vector2i offset = ini.getVector2i("textureOffset", sf::Vector2i(0, 0));
    sector.textureOffset = sf::Vector2f(static_cast<float>(offset.x), static_cast<float>(offset.y));
    sector.bevelType = ini.getInt("bevelType", 0);
    sector.waterEffect = ini.getBool("waterEffect", false);
    sector.roofSector = ini.getBool("roofSector", false);
}

} // namespace

void clearMap()
{
    currentMap.vertices.clear();
    currentMap.sectors.clear();
    currentMap.objects.clear();
    currentMap.mapSize = sf::Vector2i();
    currentMap.startZone = StartZone();
    currentMap.startPosition = sf::Vector2f();
}

bool loadMap(const std::string& path)
{
    clearMap();
    currentMap.loadError.clear();

    orv::IniFile colours;
    if (!colours.load(textureColoursFile))
        orv::Log::warning("Failed to load texture colours: " + colours.lastError);

    orv::IniFile ini;
    if (!ini.load(path)) {
        currentMap.loadError = ini.lastError;
        currentMap.minimapReady = false;
        return false;
    }
    MapReader reader{path, ini, colours};

    ini.setSection("startZones");
    currentMap.startZone.rect = ini.getFloatRect("rect0", sf::FloatRect(0, 0, 0, 0));
    const sf::FloatRect& zone = currentMap.startZone.rect;
    currentMap.startPosition = sf::Vector2f(zone.left + zone.width * 0.5f, zone.top + zone.height * 0.5f);
    if (!finite(currentMap.startPosition)) {
        orv::Log::warning("Map " + path + ": start zone out of range; starting at 0,0");
        currentMap.startPosition = sf::Vector2f();
    }

    ini.setSection("header");
    const int sectorsCount = ini.getInt("sectorsCount", 0);
    const int vertsCount = std::max(0, ini.getInt("vertsCount", 0));
    const int objectsCount = ini.getInt("objectsCount", 0);
    currentMap.mapSize = ini.getVector2i("mapSize", sf::Vector2i(0, 0));

    ini.setSection("verts");
    const int vertsHeld = boundedCount(path, "vertices", vertsCount, ini.numberedKeysPresent("pos", vertsCount));
    currentMap.vertices.resize(static_cast<std::size_t>(vertsHeld));
    for (int i = 0; i < vertsHeld; ++i) {
        sf::Vector2f v = ini.getVector2f("pos" + std::to_string(i), sf::Vector2f(0, 0));
        if (!finite(v)) {
            orv::Log::warning("Map " + path + ": vertex " + std::to_string(i) + " out of range; read as 0,0");
            v = sf::Vector2f();
        }
        currentMap.vertices[static_cast<std::size_t>(i)] = v;
    }

    int sectorsHeld = boundedCount(path, "sectors", sectorsCount,
                                   ini.numberedSectionsPresent("sector", std::max(sectorsCount, 0)));
    if (sectorsHeld > maxSectors) {
        orv::Log::warning("Map " + path + " has more than " + std::to_string(maxSectors) + " sectors; reading " +
                          std::to_string(maxSectors));
        sectorsHeld = maxSectors;
    }
    currentMap.sectors.resize(static_cast<std::size_t>(sectorsHeld));
    for (int n = 0; n < sectorsHeld && !orv::quitSignalled(); ++n)
        readSector(reader, currentMap.sectors[static_cast<std::size_t>(n)], n, vertsCount);

    const int objectsHeld = boundedCount(path, "objects", objectsCount,
                                         ini.numberedSectionsPresent("object", std::max(objectsCount, 0)));
    currentMap.objects.reserve(static_cast<std::size_t>(objectsHeld));
    int valid = 0;
    for (int i = 0; i < objectsHeld; ++i) {
        ini.setSection("object" + std::to_string(i));
        const int definition = findObjectDef(ini.getString("objectType", ""));
        if (definition < 0)
            continue;
        MapObject object;
        object.definition = definition;
        object.position = ini.getVector2f("pos", sf::Vector2f(0, 0));
        object.angle = ini.getFloat("angle", 0.0f);
        if (!finite(object.position)) {
            orv::Log::warning("Map " + path + ": object " + std::to_string(i) + " out of range; skipped");
            continue;
        }
        currentMap.objects.push_back(object);
        createObjectBody(currentMap.objects.back());
        ++valid;
    }
    orv::Log::info("Found " + std::to_string(valid) + "/" + std::to_string(std::max(objectsCount, 0)) +
                   " valid map objects");

    buildSectorBodies();
    if (orv::quitSignalled()) {
        // Half-built sectors must not outlive the load: leave an empty map.
        resetPhysicsWorld();
        clearMap();
        currentMap.loadError = "Loading " + path + " was stopped by a quit request";
        currentMap.minimapReady = false;
        orv::Log::write(currentMap.loadError);
        return false;
    }
    buildMinimap();
    return true;
}
