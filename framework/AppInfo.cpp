#include "framework/AppInfo.h"

namespace orv {

AppInfo appInfo;
int defaultSoundVolume = 80;
int defaultMusicVolume = 30;

std::string getTitleWithVersion()
{
    return appInfo.title + " v" + appInfo.version;
}

} // namespace orv
