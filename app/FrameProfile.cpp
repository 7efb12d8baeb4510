#include "app/FrameProfile.h"

#include "app/FrameLoop.h"
#include "framework/Core.h"
#include "framework/Log.h"
#include "framework/StringUtil.h"
#include "render/Camera.h"
#include "render/DrawSubmit.h"
#include "render/SmokePuffs.h"
#include "render/TrackMarks.h"
#include "render/Wildlife.h"
#include "vehicle/DrivingControls.h"
#include "vehicle/VehicleDynamics.h"
#include "world/TerrainTextures.h"
#include "world/Units.h"

#include <box2d/b2_body.h>

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int maxSections = 8;

enum class Scenario { stand, drive, effects };

struct Profile {
    int frames = 0;
    Scenario scenario = Scenario::effects;
    float drivenMetres = 0.0f;   // by the scripted drive
    int waypointsPassed = 0;
    double threadStart = 0.0, processStart = 0.0;
    std::vector<double> thread, process; // seconds of CPU per frame
    std::vector<double> submit;          // of which in the world's draw calls
    std::vector<double> wall;            // seconds from a frame's start to its showing
    std::vector<double> floor;           // the same for floor frames
    std::chrono::steady_clock::time_point wallStart;
    std::chrono::steady_clock::time_point runStart, floorStart; // first frame's start
    double runSeconds = 0.0, floorSeconds = 0.0;                // first start to last showing
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

const char* scenarioName(Scenario s)
{
    return s == Scenario::stand ? "stand" : (s == Scenario::drive ? "drive" : "effects");
}

// The default map's road loop, clockwise from its north-west corner (world
// pixels): the start stands on the western straight facing north, so the
// drive heads for the first of these and goes round.
constexpr float roadLoop[][2] = {{420, 1330}, {1700, 1250}, {2700, 1330}, {3640, 1280}, {3700, 2150},
                                 {3500, 2780}, {2300, 2830}, {1300, 2800}, {480, 2700},  {420, 2200}};
constexpr int roadLoopPoints = static_cast<int>(sizeof roadLoop / sizeof roadLoop[0]);
// Close enough to a corner to aim at the next one; the speed gets the drive
// round the loop once in about 1,300 frames (22 s of driving), halved while
// the road turns away sharply so that it stays on the road.
constexpr float waypointReachPixels = 260.0f;
constexpr float cruiseMetresPerSecond = 40.0f;
constexpr float steerDeadbandRadians = 0.04f;
constexpr float steerLeadSeconds = 0.35f;

// Throttle and steering from where the player is: the same keys for the same
// position, so a run with fixed frame steps is the same drive every time.
class ScriptedDrive : public KeySource {
public:
    bool hasFocus() const override { return true; }
    bool isDown(sf::Keyboard::Key key) const override
    {
        const b2Body* body = playerVehicle.body();
        if (!body)
            return false;
        const Profile& p = profile();
        const float* target = roadLoop[p.waypointsPassed % roadLoopPoints];
        const b2Vec2 at = body->GetPosition();
        const b2Vec2 to(target[0] * metresPerPixel - at.x, target[1] * metresPerPixel - at.y);
        const b2Vec2 forward = body->GetWorldVector(b2Vec2(0.0f, -1.0f));
        // Positive: the target lies clockwise of the heading on screen (y down).
        const float error = std::atan2(forward.x * to.y - forward.y * to.x, forward.x * to.x + forward.y * to.y);
        // Steering by where the heading will be a moment from now: without
        // that lead, full-lock keys swing the vehicle from side to side.
        const float leading = error - body->GetAngularVelocity() * steerLeadSeconds;
        const float speed = body->GetLinearVelocity().Length();
        switch (key) {
        case sf::Keyboard::Up:
            return speed < cruiseMetresPerSecond * (std::abs(error) > 0.7f ? 0.5f : 1.0f);
        case sf::Keyboard::Right:
            return leading > steerDeadbandRadians;
        case sf::Keyboard::Left:
            return leading < -steerDeadbandRadians;
        default:
            return false;
        }
    }
};

class NoKeys : public KeySource {
public:
    bool hasFocus() const override { return true; }
    bool isDown(sf::Keyboard::Key) const override { return false; }
};

// Counts the drive's progress once a frame: distance and corners reached.
void followDrive(Profile& p)
{
    const b2Body* body = playerVehicle.body();
    if (p.scenario != Scenario::drive || !body)
        return;
    p.drivenMetres += body->GetLinearVelocity().Length() * frameProfileStep();
    const float* target = roadLoop[p.waypointsPassed % roadLoopPoints];
    const b2Vec2 at = body->GetPosition();
    if (std::hypot(target[0] - at.x * pixelsPerMetre, target[1] - at.y * pixelsPerMetre) < waypointReachPixels)
        ++p.waypointsPassed;
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
        const char* scenario = std::getenv("TARNWICK_FRAME_PROFILE_SCENARIO");
        if (scenario && std::strcmp(scenario, "stand") == 0)
            profile().scenario = Scenario::stand;
        else if (scenario && std::strcmp(scenario, "drive") == 0)
            profile().scenario = Scenario::drive;
        else if (scenario && *scenario && std::strcmp(scenario, "effects") != 0)
            orv::Log::warning(std::string("TARNWICK_FRAME_PROFILE_SCENARIO: unknown scenario \"") + scenario +
                              "\" (stand, drive or effects); profiling effects");
        profile().thread.reserve(static_cast<std::size_t>(frames));
        profile().process.reserve(static_cast<std::size_t>(frames));
    }
    return frames > 0;
}

