#include "world/SectorClipping.h"

#include <cmath>
#include <unordered_map>

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
// inside it: decided by its first corner, or failing that the first middle
// of an edge, not on `outer`'s boundary.
bool liesInside(const ClipperLib::Path& inner, const ClipperLib::Path& outer)
{
    for (const ClipperLib::IntPoint& p : inner) {
        const int where = ClipperLib::PointInPolygon(p, outer);
        if (where != -1)
            return where == 1;
    }
    for (std::size_t i = 0, j = inner.size() - 1; i < inner.size(); j = i++) {
        const ClipperLib::IntPoint middle((inner[i].X + inner[j].X) / 2, (inner[i].Y + inner[j].Y) / 2);
        const int where = ClipperLib::PointInPolygon(middle, outer);
        if (where != -1)
            return where == 1;
    }
    return true; // all along the boundary: nothing to tell them apart
}

// True when every outer of the tree winds positive and every hole negative,
// inside its outer. Where rounded intersections leave a result pinched
// against itself, Clipper 6 now and then files an outer as a hole, or a hole
// outside the outer it belongs to; triangulated as given, such an area fills
// where nothing is left or leaves out what is.
bool wellFormed(const ClipperLib::PolyTree& tree)
{
    for (const ClipperLib::PolyNode* node = tree.GetFirst(); node; node = node->GetNext()) {
        const double area = ClipperLib::Area(node->Contour);
        if (!node->IsHole() ? area < 0.0
                            : area > 0.0 || (node->Parent && !liesInside(node->Contour, node->Parent->Contour)))
            return false;
    }
    return true;
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
        clipper.Execute(ClipperLib::ctDifference, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
        if (!wellFormed(tree)) {
            // Outers wind positive and holes negative, so the area meant is
            // where the contours' winding is positive; a second pass over
            // contours already on the grid sorts them out.
            ClipperLib::Paths contours;
            ClipperLib::PolyTreeToPaths(tree, contours);
            ClipperLib::Clipper again;
            again.AddPaths(contours, ClipperLib::ptSubject, true);
            again.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftPositive, ClipperLib::pftPositive);
        }
    } catch (const ClipperLib::clipperException&) {
        return areas; // coordinates out of the library's range: nothing visible
    }

    // Outers are areas, and each hole goes to the outer it was filed under
    // or, when it lies outside that one, to the smallest outer around it. A
    // contour wound positive is an outer wherever it was filed.
    struct Piece {
        const ClipperLib::Path* outline;
        double area;
        std::vector<const ClipperLib::Path*> holes;
    };
    std::vector<Piece> pieces;
    std::vector<std::pair<const ClipperLib::Path*, const ClipperLib::PolyNode*>> holes; // with the tree's parent
    std::unordered_map<const ClipperLib::PolyNode*, std::size_t> pieceOf;
    for (const ClipperLib::PolyNode* node = tree.GetFirst(); node; node = node->GetNext()) {
        const double a = ClipperLib::Area(node->Contour);
        if (a > 0.0) {
            pieceOf[node] = pieces.size();
            pieces.push_back({&node->Contour, a, {}});
        } else if (a < 0.0) {
            holes.emplace_back(&node->Contour, node->Parent);
        }
    }
    for (const auto& [hole, parent] : holes) {
        Piece* owner = nullptr;
        const auto filed = pieceOf.find(parent);
        if (filed != pieceOf.end() && liesInside(*hole, *pieces[filed->second].outline))
            owner = &pieces[filed->second];
        else
            for (Piece& piece : pieces)
                if ((!owner || piece.area < owner->area) && liesInside(*hole, *piece.outline))
                    owner = &piece;
        if (owner)
            owner->holes.push_back(hole);
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
