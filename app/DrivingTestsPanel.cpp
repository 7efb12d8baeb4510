#include "app/DrivingTestsPanel.h"

#include "framework/WidgetTrace.h"
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

// What the section shows, by definition name: each vehicle's last two runs
// and its lint findings.
struct PanelState {
    std::map<std::string, Runs> runs;
    std::map<std::string, std::vector<std::string>> lint;
};

PanelState testsPanel;

std::map<std::string, Runs>& runsByVehicle()
{
    return testsPanel.runs;
}

double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void row(const DrivingTestLine& now, const DrivingTestLine* before)
{
    ImGui::TableNextRow();
    ImGui::TableNextColumn();
    // The conditions make the names long: they wrap rather than widen the editor.
    ImGui::TextWrapped("%s", now.test.c_str());
    ImGui::TableNextColumn();
    if (now.figure.reached)
        ImGui::TextUnformatted(now.result.c_str());
    else
        ImGui::TextDisabled("%s", now.result.c_str());
    ImGui::TableNextColumn();
    // A change of conditions (another start speed, another target) makes the
    // figures incomparable: say so rather than subtract them.
    if (before) {
        std::string change = before->test == now.test ? formatFigureChange(before->figure, now.figure, now.decimals)
                                                      : std::string("other test");
        if (change.empty() && before->figure.reached != now.figure.reached)
            change = "changed";
        ImGui::TextUnformatted(change.c_str());
    }
}

std::map<std::string, std::vector<std::string>>& lintByVehicle()
{
    return testsPanel.lint;
}

// Findings of the definition as it was when "Lint" was pressed; an edit
// since then does not clear them, as the test figures are not cleared.
void drawLint(const VehicleDef& def)
{
    std::map<std::string, std::vector<std::string>>& lint = lintByVehicle();
    if (orv::traced(ImGui::Button("Lint"), "Lint"))
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
    if (!orv::traced(ImGui::CollapsingHeader("Tests"), "Tests"))
        return;
    std::map<std::string, Runs>& runs = runsByVehicle();
    if (orv::traced(ImGui::Button("Run Tests"), "Run Tests")) {
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
        ImGui::TableSetupColumn("Test", ImGuiTableColumnFlags_WidthStretch);
        ImGui::TableSetupColumn("Result");
        ImGui::TableSetupColumn("Change");
        ImGui::TableHeadersRow();
        const std::vector<DrivingTestLine> now = drivingTestLines(r.last);
        const std::vector<DrivingTestLine> before =
            r.hasPrevious ? drivingTestLines(r.previous) : std::vector<DrivingTestLine>();
        for (std::size_t i = 0; i < now.size(); ++i)
            row(now[i], i < before.size() ? &before[i] : nullptr);
        ImGui::EndTable();
    }
    ImGui::TextDisabled("%.0f ms of CPU", r.cpuSeconds * 1000.0);
}

void resetDrivingTestsSection()
{
    testsPanel = PanelState();
}
