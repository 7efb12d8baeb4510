// load -> save -> load gives the same sections, keys and values: a settings
// file the program writes back must read as what it read.

#include "FuzzSupport.h"

#include "framework/IniFile.h"

#include <map>

namespace {

// Section -> key -> value, all by lower-cased name. Keys whose value is empty
// read like missing keys through every getter, so they are left out.
using Contents = std::map<std::string, std::map<std::string, std::string>>;

Contents contentsOf(orv::IniFile& ini)
{
    Contents out;
    for (const std::string& section : ini.getSectionNames()) {
        ini.setSection(section);
        auto& keys = out[section];
        for (const std::string& key : ini.getKeys()) {
            const std::string value = ini.getValue(key);
            if (!value.empty())
                keys[key] = value;
        }
    }
    return out;
}

std::string describe(const Contents& c)
{
    std::string text;
    for (const auto& [section, keys] : c) {
        text += "[" + section + "]\n";
        for (const auto& [key, value] : keys)
            text += "  <" + key + "> = <" + value + ">\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::enterScratchDir();
    fuzz::restartLog();
    fuzz::writeInput("first.ini", data, size);

    orv::IniFile first;
    if (!first.load("first.ini"))
        fuzz::fail("a readable file failed to load");
    const Contents before = contentsOf(first);
    if (!first.save("second.ini"))
        fuzz::fail("save failed: " + first.lastError);

    orv::IniFile second;
    if (!second.load("second.ini"))
        fuzz::fail("the saved file failed to load");
    const Contents after = contentsOf(second);
    if (before != after)
        fuzz::fail("round trip changed the contents\nbefore:\n" + describe(before) + "after:\n" + describe(after));
    return 0;
}
