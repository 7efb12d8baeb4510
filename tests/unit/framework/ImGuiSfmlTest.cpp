#include "framework/ImGuiSfml.h"

#include <imgui.h>

#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <vector>

using namespace orv;

namespace {

// An ImGui context as the program sets it up, without a window or GL: frames
// run and render into draw lists that nothing draws.
class ImGuiInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ImGui::CreateContext();
        ImGuiSfml::configureIo(ImGui::GetIO());
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        ImGui::GetIO().Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
        send(sf::Event::LostFocus); // forget keys an earlier test left down
    }
    void TearDown() override { ImGui::DestroyContext(); }

    static void send(sf::Event::EventType type, sf::Keyboard::Key code = sf::Keyboard::Unknown)
    {
        sf::Event event{};
        event.type = type;
        event.key.code = code;
        ImGuiSfml::processEvent(event);
    }
    static void newFrame()
    {
        ImGuiSfml::applyInput(ImGui::GetIO(), sf::Vector2u(1280, 720), 1.0f / 60.0f);
        ImGui::NewFrame();
    }
};

} // namespace

// The poll runs while a frame is open. Modifiers pressed and released there
// must wait for the next frame: ImGui asserts (aborts) when they change
// between NewFrame and EndFrame. A quick Ctrl+Z inside one poll still reaches
// the next frame as Ctrl+Z, and a released Ctrl is released.
TEST_F(ImGuiInputTest, ModifiersChangeOnlyBetweenFrames)
{
    newFrame();
    send(sf::Event::KeyPressed, sf::Keyboard::LControl);
    send(sf::Event::KeyPressed, sf::Keyboard::Z);
    send(sf::Event::KeyReleased, sf::Keyboard::Z);
    send(sf::Event::KeyReleased, sf::Keyboard::LControl);
    EXPECT_FALSE(ImGui::GetIO().KeyCtrl);
    ImGui::Render();

    newFrame();
    EXPECT_TRUE(ImGui::GetIO().KeyCtrl);
    EXPECT_TRUE(ImGui::IsKeyPressed(sf::Keyboard::Z, false));
    send(sf::Event::KeyPressed, sf::Keyboard::RShift);
    ImGui::Render();

    newFrame();
    EXPECT_FALSE(ImGui::GetIO().KeyCtrl);
    EXPECT_TRUE(ImGui::GetIO().KeyShift);
    send(sf::Event::KeyReleased, sf::Keyboard::RShift);
    send(sf::Event::KeyPressed, sf::Keyboard::LAlt);
    send(sf::Event::KeyPressed, sf::Keyboard::LSystem);
    ImGui::Render();

    newFrame();
    EXPECT_FALSE(ImGui::GetIO().KeyShift);
    EXPECT_TRUE(ImGui::GetIO().KeyAlt);
    EXPECT_TRUE(ImGui::GetIO().KeySuper);
    ImGui::Render();
}

// A window whose list passes 65,535 vertices (a long plot, a huge text) goes
// on with a new vertex offset instead of asserting on 16-bit indices.
TEST_F(ImGuiInputTest, LongListsTakeNewVertexOffsets)
{
    std::vector<float> values(2000);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<float>(i % 7);
    newFrame();
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
    ImGui::SetNextWindowSize(ImVec2(1280.0f, 720.0f));
    ImGui::Begin("Plot");
    for (int chart = 0; chart < 24; ++chart) {
        ImGui::PushID(chart);
        ImGui::PlotLines("##values", values.data(), static_cast<int>(values.size()), 0, nullptr, 0.0f, 7.0f,
                         ImVec2(2000.0f, 20.0f));
        ImGui::PopID();
    }
    ImGui::End();
    ImGui::Render();

    const ImDrawData* data = ImGui::GetDrawData();
    bool offset = false;
    for (int n = 0; n < data->CmdListsCount; ++n)
        for (const ImDrawCmd& cmd : data->CmdLists[n]->CmdBuffer)
            offset = offset || cmd.VtxOffset > 0;
    EXPECT_TRUE(offset);
}
