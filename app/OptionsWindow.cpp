#include "app/OptionsWindow.h"

#include "app/FrameLoop.h"
#include "framework/AppInfo.h"

#include <imgui.h>

void drawOptionsWindow()
{
    // A fixed place and size: the window is part of the screen layout, and
    // the end-to-end tests click its buttons.
    ImGui::SetNextWindowPos(ImVec2(20, 20), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(320, 0), ImGuiCond_Always);
    ImGui::Begin("Options", &frameLoop.menuVisible,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings);
    if (ImGui::Button("Exit", ImVec2(-1, 0)))
        frameLoop.quitRequested = true;
    ImGui::Separator();
    ImGui::TextUnformatted(orv::getTitleWithVersion().c_str());
    ImGui::TextWrapped("%s", orv::appInfo.legalNotice.c_str());
    ImGui::End();
}
