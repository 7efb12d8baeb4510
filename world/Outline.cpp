#include "world/Outline.h"

#include <algorithm>
#include <vector>

namespace {

// Drops repeats and spikes in one pass: a point equal to the last kept one is
// a repeat; a point equal to the one before the last kept one turns the last
// one into a spike tip, which goes. Out-and-back runs of any length fold up.
void foldRepeats(Polygon& outline)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const sf::Vector2f p = outline[i];
        if (kept >= 1 && outline[kept - 1] == p)
            continue;
        if (kept >= 2 && outline[kept - 2] == p) {
            --kept; // the tip goes, and p is the point now last
            continue;
        }
        outline[kept++] = p;
    }
    outline.resize(kept);

    // The outline is closed: fold across the seam too.
    std::size_t first = 0, end = outline.size();
    for (;;) {
        const std::size_t n = end - first;
        if (n >= 2 && outline[end - 1] == outline[first])
            --end; // last repeats first
        else if (n >= 3 && outline[end - 1] == outline[first + 1])
            ++first; // first is a spike tip between last and second
        else if (n >= 3 && outline[end - 2] == outline[first])
            --end; // last is a spike tip between its neighbour and first
        else
            break;
    }
    outline.erase(outline.begin() + static_cast<std::ptrdiff_t>(end), outline.end());
    outline.erase(outline.begin(), outline.begin() + static_cast<std::ptrdiff_t>(first));
}

// The shortest lap that the outline repeats a whole number of times (the
// prefix function: the longest proper prefix that is also a suffix).
std::size_t lapLength(const Polygon& outline)
{
    const std::size_t n = outline.size();
    if (n < 2)
        return n;
    std::vector<std::size_t> prefix(n, 0);
    for (std::size_t i = 1; i < n; ++i) {
        std::size_t k = prefix[i - 1];
        while (k > 0 && outline[i] != outline[k])
            k = prefix[k - 1];
        if (outline[i] == outline[k])
            ++k;
        prefix[i] = k;
    }
    const std::size_t lap = n - prefix[n - 1];
    return n % lap == 0 ? lap : n;
}

} // namespace

void simplifyOutline(Polygon& outline)
{
    foldRepeats(outline);
    outline.resize(lapLength(outline));
    // A lap may start and end across a spike the whole outline did not show.
    foldRepeats(outline);
}

std::size_t outlineReturns(const Polygon& outline)
{
    std::vector<std::pair<float, float>> points;
    points.reserve(outline.size());
    for (const sf::Vector2f& p : outline)
        points.emplace_back(p.x, p.y);
    std::sort(points.begin(), points.end());
    return outline.size() - static_cast<std::size_t>(std::unique(points.begin(), points.end()) - points.begin());
}
