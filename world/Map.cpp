#include "world/Map.h"

#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"
#include "world/MapPhysics.h"
#include "world/Minimap.h"
#include "world/ObjectDefs.h"
#include "world/Outline.h"
#include "world/TerrainTextures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

Map currentMap;

namespace {

// Reading one map: the file, its colours and the count of warnings so far.
struct MapReader {
    const std::string& path;
    orv::IniFile& ini;
    orv::IniFile& colours;
    int warnings = 0;
};

constexpr int maxRepeatedWarnings = 20;

// Finite and within the coordinates the physics and the drawing can use.
bool inRange(const sf::Vector2f& v)
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

// A header count the file does not back up: say what is really read.
void warnIfClaimedMore(const std::string& path, const char* what, int claimed, std::size_t present)
{
    if (claimed > 0 && static_cast<std::size_t>(claimed) > present)
        orv::Log::warning("Map " + path + " claims " + std::to_string(claimed) + " " + what + " but holds " +
                          std::to_string(present) + "; reading " + std::to_string(present));
}

// Vertex `n` as the file gives it, (0, 0) when the file skips that number.
sf::Vector2f vertexAt(int n)
{
    const std::vector<MapVertex>& v = currentMap.vertices;
    const std::size_t i = static_cast<std::size_t>(n);
    if (i < v.size() && v[i].number == n)
        return v[i].position; // the usual case: every number present
    const auto it = std::lower_bound(v.begin(), v.end(), n,
                                     [](const MapVertex& a, int number) { return a.number < number; });
    return it != v.end() && it->number == n ? it->position : sf::Vector2f();
}

void warnLimited(MapReader& reader, const std::string& text)
{
    if (reader.warnings < maxRepeatedWarnings)
        orv::Log::warning("Map " + reader.path + ": " + text);
    else if (reader.warnings == maxRepeatedWarnings)
        orv::Log::warning("Map " + reader.path + ": more problems of this map not reported");
    ++reader.warnings;
}

void readOutline(MapReader& reader, Sector& sector, int fileNumber, int vertsCount)
{
    const std::string list = reader.ini.getString("verts", "");
    const std::size_t items = list.empty() ? 0 : static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1;
    if (items > maxOutlineItems) {
        warnLimited(reader, "sector " + std::to_string(fileNumber) + " lists " + std::to_string(items) +
                                " vertices, more than " + std::to_string(maxOutlineItems) + "; left without area");
        return;
    }
    for (const std::string& item : orv::splitString(list, ',', true)) {
        const int n = orv::toInt(item);
        if (n < 0 || n >= vertsCount) {
            warnLimited(reader, "sector " + std::to_string(fileNumber) + " uses vertex " + std::to_string(n) +
                                    ", which is not in its vertex list");
            continue;
        }
        sector.points.push_back(vertexAt(n));
    }
    const std::size_t listed = sector.points.size();
    simplifyOutline(sector.points);
    if (sector.points.size() != listed)
        warnLimited(reader, "sector " + std::to_string(fileNumber) + " repeats points of its outline; " +
                                std::to_string(listed) + " points simplified to " +
                                std::to_string(sector.points.size()));
    if (sector.points.size() > maxOutlinePoints) {
        warnLimited(reader, "sector " + std::to_string(fileNumber) + " has an outline of " +
                                std::to_string(sector.points.size()) + " points, more than " +
                                std::to_string(maxOutlinePoints) + "; left without area");
        sector.points.clear();
    }
    if (const std::size_t returns = outlineReturns(sector.points); returns > maxOutlineReturns) {
        warnLimited(reader, "sector " + std::to_string(fileNumber) + " comes back to points of its outline " +
                                std::to_string(returns) + " times, more than " + std::to_string(maxOutlineReturns) +
                                "; left without area");
        sector.points.clear();
    }
    if (sector.points.size() < 3) {
        warnLimited(reader, "sector " + std::to_string(fileNumber) + " has fewer than 3 usable vertices; left without area");
        return; // no area: no triangles, no fixtures, empty bounds
    }
    for (const sf::Vector2f& p : sector.points)
        sector.clipPath.push_back({p.x, p.y});
    triangulate(sector.points, {}, sector.triangles);
    sector.bounds = boundsOf(sector.points);
}

// Fills sector `index` of the list from the file's section "sector" + fileNumber
// (the two differ only when the file skips numbers).
void readSector(MapReader& reader, Sector& sector, int index, int fileNumber, int vertsCount)
{
    orv::IniFile& ini = reader.ini;
    ini.setSection("sector" + std::to_string(fileNumber));
    sector.index = static_cast<std::uint16_t>(index);
    sector.found = false;
    readOutline(reader, sector, fileNumber, vertsCount);

    int passable = ini.getInt("passable", 0);
    if (passable < INT16_MIN || passable > INT16_MAX) {
        warnLimited(reader, "[sector" + std::to_string(fileNumber) + "] passable out of range; read as 0");
        passable = 0;
    }
    sector.passable = static_cast<std::int16_t>(passable);
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
    if (!inRange(sector.textureOffset)) {
        warnLimited(reader, "[sector" + std::to_string(fileNumber) + "] textureOffset out of range; read as 0,0");
        sector.textureOffset = sf::Vector2f();
    }
    sector.bevelType = ini.getInt("bevelType", 0);
    sector.waterEffect = ini.getBool("waterEffect", false);
    sector.roofSector = ini.getBool("roofSector", false);
}

} // namespace

