// Maps whose frames once took tens of seconds: thousands of sectors stacked
// over the whole map, each filled in full although only the top one shows.
// A frame of each is timed against the floor, a frame that only clears the
// same window and draws one screen-sized textured quad, measured in the same
// run (goal: at most 3 times the floor). The real program is then started on
// each map and sent SIGTERM while it draws (goal: gone within a second).

#include "framework/Core.h"
#include "framework/Log.h"
#include "render/Camera.h"
#include "render/WorldRenderer.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/TerrainTextures.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/OpenGL.hpp>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int timedFrames = 15;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The floor textures of the runnable folder (the maps name them), once.
void loadRunFolderTextures()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const fs::path here = fs::current_path();
    fs::current_path(RUN_DIR);
    orv::Log::disable();
    loadTerrainTextures();
    fs::current_path(here);
}

std::string textureName(std::size_t i)
{
    if (terrainTextures.empty())
        return "none";
    return terrainTextures[i % terrainTextures.size()]->name + ".png";
}

std::string mapHeader(int sectors, int vertices, int side)
{
    return "[header]\nsectorsCount=" + std::to_string(sectors) + "\nvertsCount=" + std::to_string(vertices) +
           "\nmapSize=" + std::to_string(side) + "," + std::to_string(side) + "\n[startZones]\nrect0=" +
           std::to_string(side / 2 - 20) + "," + std::to_string(side / 2 - 40) + ",40,80\n";
}

// `count` textured, bevelled sectors, each with its own four vertices round
// the whole 4000-pixel map; the start is near a corner, so the edges show.
std::string stackedFullMapText(int count)
{
    std::string verts = "[verts]\n", sectors;
    for (int s = 0; s < count; ++s) {
        const int v = s * 4;
        verts += "pos" + std::to_string(v) + "=0,0\npos" + std::to_string(v + 1) + "=4000,0\npos" +
                 std::to_string(v + 2) + "=4000,4000\npos" + std::to_string(v + 3) + "=0,4000\n";
        sectors += "[sector" + std::to_string(s) + "]\nverts=" + std::to_string(v) + "," + std::to_string(v + 1) +
                   "," + std::to_string(v + 2) + "," + std::to_string(v + 3) +
                   "\nbevelType=1\nfloorTexture=" + textureName(static_cast<std::size_t>(s)) + "\n";
    }
    return "[header]\nsectorsCount=" + std::to_string(count) + "\nvertsCount=" + std::to_string(count * 4) +
           "\nmapSize=4000,4000\n[startZones]\nrect0=100,60,40,80\n" + verts + sectors;
}

// `count` sectors on the same four vertices of a 1000-pixel map.
std::string identicalText(int count)
{
    std::string text = mapHeader(count, 4, 1000) + "[verts]\npos0=0,0\npos1=1000,0\npos2=1000,1000\npos3=0,1000\n";
    for (int s = 0; s < count; ++s)
        text += "[sector" + std::to_string(s) + "]\nverts=0,1,2,3\nfloorTexture=" +
                textureName(static_cast<std::size_t>(s)) + "\n";
    return text;
}

std::string writeMap(const std::string& name, const std::string& text)
{
    fs::create_directories("bench_data");
    const std::string path = "bench_data/" + name;
    std::ofstream(path) << text;
    return path;
}

// Median wall time of frames drawn by `draw`, each one finished by the driver.
template <typename Draw>
double medianFrameSeconds(Draw&& draw)
{
    sf::RenderWindow& window = orv::window();
    std::vector<double> times;
    for (int i = 0; i < timedFrames + 2; ++i) {
        const auto start = Clock::now();
        window.clear(sf::Color::Black);
        draw(window);
        window.display();
        glFinish();
        if (i >= 2) // the first frames upload textures and build programs
            times.push_back(secondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double floorFrameSeconds()
{
    sf::Texture texture;
    if (!terrainTextures.empty() && terrainTextures[0]->texture)
        texture = *terrainTextures[0]->texture;
    else
        texture.create(64, 64);
    texture.setRepeated(true);
    const sf::Vector2f view = orv::window().getView().getSize();
    sf::Sprite quad(texture, sf::IntRect(0, 0, static_cast<int>(view.x), static_cast<int>(view.y)));
    return medianFrameSeconds([&](sf::RenderWindow& window) { window.draw(quad); });
}

// The program on `mapPath` as its default map, in a scratch folder: seconds
// from SIGTERM, sent once it has drawn for a while, to its exit (or -1 when
// it did not leave within 10 s and was killed).
double secondsToQuit(const std::string& mapPath)
{
    const fs::path work = fs::absolute("bench_data/quit_run");
    fs::remove_all(work);
    fs::create_directories(work / "Data/Maps");
    for (const auto& entry : fs::directory_iterator(RUN_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name == "Data" || name == "Tarnwick.ini" || name == "zozur3.ini" || name == "Tarnwick.log")
            continue;
        if (name == "zozur3") // written on exit
            fs::copy(entry.path(), work / name, fs::copy_options::recursive);
        else
            fs::create_symlink(entry.path(), work / name);
    }
    for (const auto& entry : fs::directory_iterator(fs::path(RUN_DIR) / "Data"))
        if (entry.path().filename() != "Maps")
            fs::create_symlink(entry.path(), work / "Data" / entry.path().filename());
    fs::copy_file(mapPath, work / "Data/Maps/ZQR_Lakes.map");
    // No animals or music: only the map's drawing is of interest.
    std::ofstream(work / "Tarnwick.ini") << "[game]\nambient=False\n";

    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(work.c_str()) == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            execl((work / "tarnwick").c_str(), "tarnwick", static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    // Loaded once the log names the objects; then a second of frames.
    const auto started = Clock::now();
    for (;;) {
        std::ifstream log(work / "Tarnwick.log");
        const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        if (text.find("valid map objects") != std::string::npos || secondsSince(started) > 60.0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    kill(pid, SIGTERM);
    const auto asked = Clock::now();
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (secondsSince(asked) > 10.0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1.0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return secondsSince(asked);
}

void BM_StalledFrame(benchmark::State& state, bool stackedFullMap)
{
    if (!orv::isWindowOpen()) {
        state.SkipWithError("needs a display");
        return;
    }
    loadRunFolderTextures();
    const int count = static_cast<int>(state.range(0));
    const std::string path =
        stackedFullMap ? writeMap("stacked_full" + std::to_string(count) + ".map", stackedFullMapText(count))
                       : writeMap("identical" + std::to_string(count) + ".map", identicalText(count));
    orv::Log::disable();
    resetPhysicsWorld();
    loadMap(path);
    cameraZoom = 2.0f;
    camera = currentMap.startPosition - orv::window().getView().getSize() / cameraZoom * 0.5f;
    const sf::FloatRect visible = visibleWorldRect();

    double floor = 0.0, frame = 0.0, quit = 0.0;
    for (auto _ : state) {
        floor = floorFrameSeconds();
        frame = medianFrameSeconds([&](sf::RenderWindow&) { drawSectors(camera, cameraZoom, visible); });
        quit = secondsToQuit(path);
    }
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["frame_ms"] = frame * 1e3;
    state.counters["ratio_to_floor_goal_max3"] = frame / floor;
    state.counters["sigterm_s_goal_max1"] = quit;
    state.counters["goals_met"] = frame <= 3.0 * floor && quit >= 0.0 && quit <= 1.0 ? 1 : 0;
    resetPhysicsWorld();
    clearMap();
}
BENCHMARK_CAPTURE(BM_StalledFrame, stacked_full_map, true)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_StalledFrame, identical, false)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
