#include "audio/AudioPanel.h"

#include "audio/Audio.h"
#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/CoreConfig.h"
#include "framework/ImGuiSfml.h"
#include "framework/Keyboard.h"
#include "framework/Layers.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "framework/WidgetTrace.h"
#include "framework/gui/FileDialog.h"
#include "framework/gui/MessageBox.h"

#include <imgui.h>

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr float panelWidth = 660.0f;
constexpr float groupWidth = 630.0f;
constexpr float sliderWidth = 590.0f;
constexpr unsigned statusWidth = 590;
constexpr unsigned statusHeight = 64;

struct PanelState {
    sf::RenderTexture* status = nullptr;
    bool statusReady = false;
    unsigned audioGeneration = 0; ///< the audio session the status belongs to
};

// The status texture is made once and kept for the process: the panel's
// frames run inside the core's, whose context it needs.
PanelState audioPanel;

PanelState& panel()
{
    return audioPanel;
}

sf::Uint32 milliseconds()
{
    static sf::Clock clock;
    return static_cast<sf::Uint32>(clock.getElapsedTime().asMilliseconds());
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void loadMusicFile()
{
    const std::string start = folderOf(coreConfig.musicLoadPath);
    const std::string picked =
        runFileDialog(start.empty() ? "Data\\Music\\" : start, "xm,mod,s3m,it,ogg,wav", "Load Music File");
    if (!picked.empty())
        Audio::playMusic(picked, 0.0f);
}

// The two status lines, drawn into their own small texture.
void drawStatus()
{
    PanelState& p = panel();
    if (!p.status)
        p.status = new sf::RenderTexture;
    // A new audio session (init or close since the last frame) starts the
    // status area afresh.
    if (p.audioGeneration != Audio::generation()) {
        p.audioGeneration = Audio::generation();
        p.statusReady = false;
    }
    if (!p.statusReady)
        p.statusReady = p.status->create(statusWidth, statusHeight);
    if (!p.statusReady)
        return;
    sf::RenderTexture& target = *p.status;
    target.clear(sf::Color(0, 0, 0, 255));
    setRedirect(target);

    sf::SoundStream* music = Audio::music();
    const sf::SoundStream::Status status = music ? music->getStatus() : sf::SoundStream::Stopped;
    const bool playing = status == sf::SoundStream::Playing;
    const std::string time = playing ? formatMusicTime(music->getPlayingOffset().asSeconds()) : std::string("-:--");
    drawText(LayerRedirect, sf::Vector2f(6, 2), sf::Color(0, 255, 0, 255), time + " " + Audio::musicFileName(),
             FontSlot::Standard, 24);

    const int h = static_cast<int>((milliseconds() / 10) % 100);
    if (playing)
        drawText(LayerRedirect, sf::Vector2f(6, 36), sf::Color(255, 255, 255, 255),
                 "Playing" + std::string(static_cast<std::size_t>(playingDots(h)), '.'), FontSlot::Standard, 18);
    else if (status == sf::SoundStream::Paused && h >= 50)
        drawText(LayerRedirect, sf::Vector2f(6, 36), sf::Color(255, 0, 0, 255), "Paused", FontSlot::Standard, 18);
    else if (status == sf::SoundStream::Stopped)
        drawText(LayerRedirect, sf::Vector2f(6, 36), sf::Color(151, 151, 151, 255),
                 "No music loaded, click \"Load Music File\" or press F3", FontSlot::Standard, 18);
    target.display();
    clearRedirect();
}

void groupTitle(const char* title)
{
    // ImGui 1.86 has no SeparatorText: a label and a rule.
    ImGui::TextUnformatted(title);
    ImGui::Separator();
}

} // namespace

std::string formatMusicTime(float seconds)
{
    const int whole = seconds > 0.0f ? static_cast<int>(seconds) : 0;
    return format("%d:%02d", whole / 60, whole % 60);
}

float skipBackOffset(float seconds)
{
    const float back = seconds - 5.0f;
    return back > 0.0f ? back : 0.0f;
}

int playingDots(int hundredths)
{
    return std::clamp(hundredths, 0, 99) / 12;
}

