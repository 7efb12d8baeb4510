#include "world/Map.h"

#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/NumberedList.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"
#include "world/ObjectDefs.h"
#include "world/Outline.h"
#include "world/TerrainTextures.h"

#include <algorithm>
#include <climits>
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

// A header count past its cap: one line, and the list stops at the cap.
void warnIfCapped(const std::string& path, const char* key, const orv::NumberedList& list)
{
    if (list.capped())
        orv::Log::warning("Map " + path + ": [header] " + key + "=" + std::to_string(list.declared) +
                          " is more than " + std::to_string(list.count) + "; reading " + std::to_string(list.count));
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

void readOutline(MapReader& reader, Sector& sector, int number, int vertsCount)
{
    const std::string list = reader.ini.getString("verts", "");
    const std::size_t items = list.empty() ? 0 : static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1;
    if (items > maxOutlineItems) {
        warnLimited(reader, "sector " + std::to_string(number) + " lists " + std::to_string(items) +
                                " vertices, more than " + std::to_string(maxOutlineItems) + "; left without area");
        return;
    }
    for (const std::string& item : orv::splitString(list, ',', true)) {
        const int n = orv::toInt(item);
        if (n < 0 || n >= vertsCount) {
            warnLimited(reader, "sector " + std::to_string(number) + " uses vertex " + std::to_string(n) +
                                    ", which is not in its vertex list");
            continue;
        }
        sector.points.push_back(vertexAt(n));
    }
    const std::size_t listed = sector.points.size();
    simplifyOutline(sector.points);
    if (sector.points.size() != listed)
        warnLimited(reader, "sector " + std::to_string(number) + " repeats points of its outline; " +
                                std::to_string(listed) + " points simplified to " +
                                std::to_string(sector.points.size()));
    if (sector.points.size() > maxOutlinePoints) {
        warnLimited(reader, "sector " + std::to_string(number) + " has an outline of " +
                                std::to_string(sector.points.size()) + " points, more than " +
                                std::to_string(maxOutlinePoints) + "; left without area");
        sector.points.clear();
    }
    if (const std::size_t returns = outlineReturns(sector.points); returns > maxOutlineReturns) {
        warnLimited(reader, "sector " + std::to_string(number) + " comes back to points of its outline " +
                                std::to_string(returns) + " times, more than " + std::to_string(maxOutlineReturns) +
                                "; left without area");
        sector.points.clear();
    }
    if (sector.points.size() < 3) {
        warnLimited(reader, "sector " + std::to_string(number) + " has fewer than 3 usable vertices; left without area");
        return; // no area: no triangles, no fixtures, empty bounds
    }
    for (const sf::Vector2f& p : sector.points)
        sector.clipPath.push_back({p.x, p.y});
    triangulate(sector.points, {}, sector.triangles);
    sector.bounds = boundsOf(sector.points);
}

// Fills sector n from its section; a section the file lacks reads every key
// as its default, and leaves the sector without outline.
void readSector(MapReader& reader, Sector& sector, int n, int vertsCount)
{
    orv::IniFile& ini = reader.ini;
    const bool present = ini.selectSection("sector" + std::to_string(n));
    sector.index = static_cast<std::uint16_t>(n);
    sector.found = false;
    if (present)
        readOutline(reader, sector, n, vertsCount);

    int passable = ini.getInt("passable", 0);
    if (passable < INT16_MIN || passable > INT16_MAX) {
        warnLimited(reader, "[sector" + std::to_string(n) + "] passable out of range; read as 0");
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
        warnLimited(reader, "[sector" + std::to_string(n) + "] textureOffset out of range; read as 0,0");
        sector.textureOffset = sf::Vector2f();
    }
    sector.bevelType = ini.getInt("bevelType", 0);
    sector.waterEffect = ini.getBool("waterEffect", false);
    sector.roofSector = ini.getBool("roofSector", false);
}

} // namespace

void clearMapData()
{
    currentMap.vertices.clear();
    currentMap.sectors.clear();
    currentMap.objects.clear();
    currentMap.mapSize = sf::Vector2i();
    currentMap.startZone = StartZone();
    currentMap.startPosition = sf::Vector2f();
}

