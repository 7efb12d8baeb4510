#include "framework/gui/ScriptConsole.h"

#include "framework/BinaryFile.h"
#include "framework/Keyboard.h"

#include <imgui.h>

#include <SFML/Window/Keyboard.hpp>

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

void ScriptConsole::draw()
{
    if (!visible)
        return;
    ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_Appearing);
    ImGui::SetNextWindowSize(ImVec2(width, height), ImGuiCond_Appearing);
    if (ImGui::Begin("Script Console", &visible, ImGuiWindowFlags_NoSavedSettings)) {
        // The recent lines only: a few hundred widgets are plenty to read.
        const std::size_t shown = std::min<std::size_t>(lines_.size(), 200);
        for (std::size_t i = lines_.size() - shown; i < lines_.size(); ++i) {
            const sf::Color& c = lines_[i].colour;
            ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(c.r / 255.f, c.g / 255.f, c.b / 255.f, 1.f));
            ImGui::TextUnformatted(lines_[i].text.c_str());
            ImGui::PopStyleColor();
        }
        if (ImGui::GetScrollY() >= ImGui::GetScrollMaxY())
            ImGui::SetScrollHereY(1.0f);
    }
    ImGui::End();
}

void ScriptConsole::toggleAndDraw()
{
    if (wasKeyPressed(sf::Keyboard::Tilde, true))
        visible = !visible;
    draw();
}

namespace {
ScriptConsole console;
} // namespace

ScriptConsole& scriptConsole()
{
    return console;
}

} // namespace orv