bool updateAudioPanel()
{
    bool close = false;
    if (!Audio::isInitialised() || !ImGuiSfml::isActive()) {
        close = wasKeyPressed(sf::Keyboard::Escape, true) || wasKeyPressed(sf::Keyboard::F5, true);
        return close;
    }
    sf::SoundStream* music = Audio::music();

    const ImVec2 screen = ImGui::GetIO().DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(std::floor(screen.x * 0.5f), std::floor(screen.y * 0.5f)), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSize(ImVec2(panelWidth, 0.0f), ImGuiCond_Always);
    ImGui::SetNextWindowFocus();
    ImGui::Begin("Audio Panel", nullptr,
                 ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings);

    ImGui::BeginChild("Sound Effects", ImVec2(groupWidth, 120.0f), true);
    groupTitle("Sound Effects");
    ImGui::TextUnformatted("Sound Volume");
    ImGui::PushItemWidth(sliderWidth);
    ImGui::SliderInt("##soundVolume", &coreConfig.soundVolume, 0, 100, "%d", ImGuiSliderFlags_AlwaysClamp);
    traceItem("Sound Volume");
    ImGui::PopItemWidth();
    ImGui::EndChild();

    ImGui::BeginChild("Music", ImVec2(groupWidth, 260.0f), true);
    groupTitle("Music");
    ImGui::TextUnformatted("Music Volume");
    ImGui::PushItemWidth(sliderWidth);
    ImGui::SliderInt("##musicVolume", &coreConfig.musicVolume, 0, 100, "%d", ImGuiSliderFlags_AlwaysClamp);
    traceItem("Music Volume");
    ImGui::PopItemWidth();
    ImGui::Spacing();
    const ImVec2 button(140.0f, 0.0f);
    if (traced(ImGui::Button("Play/Restart", button), "Play/Restart") && music) {
        if (music->getStatus() != sf::SoundStream::Paused)
            music->stop();
        music->play();
    }
    ImGui::SameLine();
    if (traced(ImGui::Button("Skip Backward", button), "Skip Backward") && music)
        music->setPlayingOffset(sf::seconds(skipBackOffset(music->getPlayingOffset().asSeconds())));
    ImGui::SameLine();
    if (traced(ImGui::Button("Skip Forward", button), "Skip Forward") && music)
        music->setPlayingOffset(music->getPlayingOffset() + sf::seconds(5.0f));
    ImGui::SameLine();
    if (traced(ImGui::Button("Pause/Resume", button), "Pause/Resume"))
        Audio::togglePause();
    if (traced(ImGui::Button("Stop", button), "Stop"))
        Audio::stopMusic();
    ImGui::SameLine();
    bool load = traced(ImGui::Button("Load Music File", button), "Load Music File");
    ImGui::Spacing();
    drawStatus();
    if (panel().statusReady) {
        // Render textures are upside down for plain GL: flip the v range.
        ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(
                         panel().status->getTexture().getNativeHandle())),
                     ImVec2(statusWidth, statusHeight), ImVec2(0, 1), ImVec2(1, 0));
    }
    ImGui::EndChild();

    bool defaults = traced(ImGui::Button("Defaults", ImVec2(120.0f, 0.0f)), "Defaults");
    ImGui::SameLine(panelWidth - 136.0f);
    if (traced(ImGui::Button("Done", ImVec2(120.0f, 0.0f)), "Done"))
        close = true;
    ImGui::End();

    // The hint names F3, so F3 does what it says.
    if (wasKeyPressed(sf::Keyboard::F3, true))
        load = true;
    if (wasKeyPressed(sf::Keyboard::Escape, true) || wasKeyPressed(sf::Keyboard::F5, true))
        close = true;

    if (load)
        loadMusicFile();
    if (defaults &&
        showMessageBox("Are you sure that you want to set default sound and music volume levels?", "Confirm",
                       MessageBoxButtons::YesNo, MessageBoxIcon::Question) == MessageBoxResult::Yes) {
        coreConfig.globalVolume = 100;
        coreConfig.soundVolume = defaultSoundVolume;
        coreConfig.musicVolume = defaultMusicVolume;
    }
    return close;
}

void runAudioPanel()
{
    ImGuiSfml::start(window());
    clearPressedKeys();
    for (;;) {
        if (quitSignalled() || !isWindowOpen())
            break;
        beginFrame(sf::Color(16, 16, 20));
        const bool close = updateAudioPanel();
        display();
        if (close)
            break;
    }
    clearPressedKeys();
}

} // namespace orv
