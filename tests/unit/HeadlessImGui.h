#pragma once
// An ImGui context without a window or GL, as the tests drive it: frames run
// and render into draw lists that nothing draws. Made current on
// construction, destroyed with the object.

#include <imgui.h>

namespace testutil {

class HeadlessImGui {
public:
    explicit HeadlessImGui(ImVec2 displaySize = ImVec2(1280.0f, 720.0f))
        : context_(ImGui::CreateContext())
    {
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.DisplaySize = displaySize;
        io.DeltaTime = 1.0f / 60.0f;
        // The font atlas must be built before the first frame.
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    }
    ~HeadlessImGui() { ImGui::DestroyContext(context_); }
    HeadlessImGui(const HeadlessImGui&) = delete;
    HeadlessImGui& operator=(const HeadlessImGui&) = delete;

private:
    ImGuiContext* context_;
};

} // namespace testutil
