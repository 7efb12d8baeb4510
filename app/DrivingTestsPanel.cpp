#include "app/DrivingTestsPanel.h"

#include "vehicle/VehicleLint.h"

#include <imgui.h>

#include <ctime>
#include <map>

namespace {

struct Runs {
    DrivingTestResults last;
    DrivingTestResults previous;
    bool hasPrevious = false;
    double cpuSeconds = 0.0;
};

std::map<std::string, Runs>& runsByVehicle()
{
    static std::map<std::string, Runs>& runs = *new std::map<std::string, Runs>;
    return runs;
}

double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void row(const char* test, const char* unit, const DrivingFigure& now, const DrivingFigure* before, int decimals)
{
    ImGui::TableNextRow();
    ImGui::TableNextColumn();
    ImGui::TextUnformatted(test);
    ImGui::TableNextColumn();
    const std::string value = formatFigure(now, decimals);
    if (now.reached)
        ImGui::Text("%s %s", value.c_str(), unit);
    else
        ImGui::TextDisabled("%s", value.c_str());
    ImGui::TableNextColumn();
    if (before) {
        const std::string change = formatFigureChange(*before, now, decimals);
        ImGui::TextUnformatted(change.empty() && before->reached != now.reached ? "changed" : change.c_str());
    }
}

std::map<std::string, std::vector<std::string>>& lintByVehicle()
{
    static std::map<std::string, std::vector<std::string>>& lines =
        *new std::map<std::string, std::vector<std::string>>;
    return lines;
}

// Findings of the definition as it was when "Lint" was pressed; an edit
// since then does not clear them, as the test figures are not cleared.
void drawLint(const VehicleDef& def)
{
    std::map<std::string, std::vector<std::string>>& lint = lintByVehicle();
    if (ImGui::Button("Lint"))
        lint[def.name] = lintReport(def.name, lintVehicle(def));
    ImGui::SameLine();
    ImGui::TextDisabled("gearbox, top speed, brakes, tracks, limits");
    const auto found = lint.find(def.name);
    if (found == lint.end())
        return;
    for (const std::string& line : found->second)
        ImGui::TextWrapped("%s", line.c_str());
}

} // namespace

void drawDrivingTestsSection(const VehicleDef& def)
{
    if (!ImGui::CollapsingHeader("Tests"))
        return;
    std::map<std::string, Runs>& runs = runsByVehicle();
    if (ImGui::Button("Run Tests")) {
        const auto found = runs.find(def.name);
        Runs next;
        if (found != runs.end()) {
            next.previous = found->second.last;
            next.hasPrevious = true;
        }
        const double start = cpuNow();
        next.last = runDrivingTests(def);
        next.cpuSeconds = cpuNow() - start;
        runs[def.name] = next;
    }
    ImGui::SameLine();
    ImGui::TextDisabled("flat empty ground, scripted keys");
    drawLint(def);
    const auto found = runs.find(def.name);
    if (found == runs.end())
        return;
    const Runs& r = found->second;
    if (ImGui::BeginTable("DrivingTests", 3, ImGuiTableFlags_Borders | ImGuiTableFlags_SizingFixedFit)) {
        ImGui::TableSetupColumn("Test");
        ImGui::TableSetupColumn("Result");
        ImGui::TableSetupColumn("Change");
        ImGui::TableHeadersRow();
        row("0-100 km/h", "s", r.last.zeroTo100, r.hasPrevious ? &r.previous.zeroTo100 : nullptr, zeroTo100Decimals);
        row("Speed after 30 s", "km/h", r.last.speedAfter30, r.hasPrevious ? &r.previous.speedAfter30 : nullptr,
            speedDecimals);
        row("Braking 100-0 km/h", "m", r.last.brakingDistance, r.hasPrevious ? &r.previous.brakingDistance : nullptr,
            distanceDecimals);
        row("Turning circle", "m", r.last.turningCircle, r.hasPrevious ? &r.previous.turningCircle : nullptr,
            distanceDecimals);
        ImGui::EndTable();
    }
    ImGui::TextDisabled("%.0f ms of CPU", r.cpuSeconds * 1000.0);
}
