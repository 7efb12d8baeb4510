// The tuning editor shows what the vehicle field table describes: every field
// under its label, once per entry of its list, and an edit made there
// reaches the definition and the running vehicle. Found through the widget
// log, as the end-to-end tests find them.
#include "../vehicle/VehicleFixture.h"
#include "HeadlessImGui.h"
#include "app/FrameLoop.h"
#include "app/TuningEditor.h"
#include "framework/WidgetTrace.h"
#include "vehicle/VehicleFields.h"

#include <imgui.h>

#include <map>
#include <memory>
#include <sstream>

using vehiclefixture::VehicleTest;

namespace {

// Two wheel types, three mounts, three forward gears.
const char* carText = "[info]\nwheelTypesCount=2\nwheelMountsCount=3\ngearsCount=3\n"
                      "[body]\nimageRect=0,0,30,60\nmass=100\n"
                      "[wheelType0]\nimageRect=32,0,6,12\n[wheelType1]\nimageRect=40,0,6,12\n"
                      "[wheelMount0]\npos=-10,-20\n[wheelMount1]\npos=10,-20\n[wheelMount2]\npos=0,20\n"
                      "[gear0]\nratio=3\n[gear1]\nratio=2\n[gear2]\nratio=1\n";

struct Rect {
    float x, y, w, h;
};

class TuningEditorWidgets : public VehicleTest {
protected:
    void SetUp() override
    {
        VehicleTest::SetUp();
        writeCar("car", carText);
        loadVehicleDefs();
        playerVehicle.spawn(*physicsWorld, 0, true, currentMap.startPosition);
        // Tall enough for every field at once.
        gui = std::make_unique<testutil::HeadlessImGui>(ImVec2(1280.0f, 20000.0f));
        orv::setWidgetLog(dir.path() + "/widgets");
    }
    void TearDown() override
    {
        orv::setWidgetLog("");
        gui.reset();
        playerVehicle.forgetBodies();
        VehicleTest::TearDown();
    }

    // One frame of the editor; the widgets it drew, by label.
    std::multimap<std::string, Rect> frame()
    {
        ImGui::NewFrame();
        drawTuningEditor();
        ImGui::SetWindowSize("Tuning Editor", ImVec2(460.0f, 19000.0f));
        ImGui::Render();
        std::multimap<std::string, Rect> widgets;
        std::istringstream in(testutil::readFile(dir.path() + "/widgets"));
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::string window, label;
            Rect r{};
            if (std::getline(fields, window, '\t') && std::getline(fields, label, '\t') &&
                (fields >> r.x >> r.y >> r.w >> r.h))
                widgets.emplace(label, r);
        }
        return widgets;
    }

    // Clicks the widget `label` at `fx` of its width, as a person would.
    std::multimap<std::string, Rect> click(const std::string& label, float fx = 0.5f)
    {
        std::multimap<std::string, Rect> widgets = frame();
        const auto found = widgets.find(label);
        EXPECT_NE(found, widgets.end()) << label;
        if (found == widgets.end())
            return widgets;
        ImGuiIO& io = ImGui::GetIO();
        io.MousePos = ImVec2(found->second.x + found->second.w * fx, found->second.y + found->second.h * 0.5f);
        io.MouseDown[0] = true;
        frame();
        io.MouseDown[0] = false;
        frame();
        return frame();
    }

    std::unique_ptr<testutil::HeadlessImGui> gui;
};

} // namespace

TEST_F(TuningEditorWidgets, ShowsEveryFieldOfTheTableOncePerEntry)
{
    frame();
    for (const char* header : {"Body", "Sound", "Wheel Types", "Wheel Mounts", "Gears"})
        click(header);
    const std::multimap<std::string, Rect> widgets = click("Full Speed Steer Curve");

    const VehicleDef& def = vehicleDefs[0];
    std::map<std::string, std::size_t> expected;
    for (const VehicleField& field : vehicleFields())
        expected[editorLabel(field)] += fieldEntries(field, def);
    ASSERT_EQ(def.wheelMounts.size(), 3u);
    ASSERT_EQ(expected["Ratio"], 3u) << "the forward gears";
    for (const auto& [label, count] : expected)
        EXPECT_EQ(widgets.count(label), count) << label;
    EXPECT_EQ(widgets.count("1.0"), 1u) << "the steering curve's last point";
}

TEST_F(TuningEditorWidgets, AnEditReachesTheDefinitionAndTheRunningVehicle)
{
    frame();
    click("Body");
    ASSERT_LT(vehicleDefs[0].linearDamping, 3.0f);
    // The middle of the widget is on the slider (its label is shorter than
    // it), past the middle of the 0 to 10 range.
    click("Linear Damping");
    EXPECT_GT(vehicleDefs[0].linearDamping, 5.0f);
    EXPECT_FLOAT_EQ(playerVehicle.body()->GetLinearDamping(), vehicleDefs[0].linearDamping);
}
