#include "world/ContactListener.h"

namespace ctk {

void ContactListener::PreSolve(b2Contact*, const b2Manifold*) {}

} // namespace ctk
