#include "framework/ImGuiSfml.h"

#include <imgui.h>
#include <backends/imgui_impl_opengl2.h>

#include <SFML/OpenGL.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <cfloat>

namespace orv {
namespace ImGuiSfml {

namespace {

bool active = false;
// ImGui 1.86 samples the mouse once per frame. A press and release that both
// arrive within one poll would never be seen as down, so a press is latched
// until the next frame has seen it.
bool mouseDown[3] = {false, false, false};
bool mouseLatched[3] = {false, false, false};
// Keys the same way: a quick tap (Enter to leave a text field) must reach a
// frame even when its release came in the same poll.
constexpr int keyCount = 512;
bool keyDown[keyCount] = {};
bool keyLatched[keyCount] = {};

int buttonIndex(sf::Mouse::Button button)
{
    switch (button) {
    case sf::Mouse::Left:
        return 0;
    case sf::Mouse::Right:
        return 1;
    case sf::Mouse::Middle:
        return 2;
    default:
        return -1;
    }
}

} // namespace

void start(sf::RenderWindow& window)
{
    if (active)
        return;
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.BackendPlatformName = "tarnwick_sfml";

    io.KeyMap[ImGuiKey_Tab] = sf::Keyboard::Tab;
    io.KeyMap[ImGuiKey_LeftArrow] = sf::Keyboard::Left;
    io.KeyMap[ImGuiKey_RightArrow] = sf::Keyboard::Right;
    io.KeyMap[ImGuiKey_UpArrow] = sf::Keyboard::Up;
    io.KeyMap[ImGuiKey_DownArrow] = sf::Keyboard::Down;
    io.KeyMap[ImGuiKey_PageUp] = sf::Keyboard::PageUp;
    io.KeyMap[ImGuiKey_PageDown] = sf::Keyboard::PageDown;
    io.KeyMap[ImGuiKey_Home] = sf::Keyboard::Home;
    io.KeyMap[ImGuiKey_End] = sf::Keyboard::End;
    io.KeyMap[ImGuiKey_Insert] = sf::Keyboard::Insert;
    io.KeyMap[ImGuiKey_Delete] = sf::Keyboard::Delete;
    io.KeyMap[ImGuiKey_Backspace] = sf::Keyboard::Backspace;
    io.KeyMap[ImGuiKey_Space] = sf::Keyboard::Space;
    io.KeyMap[ImGuiKey_Enter] = sf::Keyboard::Enter;
    io.KeyMap[ImGuiKey_Escape] = sf::Keyboard::Escape;
    io.KeyMap[ImGuiKey_KeyPadEnter] = sf::Keyboard::Enter;
    io.KeyMap[ImGuiKey_A] = sf::Keyboard::A;
    io.KeyMap[ImGuiKey_C] = sf::Keyboard::C;
    io.KeyMap[ImGuiKey_V] = sf::Keyboard::V;
    io.KeyMap[ImGuiKey_X] = sf::Keyboard::X;
    io.KeyMap[ImGuiKey_Y] = sf::Keyboard::Y;
    io.KeyMap[ImGuiKey_Z] = sf::Keyboard::Z;

    ImGui::StyleColorsDark();
    window.setActive(true);
    ImGui_ImplOpenGL2_Init();
    active = true;
    newFrame(window, 1.0f / 60.0f);
}

bool isActive()
{
    return active;
}

void processEvent(const sf::Event& event)
{
    if (!active)
        return;
    ImGuiIO& io = ImGui::GetIO();
    switch (event.type) {
    case sf::Event::MouseMoved:
        io.MousePos = ImVec2(static_cast<float>(event.mouseMove.x), static_cast<float>(event.mouseMove.y));
        break;
    case sf::Event::MouseButtonPressed: {
        const int i = buttonIndex(event.mouseButton.button);
        io.MousePos = ImVec2(static_cast<float>(event.mouseButton.x), static_cast<float>(event.mouseButton.y));
        if (i >= 0)
            mouseDown[i] = mouseLatched[i] = true;
        break;
    }
    case sf::Event::MouseButtonReleased: {
        const int i = buttonIndex(event.mouseButton.button);
        if (i >= 0)
            mouseDown[i] = false;
        break;
    }
    case sf::Event::MouseWheelScrolled:
        if (event.mouseWheelScroll.wheel == sf::Mouse::VerticalWheel)
            io.MouseWheel += event.mouseWheelScroll.delta;
        else
            io.MouseWheelH += event.mouseWheelScroll.delta;
        break;
    case sf::Event::MouseLeft:
        io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        break;
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased: {
        const int code = event.key.code;
        if (code >= 0 && code < keyCount) {
            keyDown[code] = event.type == sf::Event::KeyPressed;
            if (keyDown[code])
                keyLatched[code] = true;
        }
        io.KeyCtrl = event.key.control;
        io.KeyShift = event.key.shift;
        io.KeyAlt = event.key.alt;
        io.KeySuper = event.key.system;
        break;
    }
    case sf::Event::TextEntered:
        // Control characters are keys, not text.
        if (event.text.unicode >= 32 && event.text.unicode != 127)
            io.AddInputCharacter(event.text.unicode);
        break;
    case sf::Event::LostFocus:
        for (int i = 0; i < keyCount; ++i)
            keyDown[i] = keyLatched[i] = false;
        io.KeyCtrl = io.KeyShift = io.KeyAlt = io.KeySuper = false;
        break;
    default:
        break;
    }
}

void newFrame(sf::RenderWindow& window, float dt)
{
    if (!active)
        return;
    ImGuiIO& io = ImGui::GetIO();
    const sf::Vector2u size = window.getSize();
    io.DisplaySize = ImVec2(static_cast<float>(size.x), static_cast<float>(size.y));
    io.DeltaTime = dt > 0.0f ? dt : 1.0f / 60.0f;
    for (int i = 0; i < 3; ++i) {
        io.MouseDown[i] = mouseDown[i] || mouseLatched[i];
        mouseLatched[i] = false;
    }
    static_assert(keyCount <= sizeof(io.KeysDown) / sizeof(io.KeysDown[0]), "ImGui's key table is smaller");
    for (int i = 0; i < keyCount; ++i) {
        io.KeysDown[i] = keyDown[i] || keyLatched[i];
        keyLatched[i] = false;
    }
    ImGui_ImplOpenGL2_NewFrame();
    ImGui::NewFrame();
}

void render(sf::RenderWindow& window)
{
    if (!active)
        return;
    window.setActive(true);
    window.pushGLStates();
    ImGui::Render();
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    window.popGLStates();
}

bool wantsKeyboard()
{
    return active && ImGui::GetIO().WantCaptureKeyboard;
}

void shutdown()
{
    if (!active)
        return;
    ImGui_ImplOpenGL2_Shutdown();
    ImGui::DestroyContext();
    active = false;
}

} // namespace ImGuiSfml
} // namespace orv
