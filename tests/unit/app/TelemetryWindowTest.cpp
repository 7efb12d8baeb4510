// The Telemetry window draws a full ring of samples for any number of wheels
// a vehicle file may mount without passing ImGui's 16-bit vertex index in any
// draw list (past it ImGui asserts and the program aborts).
#include "../vehicle/VehicleFixture.h"
#include "HeadlessImGui.h"
#include "app/AppState.h"
#include "app/TelemetryWindow.h"

#include <imgui.h>

using vehiclefixture::VehicleTest;

namespace {

// One body of 30 x 60 pixels with `wheels` wheels spread over it.
std::string carWithWheels(int wheels)
{
    std::string text = "[info]\nwheelTypesCount=1\nwheelMountsCount=" + std::to_string(wheels) +
                       "\n[body]\nimageRect=0,0,30,60\nmass=100\n[wheelType0]\nimageRect=32,0,6,12\n";
    for (int i = 0; i < wheels; ++i)
        text += "[wheelMount" + std::to_string(i) + "]\npos=" + std::to_string(-12 + i % 8 * 3) + "," +
                std::to_string(-24 + i / 8 * 6) + "\n";
    return text;
}

} // namespace

TEST_F(VehicleTest, TelemetryChartsStayWithinOneDrawListEach)
{
    resetAppState();
    for (int wheels : {4, 8, 64}) {
        SCOPED_TRACE(std::to_string(wheels) + " wheels");
        vehicle.forgetBodies();
        resetWorld();
        loadMap("Data\\Maps\\flat.map");
        spawn(carWithWheels(wheels));
        ASSERT_EQ(static_cast<int>(vehicle.dynamics.wheels.size()), wheels);
        for (int i = 0; i < telemetryRingSamples; ++i)
            driveMonitor().afterStep(vehicle);
        ASSERT_EQ(driveMonitor().live().at(0).wheelCount, wheels);

        testutil::HeadlessImGui gui;
        int vertices = 0;
        for (int frame = 0; frame < 2; ++frame) {
            ImGui::NewFrame();
            drawTelemetryWindow();
            ImGui::Render();
        }
        const ImDrawData* data = ImGui::GetDrawData();
        for (int i = 0; i < data->CmdListsCount; ++i) {
            EXPECT_LT(data->CmdLists[i]->VtxBuffer.Size, 65536);
            vertices += data->CmdLists[i]->VtxBuffer.Size;
        }
        EXPECT_GT(vertices, wheels * 3 * 100) << "every wheel's lines are drawn";
    }
}
