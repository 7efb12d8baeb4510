#include "framework/AudioHooks.h"

namespace orv {

AudioHooks audioHooks;

bool audioHooksComplete()
{
    return audioHooks.start && audioHooks.stop && audioHooks.afterFrame;
}

} // namespace orv
