#include "framework/gui/ScriptConsole.h"

#include "framework/BinaryFile.h"

#include <algorithm>

namespace orv {

bool ScriptConsole::create()
{
    history_.clear();
    loadHistory(historyFileName);
    return true;
}

void ScriptConsole::layout(float viewWidth, float viewHeight)
{
    width = std::max(320.f, viewWidth * 0.6f);
    height = std::max(120.f, viewHeight * 0.35f);
}

void ScriptConsole::print(const std::string& line, const sf::Color& colour)
{
    lines_.push_back({line, colour});
    while (lines_.size() > maxLines)
        lines_.pop_front();
}

void ScriptConsole::loadHistory(const std::string& path)
{
    BinaryFile file;
    if (!file.openRead(path) || !file.readHeader(historyId))
        return;
    std::int32_t count = 0;
    if (!file.readInt32(count) || count <= 0)
        return;
    // Every entry takes at least its 4-byte length, so a count the file
    // cannot hold stops at the end of the file instead of running on.
    for (std::int32_t i = 0; i < count && file.remaining() >= 4; ++i)
        history_.push_back(file.readOldStdString());
}

ScriptConsole& scriptConsole()
{
    static ScriptConsole& console = *new ScriptConsole;
    return console;
}

} // namespace orv