bool holdsMapSections(const orv::IniFile& ini)
{
    return orv::holdsAnySection(ini, {"header", "verts", "startZones"}, {"sector", "object"});
}

bool readMap(const std::string& path)
{
    currentMap.loadError.clear();

    orv::IniFile colours;
    if (!colours.load(textureColoursFile))
        orv::Log::warning("Failed to load texture colours: " + colours.lastError);

    orv::IniFile ini;
    if (!ini.load(path)) {
        currentMap.loadError = ini.lastError;
        return false;
    }
    MapReader reader{path, ini, colours};
    const bool recognised = holdsMapSections(ini);
    if (!recognised)
        orv::Log::warning("Map " + path + ": no map section or key found; the map is empty");

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

    // Every list is as long as its count says. Vertices are kept by number,
    // so their memory follows the keys the file holds and needs no cap.
    const orv::NumberedList sectorList = orv::numberedSections(ini, "sector", sectorsCount, maxSectors);
    const orv::NumberedList objectList = orv::numberedSections(ini, "object", objectsCount, maxMapObjects);
    warnIfCapped(path, "sectorsCount", sectorList);
    warnIfCapped(path, "objectsCount", objectList);

    ini.setSection("verts");
    const orv::NumberedList vertexList = orv::numberedKeys(ini, "pos", vertsCount, INT_MAX);
    currentMap.vertices.reserve(vertexList.present.size());
    for (int n : vertexList.present) {
        const std::string key = "pos" + std::to_string(n);
        sf::Vector2f v = ini.getVector2f(key, sf::Vector2f(0, 0));
        if (!inRange(v)) {
            warnLimited(reader, "[verts] " + key + " out of range; read as 0,0");
            v = sf::Vector2f();
        }
        currentMap.vertices.push_back({n, v});
    }
    if (vertexList.missingCount() > 0) {
        orv::NameList lacking;
        lacking.add("pos", vertexList.missing(orv::NameList::shown), "", vertexList.missingCount());
        orv::Log::warning("Map " + path + ": [verts] lacks " + lacking.text() + "; " +
                          lacking.verb("that vertex reads", "those vertices read") + " as 0,0");
    }

    orv::NameList beyond;
    beyond.addBeyondSections("sector", sectorList);
    beyond.addBeyondSections("object", objectList);
    beyond.add("[verts] pos", vertexList.beyond, "");
    if (!beyond.empty())
        orv::Log::warning("Map " + path + ": " + beyond.text() + " " + beyond.verb("lies", "lie") +
                          " beyond the counts in [header] and " + beyond.verb("is", "are") + " not read");

    orv::NameList missingSectors, missingObjects;
    missingSectors.addMissingSections("sector", sectorList);
    missingObjects.addMissingSections("object", objectList);
    if (!missingSectors.empty())
        orv::Log::warning("Map " + path + ": " + missingSectors.named("section") + " " +
                          missingSectors.verb("is", "are") + " missing; " +
                          missingSectors.verb("that sector takes", "those sectors take") +
                          " the defaults and " + missingSectors.verb("has", "have") + " no area");
    if (!missingObjects.empty())
        orv::Log::warning("Map " + path + ": " + missingObjects.named("section") + " " +
                          missingObjects.verb("is", "are") + " missing; " +
                          missingObjects.verb("that object is", "those objects are") + " left out");

    currentMap.sectors.resize(static_cast<std::size_t>(sectorList.count));
    for (int n = 0; n < sectorList.count && !orv::quitSignalled(); ++n)
        readSector(reader, currentMap.sectors[static_cast<std::size_t>(n)], n, vertsCount);
    if (currentMap.sectors.empty() && recognised)
        orv::Log::warning("Map " + path + " has no sectors");

    currentMap.objects.reserve(objectList.present.size());
    int valid = 0;
    for (int n : objectList.present) {
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
        ++valid;
    }
    orv::Log::info("Found " + std::to_string(valid) + "/" + std::to_string(std::max(objectsCount, 0)) +
                   " valid map objects");
    return true;
}
