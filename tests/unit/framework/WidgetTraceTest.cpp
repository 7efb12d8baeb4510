// The widget log lists what a frame drew where the frame drew it: not a
// window's hidden first layout, not what is scrolled out of sight, not the
// popup a menu just opened; menu items under the window holding the menu.
#include "framework/WidgetTrace.h"

#include "HeadlessImGui.h"
#include "TestUtil.h"

#include <imgui.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace orv;

namespace {

class WidgetTraceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gui = std::make_unique<testutil::HeadlessImGui>(ImVec2(800.0f, 600.0f));
        setWidgetLog(dir.path() + "/widgets");
    }
    void TearDown() override
    {
        setWidgetLog("");
        gui.reset();
    }

    // One frame of `draw`, then the log's lines.
    template <typename Draw>
    std::vector<std::string> frame(Draw draw)
    {
        ImGui::NewFrame();
        draw();
        ImGui::Render();
        std::vector<std::string> lines;
        std::istringstream in(testutil::readFile(dir.path() + "/widgets"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    static std::string line(const char* window, const char* label, ImVec2 min, ImVec2 max)
    {
        return std::string(window) + "\t" + label + "\t" + std::to_string(static_cast<int>(min.x)) + " " +
               std::to_string(static_cast<int>(min.y)) + " " + std::to_string(static_cast<int>(max.x - min.x)) +
               " " + std::to_string(static_cast<int>(max.y - min.y));
    }

    testutil::TempDir dir;
    std::unique_ptr<testutil::HeadlessImGui> gui;
};

} // namespace

TEST_F(WidgetTraceTest, ListsAWindowsWidgetsFromItsFirstShownFrame)
{
    std::string go, inner;
    bool ticked = false;
    auto draw = [&] {
        ImGui::SetNextWindowPos(ImVec2(100.0f, 50.0f));
        ImGui::Begin("Panel###panel", nullptr, ImGuiWindowFlags_AlwaysAutoResize);
        ImGui::Button("Go##first", ImVec2(80.0f, 20.0f));
        traceItem("Go##first");
        go = line("Panel", "Go", ImGui::GetItemRectMin(), ImGui::GetItemRectMax());
        ImGui::BeginChild("inside", ImVec2(200.0f, 60.0f), true);
        ImGui::Checkbox("Inner", &ticked);
        traceItem("Inner");
        inner = line("Panel", "Inner", ImGui::GetItemRectMin(), ImGui::GetItemRectMax());
        ImGui::Dummy(ImVec2(10.0f, 200.0f));
        ImGui::Button("Below");
        traceItem("Below"); // scrolled out of the child's sight
        ImGui::EndChild();
        ImGui::End();
    };
    const std::vector<std::string> first = frame(draw);
    EXPECT_EQ(first, std::vector<std::string>({"frame 1"})) << "the window lays out hidden on its first frame";
    const std::vector<std::string> second = frame(draw);
    EXPECT_EQ(second, std::vector<std::string>({"frame 2", go, inner}));
    EXPECT_EQ(go, "Panel\tGo\t108 77 80 20") << "inside the padding, under a 19 pixel title bar";

    const std::vector<std::string> gone = frame([] {});
    EXPECT_EQ(gone, std::vector<std::string>({"frame 3"})) << "a window not drawn lists nothing";
}

TEST_F(WidgetTraceTest, MenuItemsCountAsTheirWindowsAndAnOpenedMenuIsNotListed)
{
    auto draw = [] {
        ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
        ImGui::SetNextWindowSize(ImVec2(300.0f, 200.0f));
        ImGui::Begin("Editor", nullptr, ImGuiWindowFlags_MenuBar);
        if (ImGui::BeginMenuBar()) {
            if (traced(ImGui::BeginMenu("File"), "File")) {
                traced(ImGui::MenuItem("Save"), "Save");
                ImGui::EndMenu();
            }
            ImGui::EndMenuBar();
        }
        ImGui::End();
    };
    frame(draw);
    const std::vector<std::string> closed = frame(draw);
    ASSERT_EQ(closed.size(), 2u);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(closed[1].c_str(), "Editor\tFile\t%d %d %d %d", &x, &y, &w, &h), 4) << closed[1];

    // A click on "File" opens the menu.
    ImGuiIO& io = ImGui::GetIO();
    io.MousePos = ImVec2(static_cast<float>(x + w / 2), static_cast<float>(y + h / 2));
    io.MouseDown[0] = true;
    frame(draw);
    io.MouseDown[0] = false;
    std::vector<std::string> open;
    for (int i = 0; i < 3; ++i)
        open = frame(draw);
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[1].rfind("Editor\tSave\t", 0), 0u) << open[1];
}

TEST(WidgetTrace, VisibleLabels)
{
    const struct {
        const char* label;
        const char* shown;
    } cases[] = {
        {"Exit", "Exit"},
        {"Go##first", "Go"},
        {"Load Music File###filedialog", "Load Music File"},
        {"##musicVolume", "musicVolume"},
        {"##", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(visibleLabel(c.label), c.shown) << c.label;
}