void fillEffectsForProfile()
{
    if (profile().scenario != Scenario::effects)
        return;
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

const KeySource& frameProfileKeys()
{
    static const ScriptedDrive drive;
    static const NoKeys none;
    return profile().scenario == Scenario::drive ? static_cast<const KeySource&>(drive) : none;
}

float frameProfileStep()
{
    return physicsStep;
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
        if (i == warmUp)
            p.floorStart = start;
        window.clear(sf::Color::Black);
        window.draw(quad);
        window.display();
        if (i >= warmUp)
            p.floor.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    p.floorSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - p.floorStart).count();
}

void frameProfileBegin()
{
    profile().wallStart = std::chrono::steady_clock::now();
    if (profile().wall.empty())
        profile().runStart = profile().wallStart;
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
    followDrive(p);
    p.thread.push_back(cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - p.threadStart);
    p.submit.push_back(drawSubmitStats.seconds);
    p.process.push_back(cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - p.processStart);
    p.wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - p.wallStart).count());
    if (static_cast<int>(p.thread.size()) < p.frames)
        return false;
    p.runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - p.runStart).count();
    // The main thread's CPU is the program's own work plus the driver's work
    // inside the world's draw calls, which is counted apart. The rest of the
    // process's CPU is its other threads. With a software rasteriser such as
    // llvmpipe, vertices are transformed on the calling thread and pixels
    // filled by the driver's worker threads, so the two together are the
    // rasteriser's CPU. On a GPU the draw calls only build commands, the
    // pixels cost no CPU at all and show only in the wall time (a frame is
    // shown once it is drawn); the "rasteriser" figures are then the driver's
    // CPU. Either way the sound-streaming thread is in the other threads'
    // share too (well under 0.1 ms of a frame).
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
    // fps counts whole frames shown over the whole run, gaps between frames
    // included.
    const double wall50 = percentile(p.wall, 0.5), floor50 = percentile(p.floor, 0.5);
    const double wall95 = percentile(p.wall, 0.95), floor95 = percentile(p.floor, 0.95);
    const auto rate = [](std::size_t frames, double seconds) {
        return seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0;
    };
    const auto ratio = [](double a, double b) { return b > 0.0 ? a / b : 0.0; };
    const std::string wall = orv::format(
        "scenario=%s\nwall_ms_p50=%.3f\nwall_ms_p95=%.3f\nfps=%.1f\nfloor_ms_p50=%.3f\nfloor_ms_p95=%.3f\n"
        "floor_fps=%.1f\nratio_to_floor_p50=%.2f\nratio_to_floor_p95=%.2f\ndriven_m=%.0f\nloop_corners=%d\n",
        scenarioName(p.scenario), wall50 * 1e3, wall95 * 1e3, rate(p.wall.size(), p.runSeconds), floor50 * 1e3,
        floor95 * 1e3, rate(p.floor.size(), p.floorSeconds), ratio(wall50, floor50), ratio(wall95, floor95),
        static_cast<double>(p.drivenMetres), p.waypointsPassed);
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
