#include "framework/ScreenMessages.h"

#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "framework/gui/ScriptConsole.h"

#include <ctime>

namespace orv {

int currentUtcSecond()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    return utc.tm_sec % 60;
}

void ScreenMessageList::post(const std::string& text, const sf::Color& colour)
{
    if (!enabled_ || text.empty())
        return;
    std::string expanded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            expanded += '\n';
            ++i;
        } else {
            expanded += text[i];
        }
    }
    for (const std::string& line : splitString(expanded, '\n', false))
        if (!line.empty())
            addLine(line, colour);
}

void ScreenMessageList::addLine(const std::string& line, const sf::Color& colour)
{
    scriptConsole().print(line, colour);
    ScreenMessage message;
    message.text = line;
    message.colour = colour;
    message.lastSecond = currentUtcSecond();
    message.width = textWidth(line, FontSlot::Standard, 18);
    entries_.push_back(std::move(message));
    while (entries_.size() > maxEntries)
        entries_.pop_front();
}

void ScreenMessageList::age(int nowSecond)
{
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->age != -1 && it->lastSecond != nowSecond) {
            it->lastSecond = nowSecond;
            if (++it->age > maxAge) {
                it = entries_.erase(it);
                continue;
            }
        }
        ++it;
    }
}

namespace {
ScreenMessageList screenMessageList;
} // namespace

ScreenMessageList& screenMessages()
{
    return screenMessageList;
}

void postScreenMessage(const std::string& text, const sf::Color& colour)
{
    screenMessages().post(text, colour);
}

} // namespace orv