void clearMap()
{
    destroyMapBodies();
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
    if (!inRange(currentMap.startPosition)) {
        orv::Log::warning("Map " + path + ": [startZones] rect0 out of range; starting at 0,0");
        currentMap.startZone = StartZone();
        currentMap.startPosition = sf::Vector2f();
    }

    ini.setSection("header");
    const int sectorsCount = ini.getInt("sectorsCount", 0);
    const int vertsCount = std::max(0, ini.getInt("vertsCount", 0));
    const int objectsCount = ini.getInt("objectsCount", 0);
    currentMap.mapSize = ini.getVector2i("mapSize", sf::Vector2i(0, 0));
    const sf::Vector2i& size = currentMap.mapSize;
    if (size.x < 0 || size.y < 0 || !inRange(sf::Vector2f(size))) {
        orv::Log::warning("Map " + path + ": [header] mapSize out of range; read as 0,0");
        currentMap.mapSize = sf::Vector2i();
    }

    // Lists are sized by the keys and sections the file holds: a count in
    // the header is only an upper bound on the numbers read.
    ini.setSection("verts");
    const std::vector<int> vertexNumbers = ini.numberedKeys("pos", vertsCount);
    warnIfClaimedMore(path, "vertices", vertsCount, vertexNumbers.size());
    currentMap.vertices.reserve(vertexNumbers.size());
    for (int n : vertexNumbers) {
        const std::string key = "pos" + std::to_string(n);
        sf::Vector2f v = ini.getVector2f(key, sf::Vector2f(0, 0));
        if (!inRange(v)) {
            warnLimited(reader, "[verts] " + key + " out of range; read as 0,0");
            v = sf::Vector2f();
        }
        currentMap.vertices.push_back({n, v});
    }

    std::vector<int> sectorNumbers = ini.numberedSections("sector", std::max(sectorsCount, 0));
    warnIfClaimedMore(path, "sectors", sectorsCount, sectorNumbers.size());
    if (sectorNumbers.size() > static_cast<std::size_t>(maxSectors)) {
        orv::Log::warning("Map " + path + " has more than " + std::to_string(maxSectors) + " sectors; reading " +
                          std::to_string(maxSectors));
        sectorNumbers.resize(static_cast<std::size_t>(maxSectors));
    }
    currentMap.sectors.resize(sectorNumbers.size());
    for (std::size_t i = 0; i < sectorNumbers.size() && !orv::quitSignalled(); ++i)
        readSector(reader, currentMap.sectors[i], static_cast<int>(i), sectorNumbers[i], vertsCount);
    if (currentMap.sectors.empty())
        orv::Log::warning("Map " + path + " has no sectors");

    const std::vector<int> objectNumbers = ini.numberedSections("object", std::max(objectsCount, 0));
    warnIfClaimedMore(path, "objects", objectsCount, objectNumbers.size());
    currentMap.objects.reserve(objectNumbers.size());
    int valid = 0;
    for (int n : objectNumbers) {
        const std::string section = "object" + std::to_string(n);
        ini.setSection(section);
        const std::string type = ini.getString("objectType", "");
        const int definition = findObjectDef(type);
        if (definition < 0) {
            warnLimited(reader, "[" + section + "] unknown objectType " + type.substr(0, 80) + "; skipped");
            continue;
        }
        MapObject object;
        object.definition = definition;
        object.position = ini.getVector2f("pos", sf::Vector2f(0, 0));
        object.angle = ini.getFloat("angle", 0.0f);
        if (!inRange(object.position)) {
            warnLimited(reader, "[" + section + "] pos out of range; read as 0,0");
            object.position = sf::Vector2f();
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
