#include "framework/Signals.h"

#include <csignal>

namespace orv {

namespace {
volatile std::sig_atomic_t quitFlag = 0;

extern "C" void onQuitSignal(int signalNumber)
{
    if (quitFlag) {
        // Asked twice: the default action ends the process with the signal.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    quitFlag = 1;
}
} // namespace

void installQuitSignals()
{
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool quitSignalled()
{
    return quitFlag != 0;
}

void resetQuitSignal()
{
    quitFlag = 0;
}

} // namespace orv
