#include "framework/Random.h"

#include <chrono>
#include <random>

namespace orv {

namespace {
std::mt19937& generator()
{
    static std::mt19937 g(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return g;
}
} // namespace

int randomInt()
{
    return static_cast<int>(generator()() >> 1);
}

int randomRange(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    return std::uniform_int_distribution<int>(lo, hi)(generator());
}

int randomShort()
{
    // The top 15 bits: the low bits of a Mersenne twister are as good, but
    // this keeps one draw per call.
    return static_cast<int>(generator()() >> 17);
}

float randomFraction()
{
    return static_cast<float>(randomShort()) / 32767.0f;
}

void seedRandom(unsigned seed)
{
    generator().seed(seed);
}

} // namespace orv
