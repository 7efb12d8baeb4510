#include "app/TelemetryWindow.h"

#include "app/AppSettings.h"
#include "app/FrameLoop.h"
#include "framework/Log.h"
#include "framework/WidgetTrace.h"
#include "vehicle/RunComparison.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <functional>

namespace {

// The window first opens in the screen's top right corner, clear of the
// tuning editor down the left side, as tall as the screen allows.
constexpr float windowMargin = 20.0f;
const ImVec2 windowSize(500.0f, 680.0f);
constexpr float controlSpacing = 110.0f;
constexpr float controlWidth = 95.0f;

const ImU32 colourA = IM_COL32(90, 170, 255, 255);
const ImU32 colourB = IM_COL32(255, 150, 60, 255);
// Eight colours, used in turn by wheels 1 to 8, 9 to 16 ...
const ImU32 wheelColours[] = {
    IM_COL32(90, 170, 255, 255), IM_COL32(255, 150, 60, 255), IM_COL32(120, 220, 120, 255),
    IM_COL32(230, 90, 90, 255),  IM_COL32(200, 140, 255, 255), IM_COL32(240, 220, 90, 255),
    IM_COL32(90, 220, 220, 255), IM_COL32(200, 200, 200, 255)};
constexpr int wheelColourCount = static_cast<int>(sizeof wheelColours / sizeof wheelColours[0]);

ImU32 wheelColour(int wheel)
{
    return wheelColours[wheel % wheelColourCount];
}

// ImGui indexes a draw list with 16 bits and asserts past 65,535 vertices.
// Every chart draws into a child window, a draw list of its own, and its
// lines share this budget: a thick anti-aliased line costs 4 vertices a
// point. One line gets a point per pixel column; 64 wheels' lines get fewer.
constexpr int chartVertexBudget = 48000;
constexpr int verticesPerPoint = 4;

using Getter = float (*)(const TelemetrySample&, int wheel);

struct Series {
    const std::vector<TelemetrySample>* run;
    Getter get;
    int wheel;
    ImU32 colour;
};

struct State {
    bool abView = false;   ///< show runs A and B instead of the last ten seconds
    int abWheel = 1;       ///< the wheel whose A and B lines are shown, from 1
    char recordingPath[256] = "drive.rec";
    std::vector<TelemetrySample> liveCopy; ///< the ring in order, refilled each frame
    std::vector<ImVec2> points;            ///< polyline scratch, reused
};

State telemetryWindow;
// Watches, records and replays the player's steps; the player's vehicle
// holds a pointer to it, so it outlives every frame.
DriveMonitor playerMonitor;

State& state()
{
    return telemetryWindow;
}

// One chart: a framed box with its lines, the range at the left and the
// label on top. Samples are spread over the box by their position in the run,
// every pixel column gets at most one point.
void drawChart(const char* label, const std::vector<Series>& series, int length, float height)
{
    if (series.empty())
        return;
    float low = 0.0f, high = 0.0f;
    bool any = false;
    for (const Series& s : series)
        for (const TelemetrySample& sample : *s.run) {
            const float v = s.get(sample, s.wheel);
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    if (!any)
        low = high = 0.0f;
    if (high - low < 1e-3f) {
        high += 0.5f;
        low -= 0.5f;
    }
    ImGui::Text("%s  [%.2f .. %.2f]", label, static_cast<double>(low), static_cast<double>(high));
    const float width = std::max(ImGui::GetContentRegionAvail().x, 50.0f);
    ImGui::BeginChild(label, ImVec2(width, height + 4.0f), false,
                      ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse);
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRectFilled(origin, ImVec2(origin.x + width, origin.y + height), IM_COL32(20, 20, 24, 255));
    draw->AddRect(origin, ImVec2(origin.x + width, origin.y + height), IM_COL32(80, 80, 90, 255));
    if (low < 0.0f && high > 0.0f) {
        const float zero = origin.y + height * (high / (high - low));
        draw->AddLine(ImVec2(origin.x, zero), ImVec2(origin.x + width, zero), IM_COL32(70, 70, 80, 255));
    }
    const int span = std::max(length - 1, 1);
    const int budget = chartVertexBudget / (verticesPerPoint * static_cast<int>(series.size()));
    const int most = std::max(2, std::min(static_cast<int>(width), budget));
    std::vector<ImVec2>& points = state().points;
    for (const Series& s : series) {
        const int count = static_cast<int>(s.run->size());
        if (count < 2)
            continue;
        points.clear();
        // Evenly over the run, the last sample always among them.
        const int taken = std::min(count, most);
        for (int k = 0; k < taken; ++k) {
            const int i = static_cast<int>(static_cast<long long>(k) * (count - 1) / (taken - 1));
            const float v = s.get((*s.run)[static_cast<std::size_t>(i)], s.wheel);
            points.push_back(ImVec2(origin.x + width * static_cast<float>(i) / static_cast<float>(span),
                                    origin.y + height * (high - v) / (high - low)));
        }
        draw->AddPolyline(points.data(), static_cast<int>(points.size()), s.colour, 0, 1.5f);
    }
    ImGui::EndChild();
}

float speedOf(const TelemetrySample& s, int) { return s.speedKmh; }
float rpmOf(const TelemetrySample& s, int) { return s.engineRpm; }
float gearOf(const TelemetrySample& s, int) { return static_cast<float>(s.gear - 1); }
float levelOf(const TelemetrySample& s, int) { return s.engineLevel; }
float lateralOf(const TelemetrySample& s, int w)
{
    return w < s.wheelCount ? s.wheels[static_cast<std::size_t>(w)].lateralSpeed : 0.0f;
}
float slipOf(const TelemetrySample& s, int w)
{
    return w < s.wheelCount ? s.wheels[static_cast<std::size_t>(w)].slip : 0.0f;
}
float forceOf(const TelemetrySample& s, int w)
{
    return w < s.wheelCount ? s.wheels[static_cast<std::size_t>(w)].driveForce : 0.0f;
}

struct Chart {
    const char* label;
    Getter get;
    bool perWheel;
};
const Chart charts[] = {
    {"Speed km/h", speedOf, false},        {"Engine RPM", rpmOf, false},
    {"Gear (-1 R, 0 N)", gearOf, false},   {"Engine level", levelOf, false},
    {"Lateral speed m/s", lateralOf, true}, {"Slip", slipOf, true},
    {"Drive force", forceOf, true},
};

void drawLiveCharts(const std::vector<TelemetrySample>& live)
{
    const int wheels = live.empty() ? 0 : live.back().wheelCount;
    for (const Chart& chart : charts) {
        std::vector<Series> series;
        if (chart.perWheel)
            for (int w = 0; w < wheels; ++w)
                series.push_back({&live, chart.get, w, wheelColour(w)});
        else
            series.push_back({&live, chart.get, 0, colourA});
        drawChart(chart.label, series, telemetryRingSamples, chart.perWheel ? 70.0f : 55.0f);
    }
    if (wheels > 0) {
        ImGui::TextUnformatted("Wheels:");
        for (int w = 0; w < wheels; ++w) {
            ImGui::SameLine();
            ImGui::TextColored(ImGui::ColorConvertU32ToFloat4(wheelColour(w)), "%d", w + 1);
        }
    }
}

std::string signedText(float v, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+.*f", decimals, static_cast<double>(v));
    return text;
}

void drawComparison(const DriveMonitor& monitor)
{
    const RunComparison c = compareRuns(monitor.runA(), monitor.runB());
    ImGui::TextColored(ImGui::ColorConvertU32ToFloat4(colourA), "A recorded");
    ImGui::SameLine();
    ImGui::TextColored(ImGui::ColorConvertU32ToFloat4(colourB), "B replayed");
    ImGui::SameLine();
    ImGui::Text("(%s, %d steps)", monitor.recording().vehicleName.c_str(),
                static_cast<int>(monitor.recording().inputs.size()));
    if (ImGui::BeginTable("ab", 4, ImGuiTableFlags_Borders | ImGuiTableFlags_SizingFixedFit)) {
        ImGui::TableSetupColumn("");
        ImGui::TableSetupColumn("A");
        ImGui::TableSetupColumn("B");
        ImGui::TableSetupColumn("B - A");
        ImGui::TableHeadersRow();
        const auto row = [](const char* name, const std::string& a, const std::string& b, const std::string& d) {
            ImGui::TableNextRow();
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(name);
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(a.c_str());
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(b.c_str());
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(d.c_str());
        };
        row("Lap time s (A's distance)", formatFigure(c.lapA, 2), formatFigure(c.lapB, 2),
            formatFigureChange(c.lapA, c.lapB, 2));
        row("Top speed km/h", formatFigure({!monitor.runA().empty(), c.topSpeedA}, 1),
            formatFigure({!monitor.runB().empty(), c.topSpeedB}, 1),
            monitor.runA().empty() || monitor.runB().empty() ? "" : signedText(c.topSpeedB - c.topSpeedA, 1));
        row("Distance m", formatFigure({!monitor.runA().empty(), c.distanceA}, 1),
            formatFigure({!monitor.runB().empty(), c.distanceB}, 1),
            monitor.runA().empty() || monitor.runB().empty() ? "" : signedText(c.distanceB - c.distanceA, 1));
        row("Final position gap m", "", "", monitor.runB().empty() ? "" : formatFigure({true, c.endGap}, 2));
        ImGui::EndTable();
    }
    if (monitor.replayFinished() && monitor.recording().hasEndHash)
        ImGui::TextUnformatted(monitor.replayHash() == monitor.recording().endHash
                                   ? "Replay ended in exactly the recorded state."
                                   : "Replay ended in a different state.");
}

void drawAbCharts(const DriveMonitor& monitor)
{
    const std::vector<TelemetrySample>& a = monitor.runA();
    const std::vector<TelemetrySample>& b = monitor.runB();
    const int length = std::max(static_cast<int>(monitor.recording().inputs.size()), 2);
    int wheels = 0;
    if (!a.empty())
        wheels = a.back().wheelCount;
    if (!b.empty())
        wheels = std::max(wheels, b.back().wheelCount);
    State& s = state();
    if (wheels > 0) {
        s.abWheel = std::clamp(s.abWheel, 1, wheels);
        orv::traced(ImGui::SliderInt("Wheel", &s.abWheel, 1, wheels, "%d", ImGuiSliderFlags_AlwaysClamp), "Wheel");
    }
    const int wheel = std::clamp(s.abWheel - 1, 0, std::max(wheels - 1, 0));
    for (const Chart& chart : charts) {
        if (chart.perWheel && wheels == 0)
            continue;
        const std::vector<Series> series = {{&a, chart.get, wheel, colourA}, {&b, chart.get, wheel, colourB}};
        drawChart(chart.label, series, length, 55.0f);
    }
}

std::string currentMapName()
{
    return frameLoop.mapPath;
}

void drawRunControls(DriveMonitor& monitor)
{
    State& s = state();
    bool recording = monitor.mode() == DriveMonitor::Mode::Recording;
    if (orv::traced(ImGui::Checkbox("Record", &recording), "Record")) {
        if (recording) {
            monitor.startRecording(playerVehicle, currentMapName());
            orv::Log::write("Recording started");
        } else {
            monitor.stopRecording(playerVehicle);
            orv::Log::write("Recording stopped after " + std::to_string(monitor.recording().inputs.size()) +
                            " steps");
        }
    }
    if (ImGui::IsItemHovered())
        ImGui::SetTooltip("Starts a run at rest where the vehicle stands, keeping every step's sample and input");
    // Fixed places on the row, so the buttons do not move with the labels.
    ImGui::SameLine(controlSpacing);
    if (orv::traced(ImGui::Button("Export CSV", ImVec2(controlWidth, 0)), "Export CSV"))
        exportTelemetry();
    ImGui::SameLine(2 * controlSpacing);
    const bool canReplay = monitor.hasRecording() && monitor.mode() != DriveMonitor::Mode::Recording;
    ImGui::BeginDisabled(!canReplay);
    if (monitor.mode() == DriveMonitor::Mode::Replaying) {
        if (orv::traced(ImGui::Button("Stop Replay", ImVec2(controlWidth, 0)), "Stop Replay"))
            monitor.stopReplay();
    } else if (orv::traced(ImGui::Button("Replay", ImVec2(controlWidth, 0)), "Replay")) {
        if (monitor.startReplay(playerVehicle)) {
            s.abView = true;
            orv::Log::write("Replay started");
        }
    }
    ImGui::EndDisabled();
    ImGui::SameLine(3 * controlSpacing);
    orv::traced(ImGui::Checkbox("A/B", &s.abView), "A/B");

    ImGui::SetNextItemWidth(200.0f);
    ImGui::InputText("##path", s.recordingPath, sizeof s.recordingPath);
    ImGui::SameLine();
    ImGui::BeginDisabled(!monitor.hasRecording() || monitor.mode() == DriveMonitor::Mode::Recording);
    if (orv::traced(ImGui::Button("Save Recording"), "Save Recording")) {
        if (saveDriveRecording(s.recordingPath, monitor.recording()))
            orv::Log::info(std::string("Saved recording to ") + s.recordingPath);
    }
    ImGui::EndDisabled();
    ImGui::SameLine();
    ImGui::BeginDisabled(monitor.mode() != DriveMonitor::Mode::Watching);
    if (orv::traced(ImGui::Button("Load Recording"), "Load Recording")) {
        DriveRecording loaded;
        if (loadDriveRecording(s.recordingPath, loaded)) {
            if (loaded.mapPath != currentMapName())
                orv::Log::warning("Recording " + std::string(s.recordingPath) + " was driven on " + loaded.mapPath);
            monitor.setRecording(std::move(loaded));
            s.abView = true;
        }
    }
    ImGui::EndDisabled();

    const char* what = monitor.mode() == DriveMonitor::Mode::Recording   ? "Recording"
                       : monitor.mode() == DriveMonitor::Mode::Replaying ? "Replaying"
                                                                         : "Watching";
    ImGui::Text("%s, step %d", what,
                monitor.mode() == DriveMonitor::Mode::Watching ? static_cast<int>(monitor.runA().size())
                                                               : monitor.runSteps());
}

} // namespace

DriveMonitor& driveMonitor()
{
    return playerMonitor;
}

void resetTelemetryWindow()
{
    telemetryWindow = State();
    playerMonitor = DriveMonitor();
}

void attachDriveMonitor()
{
    playerVehicle.setStepObserver(&driveMonitor());
}

void exportTelemetry()
{
    const DriveMonitor& monitor = driveMonitor();
    std::vector<TelemetrySample> samples = monitor.runA();
    if (samples.empty())
        for (int i = 0; i < monitor.live().size(); ++i)
            samples.push_back(monitor.live().at(i));
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    const std::string name = telemetryCsvName(utc);
    // A failure is logged and shown by the writer.
    if (writeTelemetryCsv(name, samples))
        orv::Log::info("Saved telemetry to " + name);
}

void drawTelemetryWindow()
{
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(ImVec2(viewport->WorkPos.x + viewport->WorkSize.x - windowMargin,
                                   viewport->WorkPos.y + windowMargin),
                            ImGuiCond_FirstUseEver, ImVec2(1.0f, 0.0f));
    ImGui::SetNextWindowSize(
        ImVec2(windowSize.x, std::max(200.0f, std::min(windowSize.y, viewport->WorkSize.y - 2.0f * windowMargin))),
        ImGuiCond_FirstUseEver);
    bool open = true;
    if (!ImGui::Begin("Telemetry", &open)) {
        ImGui::End();
        if (!open)
            appSettings.showTelemetry = false;
        return;
    }
    if (!open) {
        ImGui::End();
        appSettings.showTelemetry = false;
        return;
    }
    DriveMonitor& monitor = driveMonitor();
    drawRunControls(monitor);
    ImGui::Separator();
    if (state().abView && monitor.hasRecording()) {
        drawComparison(monitor);
        drawAbCharts(monitor);
    } else {
        std::vector<TelemetrySample>& live = state().liveCopy;
        live.clear();
        for (int i = 0; i < monitor.live().size(); ++i)
            live.push_back(monitor.live().at(i));
        drawLiveCharts(live);
    }
    ImGui::End();
}
