#include "world/FindSectorsQueryCallback.h"

namespace ctk {

void FindSectorsQueryCallback::begin(SectorQueryMode mode, float halfWidth, float halfHeight, const b2Vec2& centre,
                                     std::vector<Sector*>& result, std::vector<Sector*>& rejected)
{
    mode_ = mode;
    box_.SetAsBox(halfWidth, halfHeight, centre, 0.0f);
    input_.proxyA.Set(&box_, 0);
    input_.transformA.SetIdentity();
    input_.transformB.SetIdentity();
    input_.useRadii = true;
    result_ = &result;
    rejected_ = &rejected;
}

bool FindSectorsQueryCallback::ReportFixture(b2Fixture* fixture)
{
    const auto* tag = reinterpret_cast<const BodyTag*>(fixture->GetBody()->GetUserData().pointer);
    if (!tag || tag->kind != sectorBodyKind)
        return true;
    Sector* sector = static_cast<const SectorBodyTag*>(tag)->sector;
    if (!sector || sector->found)
        return true;

    input_.proxyB.Set(fixture->GetShape(), 0);
    cache_.count = 0;
    b2DistanceOutput output;
    b2Distance(&output, &cache_, &input_);
    if (output.distance >= 1.1920929e-6f)
        return true;

    sector->found = true;
    const bool keep = mode_ == SectorQueryMode::NonRoof ? !sector->roofSector
                                                        : !sector->roofSector && !sector->isShadow;
    (keep ? result_ : rejected_)->push_back(sector);
    return true;
}

} // namespace ctk
