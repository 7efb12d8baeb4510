#pragma once
// The sector query's world callback: for every fixture the broad phase
// reports, an exact distance test against the query box decides whether its
// sector lies under the rectangle.

#include "world/Map.h"
#include "world/SectorQueryMode.h"

#include <box2d/box2d.h>
#include <box2d/b2_distance.h>

#include <vector>

namespace ctk {

class FindSectorsQueryCallback : public b2QueryCallback {
public:
    /// Prepares a query with a box of the given half extents (metres).
    void begin(SectorQueryMode mode, float halfWidth, float halfHeight, const b2Vec2& centre,
               std::vector<Sector*>& result, std::vector<Sector*>& rejected);
    bool ReportFixture(b2Fixture* fixture) override;

private:
    SectorQueryMode mode_{};
    b2PolygonShape box_;
    b2DistanceInput input_;
    b2SimplexCache cache_{};
    std::vector<Sector*>* result_ = nullptr;
    std::vector<Sector*>* rejected_ = nullptr;
};

} // namespace ctk
