#include "Maps.h"

#include "MapWriter.h"
#include "Noise.h"
#include "Output.h"

#include <cmath>
#include <functional>
#include <vector>

namespace content {

namespace {

constexpr double pi = 3.141592653589793;

SectorStyle floor(const char* texture, int bevel = 0)
{
    SectorStyle s;
    s.floorTexture = std::string(texture) + ".png";
    s.bevelType = bevel;
    return s;
}

SectorStyle shadow(int mode, bool roof = false, int passable = 0)
{
    SectorStyle s;
    s.isShadow = true;
    s.shadowMode = mode;
    s.roofSector = roof;
    s.passable = passable;
    return s;
}

double distanceToSegment(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::max(0.0, std::min(1.0, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double distanceToPath(Point p, const Outline& path, bool closed)
{
    double best = 1e18;
    const std::size_t n = path.size();
    for (std::size_t i = 0; i + (closed ? 0 : 1) < n; ++i)
        best = std::min(best, distanceToSegment(p, path[i], path[(i + 1) % n]));
    return best;
}

struct Lake {
    Point centre;
    double rx, ry;
    unsigned seed;
};

// Inside an ellipse grown by `margin` pixels.
bool inEllipse(Point p, Point c, double rx, double ry, double margin)
{
    const double dx = (p.x - c.x) / (rx + margin), dy = (p.y - c.y) / (ry + margin);
    return dx * dx + dy * dy < 1.0;
}

struct Box {
    double left, top, width, height;
    bool contains(Point p, double margin) const
    {
        return p.x > left - margin && p.x < left + width + margin && p.y > top - margin &&
               p.y < top + height + margin;
    }
};

// A house: its shadow, walls that stop vehicles, and a two-sided roof whose
// far side is shaded.
void house(MapWriter& map, const Box& b, bool slate, bool ridgeAcross)
{
    map.addSector(rect(b.left + 10, b.top + 12, b.width, b.height), shadow(0));
    SectorStyle wall = floor("Concrete");
    wall.passable = 1;
    map.addSector(rect(b.left, b.top, b.width, b.height), wall);
    SectorStyle roof = floor(slate ? "RoofSlate" : "RoofTiles", 1);
    roof.roofSector = true;
    map.addSector(rect(b.left - 4, b.top - 4, b.width + 8, b.height + 8), roof);
    // The half of the roof facing away from the light.
    const Outline far = ridgeAcross ? rect(b.left - 4, b.top + b.height * 0.5, b.width + 8, b.height * 0.5 + 4)
                                    : rect(b.left + b.width * 0.5, b.top - 4, b.width * 0.5 + 4, b.height + 8);
    map.addSector(far, shadow(2, true));
}

// The world ends at the map's edge: solid strips just outside it stop every
// vehicle there. They are shadows over the void, black on black, so the map
// looks as it did without them.
void encloseWorld(MapWriter& map, double width, double height)
{
    constexpr double thickness = 64;
    const SectorStyle edge = shadow(0, false, 1);
    map.addSector(rect(-thickness, -thickness, width + 2 * thickness, thickness), edge);
    map.addSector(rect(-thickness, height, width + 2 * thickness, thickness), edge);
    map.addSector(rect(-thickness, 0, thickness, height), edge);
    map.addSector(rect(width, 0, thickness, height), edge);
}

} // namespace

std::string lakesMap()
{
    MapWriter map(4000, 3000);
    Rng rng(0x1A4E5);

    // Ground: a meadow over the whole map, lighter patches and two fields.
    map.addSector(rect(0, 0, 4000, 3000), floor("Grass_A"));
    const Point patches[] = {{700, 1900}, {1500, 2100}, {3300, 1700}, {2700, 1000}, {1200, 350}, {3500, 2650}};
    for (int i = 0; i < 6; ++i)
        map.addSector(blob(patches[i], 240 + 40 * (i % 3), 170 + 30 * (i % 2), 24, 0.3, 40 + i), floor("Grass_B"));
    map.addSector(rect(1050, 1600, 520, 300), floor("Dirt"));
    map.addSector(rect(2850, 1550, 380, 420), floor("Dirt"));

    // Three lakes: a sandy shore, the water (it stops vehicles; fish live
    // there), shallows shimmering lighter along the shore, and an island.
    const Lake lakes[] = {{{900, 760}, 400, 270, 11}, {{3150, 700}, 330, 240, 12}, {{2300, 2330}, 460, 290, 13}};
    for (const Lake& l : lakes) {
        map.addSector(blob(l.centre, l.rx + 70, l.ry + 60, 40, 0.12, l.seed), floor("Sand"));
        SectorStyle water = floor("Water");
        water.passable = 2;
        water.waterEffect = true;
        map.addSector(blob(l.centre, l.rx, l.ry, 40, 0.12, l.seed), water);
        map.addSector(blob(l.centre, l.rx * 0.97, l.ry * 0.96, 40, 0.12, l.seed), shadow(1, false, 2));
        map.addSector(blob(l.centre, l.rx * 0.78, l.ry * 0.74, 40, 0.12, l.seed), water);
    }
    map.addSector(blob({2380, 2300}, 90, 60, 16, 0.2, 21), floor("Sand"));
    map.addSector(blob({2380, 2300}, 70, 44, 16, 0.2, 21), floor("Grass_B"));

    // Dirt tracks from the road to the lakes and through the meadow.
    const std::vector<Outline> tracks = {
        smoothOpen({{700, 1330}, {760, 1150}, {880, 1060}}, 2),
        smoothOpen({{3300, 1290}, {3260, 1100}, {3180, 980}}, 2),
        smoothOpen({{1600, 2810}, {1750, 2620}, {1880, 2480}}, 2),
        smoothOpen({{420, 2080}, {800, 2000}, {1200, 1900}, {1500, 2200}, {1900, 2050}}, 2),
        smoothOpen({{3680, 1900}, {3300, 2000}, {2950, 2100}, {2800, 2250}}, 2),
    };
    for (const Outline& t : tracks)
        map.addSector(band(t, 70), floor("Dirt"));

    // The road loop: concrete kerbs under the asphalt, in four pieces.
    const Outline loop = smoothClosed({{420, 1330}, {1700, 1250}, {2700, 1330}, {3640, 1280}, {3700, 2150},
                                       {3500, 2780}, {2300, 2830}, {1300, 2800}, {480, 2700}, {420, 2200}},
                                      3);
    const std::size_t quarter = loop.size() / 4;
    for (int layer = 0; layer < 2; ++layer)
        for (std::size_t q = 0; q < 4; ++q) {
            const std::size_t last = q == 3 ? loop.size() : (q + 1) * quarter;
            map.addSector(loopPiece(loop, q * quarter, last, layer == 0 ? 148 : 128),
                          layer == 0 ? floor("Concrete", 1) : floor("Asphalt", 2));
        }

    // The village north of the road: a street, a cobbled square, houses.
    map.addSector(band({{2000, 1270}, {2000, 640}}, 104), floor("Asphalt", 2));
    map.addSector(band({{1480, 560}, {2560, 560}}, 96), floor("Asphalt", 2));
    map.addSector(rect(1850, 600, 300, 220), floor("Cobbles", 1));
    const Box houses[] = {
        {1520, 360, 150, 130}, {1720, 380, 128, 110}, {1900, 350, 170, 128}, {2130, 370, 140, 120},
        {2330, 350, 180, 130}, {1560, 650, 160, 140}, {2200, 650, 150, 150}, {2380, 680, 170, 130},
        {1580, 880, 140, 128}, {2210, 890, 190, 140}, {1760, 1020, 130, 128}, {2420, 1000, 150, 140},
    };
    // Gardens behind the houses of the outer rows, edged by low hedges.
    const Box gardens[] = {{1500, 200, 220, 140}, {1880, 190, 230, 140}, {2300, 190, 240, 140},
                           {1480, 1020, 240, 120}, {2200, 1050, 240, 110}};
    for (const Box& g : gardens)
        map.addSector(rect(g.left, g.top, g.width, g.height), floor("Grass_B", 1));
    for (std::size_t i = 0; i < sizeof houses / sizeof houses[0]; ++i)
        house(map, houses[i], i % 3 == 1, i % 2 == 0);

    // The workshop: an open shed with a painted floor and a door track.
    const Box shed{2620, 860, 240, 200};
    map.addSector(rect(shed.left - 40, shed.top + shed.height, shed.width + 80, 90), floor("Concrete", 1));
    map.addSector(rect(shed.left, shed.top, shed.width, shed.height), floor("FF_Workshop"));
    SectorStyle wall = floor("Concrete", 1);
    wall.passable = 1;
    map.addSector(rect(shed.left, shed.top, shed.width, 16), wall);
    map.addSector(rect(shed.left, shed.top, 16, shed.height), wall);
    map.addSector(rect(shed.left + shed.width - 16, shed.top, 16, shed.height), wall);
    SectorStyle door;
    door.sectorType = 1;
    map.addSector(rect(shed.left + 40, shed.top + shed.height - 10, shed.width - 80, 10), door);
    map.addSector(band({{2740, 1150}, {2740, 1300}}, 96), floor("Asphalt", 2));

    // A car park by the start, with cones.
    map.addSector(rect(520, 1420, 300, 220), floor("Asphalt", 2));

    // Objects. Trees stand in woods along the edges and in clumps, each with
    // a patch of shade under it; nothing stands on roads, water or houses.
    auto clear = [&](Point p, double margin) {
        if (distanceToPath(p, loop, true) < 95 + margin)
            return false;
        for (const Outline& t : tracks)
            if (distanceToPath(p, t, false) < 45 + margin)
                return false;
        for (const Lake& l : lakes)
            if (inEllipse(p, l.centre, l.rx, l.ry, 80 + margin))
                return false;
        if (Box{1440, 180, 1180, 1000}.contains(p, margin) || Box{2560, 820, 360, 500}.contains(p, margin) ||
            Box{500, 1400, 340, 260}.contains(p, margin) || Box{1940, 640, 120, 700}.contains(p, margin))
            return false;
        return p.x > 40 && p.y > 40 && p.x < 3960 && p.y < 2960;
    };
    struct Wood {
        Box area;
        int trees;
    };
    const Wood woods[] = {{{60, 2300, 380, 640}, 12}, {{3760, 1400, 220, 800}, 8}, {{1250, 40, 250, 260}, 4},
                          {{60, 60, 420, 420}, 8},   {{3450, 60, 500, 280}, 6},  {{2900, 2880, 600, 100}, 3},
                          {{1650, 1420, 450, 300}, 6}, {{3750, 2300, 220, 400}, 4}, {{2650, 40, 300, 200}, 3}};
    const char* treeKinds[] = {"Tree_Oak.ob", "Tree_Pine.ob", "Tree_Birch.ob"};
    const double crowns[] = {52, 42, 32};
    std::vector<Point> trees;
    for (const Wood& w : woods) {
        for (int placed = 0, tries = 0; placed < w.trees && tries < 400; ++tries) {
            const Point p{w.area.left + rng.unit() * w.area.width, w.area.top + rng.unit() * w.area.height};
            bool spaced = clear(p, 40);
            for (const Point& q : trees)
                spaced = spaced && std::hypot(p.x - q.x, p.y - q.y) > 90;
            if (!spaced)
                continue;
            const int kind = rng.below(3);
            map.addSector(blob({p.x + 14, p.y + 14}, crowns[kind] * 1.15, crowns[kind] * 1.05, 12, 0.15,
                               static_cast<unsigned>(trees.size())),
                          shadow(2));
            map.addObject(treeKinds[kind], p);
            trees.push_back(p);
            ++placed;
        }
    }
    auto scatter = [&](const char* type, int count, const Box& area, double margin) {
        for (int placed = 0, tries = 0; placed < count && tries < 300; ++tries) {
            const Point p{area.left + rng.unit() * area.width, area.top + rng.unit() * area.height};
            bool spaced = clear(p, margin);
            for (const Point& q : trees)
                spaced = spaced && std::hypot(p.x - q.x, p.y - q.y) > 60;
            if (!spaced)
                continue;
            map.addObject(type, p);
            ++placed;
        }
    };
    scatter("Bush.ob", 14, {100, 100, 3800, 2800}, 20);
    scatter("Bush_Flower.ob", 8, {100, 1400, 3800, 1400}, 20);
    // Rocks along the shores.
    for (const Lake& l : lakes)
        for (int i = 0; i < 4; ++i) {
            const double a = rng.range(0.0f, 6.2831853f);
            const Point p{l.centre.x + std::cos(a) * (l.rx + 60), l.centre.y + std::sin(a) * (l.ry + 55)};
            map.addObject(i == 0 ? "Rock_Big.ob" : "Rock.ob", p);
        }
    // Hay bales on the fields, crates and barrels at the workshop, cones on
    // the car park, bollards round the square.
    for (int i = 0; i < 4; ++i)
        map.addObject("HayBale.ob", {1120.0 + i * 110, 1680.0 + (i % 2) * 120});
    for (int i = 0; i < 3; ++i)
        map.addObject("HayBale.ob", {2920.0 + i * 110, 1650.0 + (i % 2) * 200});
    for (int i = 0; i < 5; ++i)
        map.addObject("Crate.ob", {2650.0 + (i % 3) * 20, 900.0 + (i / 3) * 20});
    map.addObject("Crate.ob", {2820, 1080});
    for (int i = 0; i < 4; ++i)
        map.addObject(i % 2 ? "Barrel_Red.ob" : "Barrel.ob", {2835.0, 900.0 + i * 14});
    for (int i = 0; i < 8; ++i)
        map.addObject("Cone.ob", {560.0 + (i % 4) * 70, 1460.0 + (i / 4) * 140});
    for (int i = 0; i < 4; ++i)
        map.addObject("Bollard.ob", {1840.0 + (i % 2) * 320, 610.0 + (i / 2) * 220});

    encloseWorld(map, 4000, 3000);

    // Start on the western straight of the road, facing north.
    map.setStart(380, 1830, 80, 80);
    return map.text();
}

std::string skidPadMap()
{
    MapWriter map(2000, 1600);
    map.addSector(rect(0, 0, 2000, 1600), floor("Grass_A"));
    map.addSector(rect(100, 100, 1800, 1400), floor("Concrete", 1));
    // A wide asphalt pad with a circle of wet-look concrete in the middle,
    // and a slalom lane along the south side.
    map.addSector(rect(200, 200, 1600, 900), floor("Asphalt", 2));
    map.addSector(blob({1000, 650}, 300, 300, 32, 0.0, 1), floor("Concrete", 2));
    map.addSector(blob({1000, 650}, 120, 120, 32, 0.0, 1), floor("Grass_B", 1));
    map.addSector(rect(200, 1180, 1600, 240), floor("Asphalt", 2));
    map.addSector(rect(1820, 200, 60, 1220), floor("Sand"));
    // The cone ring is the driving tests' skid pad: 25 m in radius.
    for (int i = 0; i < 16; ++i) {
        const double a = 2 * pi * i / 16;
        map.addObject("Cone.ob", {1000 + std::cos(a) * 400, 650 + std::sin(a) * 400});
    }
    for (int i = 0; i < 8; ++i)
        map.addObject("Cone.ob", {350.0 + i * 180, 1300});
    for (int i = 0; i < 6; ++i)
        map.addObject("Barrel.ob", {1850, 300.0 + i * 40});
    map.addObject("Crate.ob", {1850, 800});
    encloseWorld(map, 2000, 1600);
    map.setStart(260, 1260, 60, 80);
    return map.text();
}

bool makeMaps(const std::filesystem::path& root)
{
    const std::filesystem::path folder = root / "Data/Maps";
    return saveText(lakesMap(), folder / "ZQR_Lakes.map") && saveText(skidPadMap(), folder / "ZQR_SkidPad.map");
}

} // namespace content
