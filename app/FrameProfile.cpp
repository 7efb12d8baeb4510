#include "app/FrameProfile.h"

#include "framework/Core.h"
#include "framework/Log.h"
#include "framework/StringUtil.h"
#include "render/Camera.h"
#include "render/DrawSubmit.h"
#include "render/SmokePuffs.h"
#include "render/TrackMarks.h"
#include "render/Wildlife.h"
#include "world/TerrainTextures.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int maxSections = 8;

struct Profile {
    int frames = 0;
    double threadStart = 0.0, processStart = 0.0;
    std::vector<double> thread, process; // seconds of CPU per frame
    std::vector<double> submit;          // of which in the world's draw calls
    std::vector<double> wall;            // seconds from a frame's start to its showing
    std::vector<double> floor;           // the same for floor frames
    std::chrono::steady_clock::time_point wallStart;
    const char* sectionNames[maxSections] = {};
    std::vector<double> sections[maxSections];
    int section = -1;
    double sectionStart = 0.0;
};

Profile frameProfile;

Profile& profile()
{
    return frameProfile;
}

double cpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t i = std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())));
    return values[i];
}

} // namespace

bool frameProfileRequested()
{
    static const int frames = [] {
        const char* text = std::getenv("TARNWICK_FRAME_PROFILE");
        return text ? std::max(0, std::atoi(text)) : 0;
    }();
    if (profile().frames == 0 && frames > 0) {
        profile().frames = frames;
        profile().thread.reserve(static_cast<std::size_t>(frames));
        profile().process.reserve(static_cast<std::size_t>(frames));
    }
    return frames > 0;
}

void fillEffectsForProfile()
{
    const sf::FloatRect view = visibleWorldRect();
    TextureMaterial ground;
    ground.trackAlpha = 4.0f; // lives far longer than the run
    ground.trackColour = sf::Color(60, 50, 40);
    for (std::size_t i = 0; trackMarks.size() < maxTrackMarks; ++i)
        layTrackMark(sf::Vector2f(view.left + static_cast<float>(i * 7 % 613) / 613.0f * view.width,
                                  view.top + static_cast<float>(i * 13 % 419) / 419.0f * view.height),
                     static_cast<float>(i % 360), 5.0f, ground, 1, nullptr);
    for (std::size_t i = 0; smokePuffs.size() < maxSmokePuffs; ++i)
        addSmokePuff(sf::Vector2f(view.left + static_cast<float>(i % 97) / 97.0f * view.width, view.top + 40.0f),
                     sf::Vector2f(), sf::Vector2f(4.0f, 4.0f), sf::Color(110, 110, 110), 0.0f, 0.01f, 0.3f, nullptr);
    for (int i = 0; animals.size() < maxAnimals; ++i)
        spawnAnimal(sf::Vector2f(view.left + static_cast<float>(i % 89) / 89.0f * view.width,
                                 view.top + static_cast<float>(i % 53) / 53.0f * view.height),
                    (i % 3 == 0) ? 5 : 0);
    for (std::size_t i = 0; i < animals.size(); ++i) {
        animals[i].life = 1.0e6f;
        animals[i].speed = 0.0f;
    }
}

