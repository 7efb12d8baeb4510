#include "framework/gui/FileDialog.h"

#include "framework/Core.h"
#include "framework/DirectoryListing.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"
#include "framework/WidgetTrace.h"

#include <imgui.h>

#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <vector>

namespace orv {

namespace {

struct Item {
    std::string name;
    bool isFolder;
};

std::vector<Item> listFolder(const std::string& folder, const std::string& extension)
{
    std::vector<Item> items{{"..", true}};
    DirectoryListing listing;
    for (const std::string& ext : splitString(extension, ',', true))
        listing.addExtension(ext);
    listing.scan(folder.empty() ? ".\\" : folder, DirectoryListing::FilesAndFolders, false);
    // Folders first, then files, each in listing order.
    for (const DirectoryEntry& e : listing.entries())
        if (e.isFolder)
            items.push_back({e.name, true});
    for (const DirectoryEntry& e : listing.entries())
        if (!e.isFolder)
            items.push_back({e.name, false});
    return items;
}

std::string withSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/')
        return folder;
    return folder + "\\";
}

} // namespace

std::string parentFolder(const std::string& folder)
{
    std::string f = withSeparator(folder);
    if (f.empty() || f == ".\\" || f == "./")
        return "..\\";
    const std::string trimmed = f.substr(0, f.size() - 1);
    const std::size_t slash = trimmed.find_last_of("/\\");
    const std::string last = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (last == "..")
        return f + "..\\";
    return slash == std::string::npos ? std::string() : trimmed.substr(0, slash + 1);
}

std::string runFileDialog(const std::string& startFolder, const std::string& extension, const std::string& title)
{
    if (!isWindowOpen())
        return std::string();
    ImGuiSfml::start(window());
    clearPressedKeys();
    clearTypedText();

    std::string folder = withSeparator(startFolder);
    std::vector<Item> items = listFolder(folder, extension);
    int selected = items.size() > 1 ? 1 : 0;
    std::string picked;
    bool done = false;

    while (!done) {
        if (quitSignalled() || !isWindowOpen())
            break;
        beginFrame(sf::Color(24, 24, 28));
        bool activate = false;

        const ImVec2 screen = ImGui::GetIO().DisplaySize;
        ImGui::SetNextWindowPos(ImVec2(screen.x * 0.5f, screen.y * 0.5f), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
        ImGui::SetNextWindowSize(ImVec2(std::min(560.f, screen.x - 20.f), std::min(420.f, screen.y - 20.f)));
        ImGui::SetNextWindowFocus();
        ImGui::Begin((title + "###filedialog").c_str(), nullptr,
                     ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoMove |
                         ImGuiWindowFlags_NoSavedSettings);
        ImGui::TextUnformatted(folder.empty() ? "." : folder.c_str());
        ImGui::BeginChild("files", ImVec2(0, -ImGui::GetFrameHeightWithSpacing()), true);
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            const std::string label = items[i].isFolder ? "[" + items[i].name + "]" : items[i].name;
            if (traced(ImGui::Selectable(label.c_str(), selected == i, ImGuiSelectableFlags_AllowDoubleClick),
                       label.c_str())) {
                selected = i;
                if (ImGui::IsMouseDoubleClicked(0))
                    activate = true;
            }
        }
        ImGui::EndChild();
        if (traced(ImGui::Button("Open", ImVec2(100, 0)), "Open"))
            activate = true;
        ImGui::SameLine();
        if (traced(ImGui::Button("Cancel", ImVec2(100, 0)), "Cancel"))
            done = true;
        ImGui::End();

        if (wasKeyPressed(sf::Keyboard::Escape, true))
            done = true;
        if (wasKeyPressed(sf::Keyboard::Down, true))
            selected = std::min(selected + 1, static_cast<int>(items.size()) - 1);
        if (wasKeyPressed(sf::Keyboard::Up, true))
            selected = std::max(selected - 1, 0);
        if (wasKeyPressed(sf::Keyboard::Enter, true))
            activate = true;

        if (activate && !done && selected >= 0 && selected < static_cast<int>(items.size())) {
            const Item item = items[selected];
            if (item.name == "..") {
                folder = parentFolder(folder);
            } else if (item.isFolder) {
                folder += item.name + "\\";
            } else {
                picked = folder + item.name;
                done = true;
            }
            if (!done) {
                items = listFolder(folder, extension);
                selected = items.size() > 1 ? 1 : 0;
            }
        }
        display();
    }
    clearPressedKeys();
    clearTypedText();
    return picked;
}

} // namespace orv
