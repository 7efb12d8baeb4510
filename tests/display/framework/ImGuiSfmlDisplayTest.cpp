#include "framework/Core.h"
#include "framework/ImGuiSfml.h"

#include <imgui.h>

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

#include <vector>

using namespace orv;

// A window whose draw list passes 65,535 vertices reaches the OpenGL2
// backend split by vertex offset: every chart down to the last one must be
// drawn where it belongs, not from the wrong vertices (or not at all).
TEST(ImGuiDisplay, ListsPastSixteenBitIndicesDrawWhole)
{
    ImGuiSfml::start(window());
    const sf::Vector2u size = window().getSize();
    std::vector<float> values(2000);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<float>(i % 2);

    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
    ImGui::SetNextWindowSize(ImVec2(static_cast<float>(size.x), static_cast<float>(size.y)));
    ImGui::Begin("Plots", nullptr, ImGuiWindowFlags_NoDecoration);
    float lastTop = 0.0f; // of the last chart wholly on the screen
    for (int chart = 0; chart < 24; ++chart) {
        if (ImGui::GetCursorScreenPos().y + 20.0f < static_cast<float>(size.y))
            lastTop = ImGui::GetCursorScreenPos().y;
        ImGui::PushID(chart);
        ImGui::PlotLines("##values", values.data(), static_cast<int>(values.size()), 0, nullptr, 0.0f, 1.0f,
                         ImVec2(2000.0f, 20.0f));
        ImGui::PopID();
    }
    ImGui::End();

    window().clear(sf::Color::Black);
    ImGuiSfml::render(window());
    sf::Texture shot;
    ASSERT_TRUE(shot.create(size.x, size.y));
    shot.update(window());
    const sf::Image image = shot.copyToImage();
    const ImDrawData* data = ImGui::GetDrawData();
    bool offsets = false;
    for (int n = 0; n < data->CmdListsCount; ++n)
        for (const ImDrawCmd& cmd : data->CmdLists[n]->CmdBuffer)
            offsets = offsets || cmd.VtxOffset > 0;
    ImGuiSfml::newFrame(window(), 1.0f / 60.0f); // the frame the program goes on with
    ASSERT_TRUE(offsets) << "the window should need more than one vertex offset";

    // The last chart's row: its lines fill it with the plot colour (light
    // grey), where the wrong vertices would leave it dark or draw elsewhere.
    int lit = 0;
    const unsigned top = static_cast<unsigned>(lastTop);
    for (unsigned y = top; y < top + 20 && y < size.y; ++y)
        for (unsigned x = 20; x < size.x - 20; ++x) {
            const sf::Color c = image.getPixel(x, y);
            lit += c.r > 120 && c.g > 120 && c.b > 120 ? 1 : 0;
        }
    EXPECT_GT(lit, static_cast<int>(size.x) * 2) << "the last chart is missing";
}
