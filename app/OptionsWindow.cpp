#include "app/OptionsWindow.h"

#include "app/AppSettings.h"
#include "app/FrameLoop.h"
#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"
#include "framework/StringUtil.h"
#include "framework/WidgetTrace.h"
#include "vehicle/VehicleDef.h"
#include "world/ImageSets.h"
#include "world/TerrainTextures.h"

#include <imgui.h>

#include <algorithm>

namespace {

constexpr float buttonWidth = 175.0f;
constexpr float buttonHeight = 25.0f;

// ImGui 1.86 has no separator with a label: a line of text under a rule.
void separatorHeading(const char* label)
{
    ImGui::Spacing();
    ImGui::Separator();
    ImGui::TextUnformatted(label);
}

void centredText(const std::string& text)
{
    // Never left of the padding: the widest line sets the window's width, and
    // an auto-sized window would otherwise settle with it cut at the border.
    const float width = ImGui::CalcTextSize(text.c_str()).x;
    ImGui::SetCursorPosX(std::max((ImGui::GetWindowWidth() - width) * 0.5f, ImGui::GetStyle().WindowPadding.x));
    ImGui::TextUnformatted(text.c_str());
}

bool centredButton(const char* label)
{
    ImGui::SetCursorPosX((ImGui::GetWindowWidth() - buttonWidth) * 0.5f);
    return orv::traced(ImGui::Button(label, ImVec2(buttonWidth, buttonHeight)), label);
}

bool checkbox(const char* label, bool& value)
{
    return orv::traced(ImGui::Checkbox(label, &value), label);
}

void buttonGap()
{
    ImGui::Dummy(ImVec2(0.0f, ImGui::GetFontSize() * 0.5f));
}

void renderingGroup()
{
    separatorHeading("Rendering");
    int position = static_cast<int>(appSettings.renderScale * 2.0f - 1.0f);
    const std::string shown = orv::format("%.1fx", static_cast<double>(appSettings.renderScale));
    if (orv::traced(ImGui::SliderInt("Scale", &position, 0, 7, shown.c_str(), ImGuiSliderFlags_AlwaysClamp), "Scale"))
        setRenderScale(static_cast<float>(position + 1) * 0.5f);
    bool fps = orv::coreState.showFps;
    if (checkbox("FPS Display", fps)) {
        orv::coreState.showFps = fps;
        orv::coreConfig.displayFPS = fps;
    }
    bool vsync = orv::coreState.currentVsync;
    if (checkbox("VSync", vsync))
        orv::setVerticalSync(vsync);
    if (checkbox("Smooth Terrain", appSettings.smoothTerrain))
        setTerrainSmoothing(appSettings.smoothTerrain);
    if (checkbox("Smooth Objects", appSettings.smoothObjects))
        setImageSetSmoothing(appSettings.smoothObjects);
}

void carCombo()
{
    const int current = playerVehicle.kind();
    const char* preview = current >= 0 && current < static_cast<int>(vehicleDefs.size())
                              ? vehicleDefs[static_cast<std::size_t>(current)].name.c_str()
                              : "";
    if (!orv::traced(ImGui::BeginCombo("Car", preview), "Car"))
        return;
    for (std::size_t i = 0; i < vehicleDefs.size(); ++i) {
        const bool selected = static_cast<int>(i) == current;
        ImGui::PushID(static_cast<int>(i));
        if (ImGui::Selectable(vehicleDefs[i].name.c_str(), selected))
            playerVehicle.setKind(static_cast<int>(i));
        if (selected)
            ImGui::SetItemDefaultFocus();
        ImGui::PopID();
    }
    ImGui::EndCombo();
}

} // namespace

void drawOptionsWindow()
{
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(viewport->GetCenter(), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    // In the smallest windows (640 x 480) the window is taller than the
    // screen: it stays on screen and its content scrolls with the wheel, so
    // "Exit" can always be reached.
    ImGui::SetNextWindowSizeConstraints(ImVec2(0.0f, 0.0f), viewport->WorkSize);
    ImGui::Begin("Options", nullptr,
                 ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoNav);
    centredText(orv::getTitleWithVersion());

    renderingGroup();

    separatorHeading("Game");
    checkbox("Vehicle Tracks", appSettings.tracksParticles);
    checkbox("Vehicle Exhausts", appSettings.exhaustParticles);
    checkbox("Ambient Wildlife", appSettings.ambient);
    carCombo();

    separatorHeading("UI");
    checkbox("Show Help (F1)", appSettings.showHelp);
    checkbox("Show Tuning Editor (E)", appSettings.showTuningEditor);
    checkbox("Show Telemetry (T)", appSettings.showTelemetry);
    checkbox("Force Overlay", appSettings.forceOverlay);

    ImGui::Separator();
    buttonGap();
    if (centredButton("Reset to Defaults"))
        resetSettings();
    buttonGap();
    ImGui::Separator();
    buttonGap();
    if (centredButton("Resume"))
        frameLoop.menuVisible = false;
    buttonGap();
    if (centredButton("Audio Panel")) {
        // The panel runs frames of its own: it opens once this window is done.
        frameLoop.audioPanelRequested = true;
        frameLoop.menuVisible = false;
    }
    buttonGap();
    ImGui::Separator();
    buttonGap();
    if (centredButton("Exit"))
        frameLoop.quitRequested = true;
    buttonGap();
    centredText(orv::appInfo.legalNotice);
    ImGui::End();
}
