// IniFile::load on any bytes, then every typed getter on every key: nothing
// may crash, hang or read out of bounds, and numbers come back finite.

#include "FuzzSupport.h"

#include "framework/IniFile.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::enterScratchDir();
    fuzz::writeInput("input.ini", data, size);

    orv::IniFile ini;
    ini.colorReferences = (size % 2) == 1;
    if (!ini.load("input.ini"))
        fuzz::fail("a readable file failed to load: " + ini.lastError);
    for (const std::string& section : ini.getSectionNames()) {
        ini.setSection(section);
        for (const std::string& key : ini.getKeys()) {
            (void)ini.getString(key, "");
            (void)ini.getInt(key, 0);
            (void)ini.getBool(key, false);
            (void)ini.getColor(key, sf::Color::White);
            (void)ini.getVector2i(key, {});
            (void)ini.getIntRect(key, {});
            const float f = ini.getFloat(key, 0.0f);
            FUZZ_CHECK(std::isfinite(f), "getFloat of " + key);
            const sf::Vector2f v = ini.getVector2f(key, {});
            FUZZ_CHECK(std::isfinite(v.x) && std::isfinite(v.y), "getVector2f of " + key);
            const sf::FloatRect r = ini.getFloatRect(key, {});
            FUZZ_CHECK(std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.width) &&
                           std::isfinite(r.height),
                       "getFloatRect of " + key);
        }
    }
    (void)ini.checkHeader("Zendrix 2 Texture Images");
    return 0;
}
