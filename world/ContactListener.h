#pragma once
// The world's contact listener. Its pre-solve hook is where per-contact rules
// would go; it changes nothing, so contacts behave as Box2D's defaults.

#include <box2d/box2d.h>

namespace ctk {

class ContactListener : public b2ContactListener {
public:
    void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;
};

} // namespace ctk
