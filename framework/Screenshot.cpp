#include "framework/Screenshot.h"

#include "framework/Core.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

namespace orv {

std::string screenshotName;
bool screenshotPending = false;

std::string automaticScreenshotName(const std::tm& utc, const std::function<bool(const std::string&)>& exists)
{
    const int year = utc.tm_year + 1900, month = utc.tm_mon + 1;
    const std::string plain = format("screenshot_%04d%02d%02d_%02d%02d%02d.png", year, month, utc.tm_mday,
                                     utc.tm_hour, utc.tm_min, utc.tm_sec);
    if (!exists(plain))
        return plain;
    for (int counter = 1; counter <= 9999; ++counter) {
        const std::string counted = format("screenshot_%04d%02d%02d_%02d%02d%02d_%02d.png", year, month,
                                           utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, counter);
        if (!exists(counted))
            return counted;
    }
    return std::string();
}

void takeScreenshot()
{
    std::string name = screenshotName;
    if (name.empty()) {
        const std::time_t now = std::time(nullptr);
        std::tm utc{};
        gmtime_r(&now, &utc);
        name = automaticScreenshotName(utc, [](const std::string& n) { return pathExists(n); });
        if (name.empty()) {
            Log::error("Run out of screenshot filenames!");
            return;
        }
    }

    sf::RenderWindow& w = window();
    const sf::Vector2u size = w.getSize();
    sf::Texture texture;
    if (!texture.create(size.x, size.y)) {
        Log::error(format("Unable to create %d by %d screenshot texture", static_cast<int>(size.x),
                          static_cast<int>(size.y)));
        return;
    }
    texture.update(w);
    const sf::Image image = texture.copyToImage();
    if (image.getSize().x == 0 || image.getSize().y == 0) {
        Log::error(format("Unable to create %d by %d screenshot image", static_cast<int>(size.x),
                          static_cast<int>(size.y)));
        return;
    }
    if (image.saveToFile(nativePath(name)))
        Log::info("Saved screenshot to " + name);
}

} // namespace orv
