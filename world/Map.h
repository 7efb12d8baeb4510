#pragma once
// The loaded map: polygonal sectors (later ones on top of earlier ones), the
// objects placed on it and where vehicles start. One map per process; every
// load replaces all of it.

#include "world/SectorClipping.h"
#include "world/Triangulate.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class b2Body;
class b2Fixture;
struct Sector;
namespace orv {
class IniFile;
}

/// User data of a body. Every body the program tags starts with its kind, so a
/// query can tell sector bodies from others.
struct BodyTag {
    std::int32_t kind = 0;
};
constexpr std::int32_t sectorBodyKind = 1;

/// The tag of a sector's static body.
struct SectorBodyTag : BodyTag {
    Sector* sector = nullptr;
};

/// What of a sector's floor the drawing fills: later opaque sectors would
/// paint over the rest.
enum class DrawnPart : std::uint8_t {
    Whole, ///< its triangles
    Part,  ///< drawnTriangles
    None,  ///< nothing (its edges are still drawn)
};

struct Sector {
    std::uint16_t index = 0;
    bool found = false; ///< scratch mark of the sector query
    Polygon points;
    Polygon triangles;
    DrawnPart drawn = DrawnPart::Whole;
    Polygon drawnTriangles; ///< with DrawnPart::Part
    ClipPath clipPath;
    sf::FloatRect bounds;
    float friction = 0.0f;
    std::uint16_t categoryBits = 0;
    sf::Color colour = sf::Color(0, 0, 0, 255);
    std::int32_t textureIndex = 0;
    std::int16_t passable = 0;
    std::int32_t bevelType = 0;
    bool waterEffect = false;
    bool isShadow = false;
    bool roofSector = false;
    std::int32_t shadowMode = 0;
    sf::Vector2f textureOffset;
    b2Body* body = nullptr;
    std::vector<b2Fixture*> fixtures;
    std::unique_ptr<SectorBodyTag> userData;
};

struct MapObject {
    std::int32_t definition = -1; ///< position in objectDefs
    sf::Vector2f position;        ///< world pixels
    float angle = 0.0f;           ///< as read; nothing applies it yet
    b2Body* body = nullptr;
};

/// A vertex the map file holds, under its number.
struct MapVertex {
    std::int32_t number = 0;
    sf::Vector2f position;
};

struct StartZone {
    sf::FloatRect rect;
};

struct Map {
    /// The vertices the file holds, by ascending number; numbers it skips
    /// read as (0, 0). Only needed while loading.
    std::vector<MapVertex> vertices;
    std::vector<Sector> sectors;
    std::vector<MapObject> objects;
    sf::Vector2i mapSize;
    StartZone startZone;
    sf::Vector2f startPosition;

    float minimapScale = 0.1f; ///< world pixels per minimap pixel
    sf::Vector2u minimapSize;
    std::unique_ptr<sf::RenderTexture> minimapTexture;
    bool minimapReady = false;

    std::string loadError; ///< why the last loadMap failed; empty after a load
};

/// The process-wide map.
extern Map currentMap;

constexpr const char* defaultMapPath = "Data\\Maps\\ZQR_Lakes.map";
constexpr const char* textureColoursFile = "Data\\Textures\\textureColours.ini";
/// The default map holds about a hundred sectors and the benchmarks 20,000.
/// A lying count that reaches the cap costs some 12 MB of empty sectors and
/// their static bodies, and about half a second in a sanitizer build: the
/// fuzzer's one-second limit must still hold for such a file.
constexpr int maxSectors = 32768;
/// Every object is a physics body. The default map places a few hundred;
/// 16,384 bodies (a few MB) still load and step, where a lying count of
/// millions would not.
constexpr int maxMapObjects = 16384;
/// Coordinates beyond this (world pixels, about 600 km) are bad data.
constexpr float maxCoordinate = 1.0e7f;

/// Outline lists longer than this are refused unread (laps of a short outline
/// repeated this often are not worth folding).
constexpr std::size_t maxOutlineItems = 1u << 20;

/// True when the file holds any section or key of a map file.
bool holdsMapSections(const orv::IniFile& ini);
/// Reads a map file into currentMap, emptied before (no bodies, no minimap:
/// loadMap() in MapLoading.h builds those). An unreadable file leaves the map
/// empty and returns false with the reason in currentMap.loadError.
bool readMap(const std::string& path);
/// Empties the map's lists and sizes; the bodies it made must be gone already.
void clearMapData();
