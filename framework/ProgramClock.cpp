#include "framework/ProgramClock.h"

#include <chrono>

namespace orv {
namespace ProgramClock {

namespace {
using Clock = std::chrono::steady_clock;

struct State {
    Clock::time_point start = Clock::now();
    bool manual = false;
    double manualSeconds = 0.0;
};

State& state()
{
    static State s;
    return s;
}
} // namespace

double now()
{
    const State& s = state();
    if (s.manual)
        return s.manualSeconds;
    return std::chrono::duration<double>(Clock::now() - s.start).count();
}

void setManual(double seconds)
{
    state().manual = true;
    state().manualSeconds = seconds;
}

void advance(double seconds)
{
    if (state().manual)
        state().manualSeconds += seconds;
}

void setReal()
{
    state().manual = false;
}

} // namespace ProgramClock
} // namespace orv
