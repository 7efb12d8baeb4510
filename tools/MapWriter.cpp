#include "MapWriter.h"

#include "Noise.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <sstream>

namespace content {

namespace {

std::string number(double v)
{
    // Whole world pixels: plain integers read the same everywhere.
    return std::to_string(static_cast<long>(std::lround(v)));
}

Point offsetAt(const Outline& path, std::size_t i, bool closed, double half)
{
    const std::size_t n = path.size();
    const Point& p = path[i];
    const Point& prev = closed ? path[(i + n - 1) % n] : path[i == 0 ? 0 : i - 1];
    const Point& next = closed ? path[(i + 1) % n] : path[i + 1 >= n ? n - 1 : i + 1];
    auto normal = [](const Point& a, const Point& b) {
        const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        return len > 0 ? Point{-dy / len, dx / len} : Point{0, 0};
    };
    Point n1 = (closed || i > 0) ? normal(prev, p) : normal(p, next);
    Point n2 = (closed || i + 1 < n) ? normal(p, next) : n1;
    Point m{n1.x + n2.x, n1.y + n2.y};
    const double len = std::hypot(m.x, m.y);
    if (len < 1e-9)
        m = n1;
    else
        m = {m.x / len, m.y / len};
    // Mitre: keep the band's width at the corner, but never more than twice.
    const double cosHalf = std::max(0.5, m.x * n1.x + m.y * n1.y);
    return {p.x + m.x * half / cosHalf, p.y + m.y * half / cosHalf};
}

Outline corners(const Outline& points, bool closed)
{
    Outline out;
    const std::size_t n = points.size();
    if (!closed)
        out.push_back(points.front());
    for (std::size_t i = 0; i < (closed ? n : n - 1); ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % n];
        out.push_back({a.x * 0.75 + b.x * 0.25, a.y * 0.75 + b.y * 0.25});
        out.push_back({a.x * 0.25 + b.x * 0.75, a.y * 0.25 + b.y * 0.75});
    }
    if (!closed)
        out.push_back(points.back());
    return out;
}

} // namespace

void MapWriter::addSector(Outline outline, const SectorStyle& style)
{
    assert(outline.size() >= 3);
    if (signedArea(outline) < 0)
        std::reverse(outline.begin(), outline.end());
    Sector sector;
    sector.style = style;
    for (const Point& p : outline) {
        sector.verts.push_back(static_cast<int>(vertices_.size()));
        vertices_.push_back(p);
    }
    sectors_.push_back(sector);
}

void MapWriter::addObject(const std::string& type, Point position)
{
    objects_.push_back({type, position});
}

void MapWriter::setStart(double left, double top, double width, double height)
{
    start_[0] = left;
    start_[1] = top;
    start_[2] = width;
    start_[3] = height;
}

std::string MapWriter::text() const
{
    std::ostringstream out;
    out << "[header]\nsectorsCount=" << sectors_.size() << "\nvertsCount=" << vertices_.size()
        << "\nobjectsCount=" << objects_.size() << "\nmapSize=" << width_ << "," << height_ << "\n";
    out << "[startZones]\nrect0=" << number(start_[0]) << "," << number(start_[1]) << "," << number(start_[2])
        << "," << number(start_[3]) << "\n";
    out << "[verts]\n";
    for (std::size_t i = 0; i < vertices_.size(); ++i)
        out << "pos" << i << "=" << number(vertices_[i].x) << "," << number(vertices_[i].y) << "\n";
    for (std::size_t n = 0; n < sectors_.size(); ++n) {
        const Sector& s = sectors_[n];
        out << "[sector" << n << "]\nverts=";
        for (std::size_t i = 0; i < s.verts.size(); ++i)
            out << (i ? "," : "") << s.verts[i];
        out << "\n";
        if (s.style.isShadow)
            out << "isShadow=True\nshadowMode=" << s.style.shadowMode << "\n";
        else if (s.style.sectorType == 1)
            out << "sectorType=1\n";
        else if (!s.style.floorTexture.empty())
            out << "floorTexture=" << s.style.floorTexture << "\n";
        if (s.style.passable)
            out << "passable=" << s.style.passable << "\n";
        if (s.style.bevelType)
            out << "bevelType=" << s.style.bevelType << "\n";
        if (s.style.waterEffect)
            out << "waterEffect=True\n";
        if (s.style.roofSector)
            out << "roofSector=True\n";
    }
    for (std::size_t n = 0; n < objects_.size(); ++n)
        out << "[object" << n << "]\nobjectType=" << objects_[n].type << "\npos=" << number(objects_[n].position.x)
            << "," << number(objects_[n].position.y) << "\n";
    return out.str();
}

double signedArea(const Outline& outline)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point& a = outline[i];
        const Point& b = outline[(i + 1) % outline.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum * 0.5;
}

Outline smoothClosed(const Outline& points, int passes)
{
    Outline out = points;
    for (int i = 0; i < passes; ++i)
        out = corners(out, true);
    return out;
}

Outline smoothOpen(const Outline& points, int passes)
{
    Outline out = points;
    for (int i = 0; i < passes; ++i)
        out = corners(out, false);
    return out;
}

Outline band(const Outline& path, double width)
{
    Outline left, right;
    for (std::size_t i = 0; i < path.size(); ++i) {
        left.push_back(offsetAt(path, i, false, width * 0.5));
        right.push_back(offsetAt(path, i, false, -width * 0.5));
    }
    left.insert(left.end(), right.rbegin(), right.rend());
    return left;
}

Outline loopPiece(const Outline& loop, std::size_t first, std::size_t last, double width)
{
    Outline left, right;
    const std::size_t n = loop.size();
    for (std::size_t k = first; k <= last; ++k) {
        left.push_back(offsetAt(loop, k % n, true, width * 0.5));
        right.push_back(offsetAt(loop, k % n, true, -width * 0.5));
    }
    left.insert(left.end(), right.rbegin(), right.rend());
    return left;
}

Outline blob(Point centre, double rx, double ry, int count, double wobble, unsigned seed)
{
    Outline out;
    for (int i = 0; i < count; ++i) {
        const double a = 6.283185307179586 * i / count;
        // Smooth wobble: value noise around the circle, wrapping at 2 pi
        // (counts are multiples of 4, so the lattice wraps with the points).
        const float w = tileNoise(static_cast<float>(i) * 4.0f, 0.0f, 16, std::max(1, count / 4), seed);
        const double r = 1.0 + wobble * (w * 2.0 - 1.0);
        out.push_back({centre.x + std::cos(a) * rx * r, centre.y + std::sin(a) * ry * r});
    }
    return out;
}

Outline rect(double left, double top, double width, double height)
{
    return {{left, top}, {left + width, top}, {left + width, top + height}, {left, top + height}};
}

} // namespace content
