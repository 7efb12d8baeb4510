#include "framework/Log.h"

#include "framework/AppInfo.h"
#include "framework/PathUtil.h"
#include "framework/ScreenMessages.h"
#include "framework/gui/Theme.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace orv {
namespace Log {

namespace {
bool enabled = false;
// Worker threads (the bench's sweeps) log too: one line is written whole
// before the next begins.
std::mutex writing;

std::string executableLogName()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string name = ec ? std::string("program") : exe.filename().string();
    return replaceExtension(name, ".log");
}
} // namespace

void open(const std::string& path)
{
    if (!path.empty())
        appInfo.logPath = path;
    else if (appInfo.logPath.empty())
        appInfo.logPath = executableLogName();
    deleteFile(appInfo.logPath);
    enabled = true;
}

void write(const std::string& message)
{
    if (!enabled || appInfo.logPath.empty())
        return;
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    const std::lock_guard<std::mutex> lock(writing);
    std::FILE* f = std::fopen(nativePath(appInfo.logPath).c_str(), "a");
    if (!f)
        return;
    std::fprintf(f, "%02d:%02d:%02d: %s\n", utc.tm_hour, utc.tm_min, utc.tm_sec, message.c_str());
    std::fflush(f);
    std::fclose(f);
}

void info(const std::string& message)
{
    postScreenMessage(message, sf::Color::White);
    write(message);
}

void warning(const std::string& message)
{
    postScreenMessage(message, theme.clMessageWarning);
    write("Warning: " + message);
}

void error(const std::string& message)
{
    postScreenMessage(message, theme.clMessageError);
    write("Error: " + message);
}

void disable()
{
    enabled = false;
}

bool isEnabled()
{
    return enabled;
}

void reset()
{
    enabled = false;
    appInfo.logPath.clear();
}

} // namespace Log
} // namespace orv
