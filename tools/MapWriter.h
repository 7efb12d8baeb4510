#pragma once
// Builds a map file's text: vertices, sectors (later ones on top), placed
// objects and the start zone. Each sector keeps its own vertices, and every
// outline is stored with a positive area (clockwise on screen), so bevel
// edges light the top-left sides of raised sectors.

#include <string>
#include <vector>

namespace content {

struct Point {
    double x = 0.0, y = 0.0;
};
using Outline = std::vector<Point>;

struct SectorStyle {
    std::string floorTexture; ///< file name with ".png"; empty for none
    int passable = 0;
    int bevelType = 0;
    bool waterEffect = false;
    bool roofSector = false;
    bool isShadow = false;
    int shadowMode = 0;
    int sectorType = 0; ///< 1: door track
};

class MapWriter {
public:
    MapWriter(int width, int height) : width_(width), height_(height) {}
    /// Adds a sector on top of the earlier ones; outlines of fewer than three
    /// points are a programming error.
    void addSector(Outline outline, const SectorStyle& style);
    /// Places an object of the named definition (e.g. "Crate.ob").
    void addObject(const std::string& type, Point position);
    /// The start zone; vehicles start at its centre.
    void setStart(double left, double top, double width, double height);
    /// The number of sectors so far.
    std::size_t sectorCount() const { return sectors_.size(); }
    /// The number of objects so far.
    std::size_t objectCount() const { return objects_.size(); }
    /// The whole file.
    std::string text() const;

private:
    struct Sector {
        std::vector<int> verts;
        SectorStyle style;
    };
    struct Object {
        std::string type;
        Point position;
    };
    int width_, height_;
    std::vector<Point> vertices_;
    std::vector<Sector> sectors_;
    std::vector<Object> objects_;
    double start_[4] = {0, 0, 0, 0};
};

/// The signed area of an outline (positive when clockwise on screen).
double signedArea(const Outline& outline);
/// A closed polyline with its corners rounded by `passes` rounds of corner
/// cutting.
Outline smoothClosed(const Outline& points, int passes);
/// An open polyline with its inner corners rounded the same way.
Outline smoothOpen(const Outline& points, int passes);
/// The outline of a band `width` wide along an open polyline.
Outline band(const Outline& path, double width);
/// A band along points first..last of a closed path, mitred at both ends
/// like the rest of the loop, so consecutive pieces meet without gaps.
Outline loopPiece(const Outline& loop, std::size_t first, std::size_t last, double width);
/// An ellipse-like blob of `count` points whose radius wobbles by up to
/// `wobble` (a fraction), the same for the same seed.
Outline blob(Point centre, double rx, double ry, int count, double wobble, unsigned seed);
/// A rectangle.
Outline rect(double left, double top, double width, double height);

} // namespace content
