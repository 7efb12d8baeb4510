#include "world/SectorClipping.h"

#include <cmath>
#include <queue>

namespace {

// Clipper works on integers: world pixels times 100 keep two decimals.
constexpr double scale = 100.0;

} // namespace

IntPath toIntPath(const ClipPath& path)
{
    ClipperLib::Path out;
    out.reserve(path.size());
    for (const PathPoint& p : path)
        out.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * scale)),
                         static_cast<ClipperLib::cInt>(std::llround(p.y * scale)));
    return out;
}

namespace {

Polygon toPolygon(const ClipperLib::Path& path)
{
    Polygon out;
    out.reserve(path.size());
    for (const ClipperLib::IntPoint& p : path)
        out.emplace_back(static_cast<float>(static_cast<double>(p.X) / scale),
                         static_cast<float>(static_cast<double>(p.Y) / scale));
    return out;
}

// True when `inner`, a result contour that at most touches `outer`, lies
// inside it: decided by its first point not on `outer`'s boundary.
bool liesInside(const ClipperLib::Path& inner, const ClipperLib::Path& outer)
{
    for (const ClipperLib::IntPoint& p : inner) {
        const int where = ClipperLib::PointInPolygon(p, outer);
        if (where != -1)
            return where == 1;
    }
    return true; // every point on the boundary: nothing to tell them apart
}

} // namespace

ClipPath rectanglePath(const sf::FloatRect& r)
{
    return {{r.left, r.top}, {r.left + r.width, r.top}, {r.left + r.width, r.top + r.height}, {r.left, r.top + r.height}};
}

std::vector<ClippedArea> clipDifference(const ClipPath& subject, const std::vector<const ClipPath*>& clips,
                                        const sf::FloatRect* window)
{
    std::vector<IntPath> converted;
    converted.reserve(clips.size());
    std::vector<const IntPath*> pointers;
    for (const ClipPath* clip : clips) {
        converted.push_back(toIntPath(*clip));
        pointers.push_back(&converted.back());
    }
    return clipDifference(toIntPath(subject), pointers, window);
}

std::vector<ClippedArea> clipDifference(const IntPath& subject, const std::vector<const IntPath*>& clips,
                                        const sf::FloatRect* window)
{
    std::vector<ClippedArea> areas;
    ClipperLib::PolyTree tree;
    try {
        ClipperLib::Paths subjects{subject};
        if (window) {
            ClipperLib::Clipper cut;
            cut.AddPath(subjects[0], ClipperLib::ptSubject, true);
            cut.AddPath(toIntPath(rectanglePath(*window)), ClipperLib::ptClip, true);
            subjects.clear();
            cut.Execute(ClipperLib::ctIntersection, subjects, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
            if (subjects.empty())
                return areas;
        }
        ClipperLib::Clipper clipper;
        clipper.AddPaths(subjects, ClipperLib::ptSubject, true);
        for (const IntPath* clip : clips)
            if (clip->size() >= 3)
                clipper.AddPath(*clip, ClipperLib::ptClip, true);
        // Rounding intersections to the integer grid can leave an output
        // outline touching itself, with a sliver wound the other way; the
        // tessellator fills that sliver (odd winding) where the outline's own
        // area subtracts it. Split such outlines at the touching points.
        clipper.StrictlySimple(true);
        clipper.Execute(ClipperLib::ctDifference, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    } catch (const ClipperLib::clipperException&) {
        return areas; // coordinates out of the library's range: nothing visible
    }

    // Breadth-first: outers are areas, their children holes, and the
    // children of holes islands, which are areas again.
    struct Piece {
        const ClipperLib::Path* outline;
        std::vector<const ClipperLib::Path*> holes;
    };
    std::vector<Piece> pieces;
    std::vector<std::pair<const ClipperLib::Path*, std::size_t>> holes; // and the piece Clipper gave it
    std::queue<const ClipperLib::PolyNode*> pending;
    for (const ClipperLib::PolyNode* child : tree.Childs)
        pending.push(child);
    while (!pending.empty()) {
        const ClipperLib::PolyNode* node = pending.front();
        pending.pop();
        if (node->IsHole())
            continue;
        pieces.push_back({&node->Contour, {}});
        for (const ClipperLib::PolyNode* hole : node->Childs) {
            holes.emplace_back(&hole->Contour, pieces.size() - 1);
            for (const ClipperLib::PolyNode* island : hole->Childs)
                pending.push(island);
        }
    }

    // With strictly simple output Clipper 6 now and then files a hole under
    // an outline it lies outside of. Check each hole and move a stray one to
    // the smallest outline around it; a hole inside none covers nothing.
    for (const auto& [hole, given] : holes) {
        std::size_t owner = given;
        if (!liesInside(*hole, *pieces[given].outline)) {
            owner = pieces.size();
            double ownerArea = 0.0;
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                const double a = std::fabs(ClipperLib::Area(*pieces[i].outline));
                if ((owner == pieces.size() || a < ownerArea) && liesInside(*hole, *pieces[i].outline)) {
                    owner = i;
                    ownerArea = a;
                }
            }
        }
        if (owner < pieces.size())
            pieces[owner].holes.push_back(hole);
    }

    areas.reserve(pieces.size());
    for (const Piece& piece : pieces) {
        ClippedArea area;
        area.outline = toPolygon(*piece.outline);
        for (const ClipperLib::Path* hole : piece.holes)
            area.holes.push_back(toPolygon(*hole));
        areas.push_back(std::move(area));
    }
    return areas;
}

bool coveredBy(const IntPath& subject, const IntPath& cover)
{
    if (cover.size() < 3)
        return false;
    ClipperLib::Paths rest;
    try {
        ClipperLib::Clipper clipper;
        clipper.AddPath(subject, ClipperLib::ptSubject, true);
        clipper.AddPath(cover, ClipperLib::ptClip, true);
        clipper.Execute(ClipperLib::ctDifference, rest, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    } catch (const ClipperLib::clipperException&) {
        return false;
    }
    return rest.empty();
}

double clippedArea(const ClipPath& path, const sf::FloatRect& rect)
{
    if (path.size() < 3)
        return 0.0;
    const ClipPath box = rectanglePath(rect);
    ClipperLib::Paths result;
    try {
        ClipperLib::Clipper clipper;
        clipper.AddPath(toIntPath(path), ClipperLib::ptSubject, true);
        clipper.AddPath(toIntPath(box), ClipperLib::ptClip, true);
        clipper.Execute(ClipperLib::ctIntersection, result, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    } catch (const ClipperLib::clipperException&) {
        return 0.0;
    }
    double total = 0.0;
    for (const ClipperLib::Path& p : result)
        total += ClipperLib::Area(p) / (scale * scale);
    return total;
}
