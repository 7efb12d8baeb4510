#include "framework/gui/MessageBox.h"

#include "framework/Core.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/Log.h"
#include "framework/Signals.h"
#include "framework/WidgetTrace.h"

#include <imgui.h>

#include <SFML/Window/Keyboard.hpp>

#include <cstdio>

namespace orv {

namespace {
bool boxOpen = false;
} // namespace

bool isMessageBoxOpen()
{
    return boxOpen;
}

MessageBoxResult showMessageBox(const std::string& text, const std::string& caption, MessageBoxButtons buttons,
                                MessageBoxIcon icon)
{
    const bool yesNo = buttons == MessageBoxButtons::YesNo;
    const MessageBoxResult yes = yesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
    const MessageBoxResult no = yesNo ? MessageBoxResult::No : MessageBoxResult::Ok;
    Log::write("Message box \"" + caption + "\": " + text);

    if (boxOpen || !isWindowOpen()) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return no;
    }

    ImGuiSfml::start(window());
    boxOpen = true;
    clearPressedKeys();
    const char* mark = icon == MessageBoxIcon::Error ? "(!)" : icon == MessageBoxIcon::Question ? "(?)" : nullptr;
    bool answered = false;
    MessageBoxResult result = no;
    auto answer = [&](MessageBoxResult r) {
        answered = true;
        result = r;
    };
    while (!answered) {
        if (quitSignalled() || !isWindowOpen())
            break;
        beginFrame(sf::Color(24, 24, 28));

        const ImVec2 screen = ImGui::GetIO().DisplaySize;
        ImGui::SetNextWindowPos(ImVec2(screen.x * 0.5f, screen.y * 0.5f), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
        ImGui::SetNextWindowFocus();
        ImGui::Begin((caption + "###messagebox").c_str(), nullptr,
                     ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoMove |
                         ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings);
        if (mark) {
            ImGui::TextColored(icon == MessageBoxIcon::Error ? ImVec4(1, 0.3f, 0.3f, 1) : ImVec4(0.5f, 0.7f, 1, 1),
                               "%s", mark);
            ImGui::SameLine();
        }
        ImGui::PushTextWrapPos(screen.x * 0.6f);
        ImGui::TextUnformatted(text.c_str());
        ImGui::PopTextWrapPos();
        ImGui::Spacing();
        if (yesNo) {
            if (traced(ImGui::Button("Yes", ImVec2(80, 0)), "Yes"))
                answer(yes);
            ImGui::SameLine();
            if (traced(ImGui::Button("No", ImVec2(80, 0)), "No"))
                answer(no);
        } else if (traced(ImGui::Button("OK", ImVec2(80, 0)), "OK")) {
            answer(yes);
        }
        ImGui::End();

        if (wasKeyPressed(sf::Keyboard::Enter, true) || wasKeyPressed(sf::Keyboard::Y, true))
            answer(yes);
        else if (wasKeyPressed(sf::Keyboard::Escape, true) || wasKeyPressed(sf::Keyboard::N, true))
            answer(no);
        display();
    }
    // The answering key must not reach whoever asked.
    clearPressedKeys();
    boxOpen = false;
    return result;
}

} // namespace orv
