#include "framework/ImGuiSfml.h"

#include <imgui.h>
#include <backends/imgui_impl_opengl2.h>

#include <SFML/OpenGL.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <cfloat>
#include <cstring>
#include <memory>
#include <vector>

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
// Events arrive while a frame is open (the poll runs after NewFrame), and
// ImGui 1.86 asserts when the modifiers change between NewFrame and EndFrame.
// What an event changes is gathered here and handed over in newFrame.
struct PendingInput {
    ImVec2 mousePos{-FLT_MAX, -FLT_MAX};
    float wheel = 0.0f;
    float wheelH = 0.0f;
};
PendingInput pending;

// A modifier counts while either of its keys is down or was pressed since
// the last frame. The keys' own state is used, not the event's modifier
// flags: X reports those as they were before the event, so releasing Ctrl
// would leave Ctrl held, and every character typed after it ignored.
bool modifierHeld(sf::Keyboard::Key left, sf::Keyboard::Key right)
{
    return keyDown[left] || keyLatched[left] || keyDown[right] || keyLatched[right];
}

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

// The OpenGL2 backend draws every list from its vertex 0, and this ImGui
// indexes vertices with 16 bits, so a list past 65,535 vertices (a long plot,
// a huge text) would assert. With RendererHasVtxOffset ImGui starts a new
// vertex offset instead; such a list goes to the backend as one list per
// offset, each holding its own vertices. Lists that fit are passed as they are.
void renderDrawData(ImDrawData* data)
{
    bool offsets = false;
    for (int n = 0; n < data->CmdListsCount && !offsets; ++n)
        for (const ImDrawCmd& cmd : data->CmdLists[n]->CmdBuffer)
            offsets = offsets || cmd.VtxOffset != 0;
    if (!offsets) {
        ImGui_ImplOpenGL2_RenderDrawData(data);
        return;
    }
    std::vector<std::unique_ptr<ImDrawList>> parts;
    std::vector<ImDrawList*> lists;
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList& list = *data->CmdLists[n];
        int first = 0;
        while (first < list.CmdBuffer.Size) {
            const unsigned int offset = list.CmdBuffer[first].VtxOffset;
            int last = first;
            while (last < list.CmdBuffer.Size && list.CmdBuffer[last].VtxOffset == offset)
                ++last;
            const int end = last < list.CmdBuffer.Size ? static_cast<int>(list.CmdBuffer[last].VtxOffset)
                                                        : list.VtxBuffer.Size;
            auto part = std::make_unique<ImDrawList>(nullptr);
            const int count = end - static_cast<int>(offset);
            part->VtxBuffer.resize(count > 0 ? count : 0);
            if (count > 0)
                std::memcpy(part->VtxBuffer.Data, list.VtxBuffer.Data + offset,
                            static_cast<std::size_t>(count) * sizeof(ImDrawVert));
            part->IdxBuffer = list.IdxBuffer;
            for (int c = first; c < last; ++c) {
                part->CmdBuffer.push_back(list.CmdBuffer[c]);
                part->CmdBuffer.back().VtxOffset = 0;
            }
            lists.push_back(part.get());
            parts.push_back(std::move(part));
            first = last;
        }
    }
    ImDrawData split = *data;
    split.CmdLists = lists.data();
    split.CmdListsCount = static_cast<int>(lists.size());
    ImGui_ImplOpenGL2_RenderDrawData(&split);
}

} // namespace

void configureIo(ImGuiIO& io)
{
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.BackendPlatformName = "tarnwick_sfml";
    io.BackendFlags |= ImGuiBackendFlags_RendererHasVtxOffset;
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
}

void start(sf::RenderWindow& window)
{
    if (active)
        return;
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    configureIo(io);
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
    if (!ImGui::GetCurrentContext())
        return;
    ImGuiIO& io = ImGui::GetIO();
    switch (event.type) {
    case sf::Event::MouseMoved:
        pending.mousePos = ImVec2(static_cast<float>(event.mouseMove.x), static_cast<float>(event.mouseMove.y));
        break;
    case sf::Event::MouseButtonPressed: {
        const int i = buttonIndex(event.mouseButton.button);
        pending.mousePos = ImVec2(static_cast<float>(event.mouseButton.x), static_cast<float>(event.mouseButton.y));
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
            pending.wheel += event.mouseWheelScroll.delta;
        else
            pending.wheelH += event.mouseWheelScroll.delta;
        break;
    case sf::Event::MouseLeft:
        pending.mousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        break;
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased: {
        const int code = event.key.code;
        if (code >= 0 && code < keyCount) {
            keyDown[code] = event.type == sf::Event::KeyPressed;
            if (keyDown[code])
                keyLatched[code] = true;
        }
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
        break;
    default:
        break;
    }
}

void applyInput(ImGuiIO& io, sf::Vector2u size, float dt)
{
    io.DisplaySize = ImVec2(static_cast<float>(size.x), static_cast<float>(size.y));
    io.DeltaTime = dt > 0.0f && dt < 1.0e6f ? dt : 1.0f / 60.0f;
    io.MousePos = pending.mousePos;
    io.MouseWheel = pending.wheel;
    io.MouseWheelH = pending.wheelH;
    pending.wheel = pending.wheelH = 0.0f;
    io.KeyCtrl = modifierHeld(sf::Keyboard::LControl, sf::Keyboard::RControl);
    io.KeyShift = modifierHeld(sf::Keyboard::LShift, sf::Keyboard::RShift);
    io.KeyAlt = modifierHeld(sf::Keyboard::LAlt, sf::Keyboard::RAlt);
    io.KeySuper = modifierHeld(sf::Keyboard::LSystem, sf::Keyboard::RSystem);
    for (int i = 0; i < 3; ++i) {
        io.MouseDown[i] = mouseDown[i] || mouseLatched[i];
        mouseLatched[i] = false;
    }
    static_assert(keyCount <= sizeof(io.KeysDown) / sizeof(io.KeysDown[0]), "ImGui's key table is smaller");
    for (int i = 0; i < keyCount; ++i) {
        io.KeysDown[i] = keyDown[i] || keyLatched[i];
        keyLatched[i] = false;
    }
}

void newFrame(sf::RenderWindow& window, float dt)
{
    if (!active)
        return;
    applyInput(ImGui::GetIO(), window.getSize(), dt);
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
    renderDrawData(ImGui::GetDrawData());
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
    pending = PendingInput{};
}

} // namespace ImGuiSfml
} // namespace orv