void measureFrameFloor()
{
    Profile& p = profile();
    if (p.frames == 0)
        return;
    // One screen-sized quad of a floor texture (or of nothing, without one):
    // what no frame of the program can undercut in this window.
    sf::Texture blank;
    const sf::Texture* texture = &blank;
    if (!terrainTextures.empty() && terrainTextures.front()->texture)
        texture = terrainTextures.front()->texture.get();
    else
        blank.create(64, 64);
    sf::RenderWindow& window = orv::window();
    const sf::Vector2f view = window.getView().getSize();
    sf::Sprite quad(*texture, sf::IntRect(0, 0, static_cast<int>(view.x), static_cast<int>(view.y)));
    quad.setPosition(window.getView().getCenter() - view * 0.5f);
    constexpr int warmUp = 5;
    for (int i = 0; i < p.frames + warmUp; ++i) {
        const auto start = std::chrono::steady_clock::now();
        window.clear(sf::Color::Black);
        window.draw(quad);
        window.display();
        if (i >= warmUp)
            p.floor.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

void frameProfileBegin()
{
    profile().wallStart = std::chrono::steady_clock::now();
    profile().threadStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    profile().processStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    profile().section = -1;
    drawSubmitStats.counting = true;
    drawSubmitStats.seconds = 0.0;
}

void frameProfileSection(const char* name)
{
    Profile& p = profile();
    if (p.frames == 0)
        return;
    const double now = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    if (p.section >= 0 && p.section < maxSections)
        p.sections[p.section].push_back(now - p.sectionStart);
    ++p.section;
    if (p.section < maxSections)
        p.sectionNames[p.section] = name;
    p.sectionStart = now;
}

bool frameProfileEnd()
{
    Profile& p = profile();
    frameProfileSection(nullptr);
    p.thread.push_back(cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - p.threadStart);
    p.submit.push_back(drawSubmitStats.seconds);
    p.process.push_back(cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - p.processStart);
    p.wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - p.wallStart).count());
    if (static_cast<int>(p.thread.size()) < p.frames)
        return false;
    // The main thread is the program's own work plus the driver's work in the
    // world's draw calls (the software rasteriser transforms vertices on the
    // calling thread); the rest of the process's CPU is its worker threads.
    std::vector<double> raster(p.thread.size()), own(p.thread.size());
    for (std::size_t i = 0; i < raster.size(); ++i) {
        raster[i] = std::max(0.0, p.process[i] - p.thread[i]) + p.submit[i];
        own[i] = std::max(0.0, p.thread[i] - p.submit[i]);
    }
    const std::string report = orv::format(
        "frames=%d\nprogram_ms_p50=%.3f\nprogram_ms_p95=%.3f\nmain_thread_ms_p50=%.3f\nmain_thread_ms_p95=%.3f\n"
        "main_thread_ms_max=%.3f\nrasteriser_ms_p50=%.3f\nrasteriser_ms_p95=%.3f\nmarks=%zu\npuffs=%zu\n"
        "animals=%zu\n",
        static_cast<int>(p.thread.size()), percentile(own, 0.5) * 1e3, percentile(own, 0.95) * 1e3,
        percentile(p.thread, 0.5) * 1e3, percentile(p.thread, 0.95) * 1e3, percentile(p.thread, 1.0) * 1e3,
        percentile(raster, 0.5) * 1e3, percentile(raster, 0.95) * 1e3,
        trackMarks.size(), smokePuffs.size(), animals.size());
    // Wall time includes waiting for the rasteriser: the frame is shown
    // only once it is drawn.
    const double wall50 = percentile(p.wall, 0.5), floor50 = percentile(p.floor, 0.5);
    const std::string wall = orv::format(
        "wall_ms_p50=%.3f\nwall_ms_p95=%.3f\nfps_p50=%.1f\nfloor_ms_p50=%.3f\nfloor_ms_p95=%.3f\nfloor_fps_p50=%.1f\n"
        "ratio_to_floor_p50=%.2f\n",
        wall50 * 1e3, percentile(p.wall, 0.95) * 1e3, wall50 > 0.0 ? 1.0 / wall50 : 0.0, floor50 * 1e3,
        percentile(p.floor, 0.95) * 1e3, floor50 > 0.0 ? 1.0 / floor50 : 0.0, floor50 > 0.0 ? wall50 / floor50 : 0.0);
    std::string sections;
    for (int i = 0; i < maxSections && p.sectionNames[i]; ++i)
        sections += orv::format("section_%s_ms_p50=%.3f\nsection_%s_ms_p95=%.3f\n", p.sectionNames[i],
                                percentile(p.sections[i], 0.5) * 1e3, p.sectionNames[i],
                                percentile(p.sections[i], 0.95) * 1e3);
    if (std::FILE* f = std::fopen("frame_profile.txt", "w")) {
        std::fputs(report.c_str(), f);
        std::fputs(wall.c_str(), f);
        std::fputs(sections.c_str(), f);
        std::fclose(f);
    }
    orv::Log::info("Frame profile written to frame_profile.txt");
    return true;
}
