// Zendrix 2 Tarnwick: a test bed for the driving model of a top-down game.

#include "app/AppSettings.h"
#include "framework/AppInfo.h"
#include "framework/Log.h"

int main()
{
    orv::appInfo.title = "Zendrix 2 Tarnwick";
    orv::appInfo.version = "1.00";
    orv::appInfo.legalNotice = "Zendrix 2 Tarnwick test bed. Made by the Tarnwick team.";
    orv::appInfo.webAddress = "https://tarnwick.invalid/";
    orv::Log::open("Tarnwick.log");
    orv::defaultSoundVolume = 90;
    orv::defaultMusicVolume = 0;

    loadSettings();
    saveSettings();
    return 0;
}
