// The default content of the runnable folder goes through the program's own
// loaders without a single warning or error in the log: image sets, floor
// textures and materials, object definitions, every map, the sound bank with
// every sound name the ambience and the vehicle files ask for, the tune and
// the scene shaders.

#include "TestUtil.h"
#include "audio/Ambience.h"
#include "audio/Audio.h"
#include "audio/ModMusic.h"
#include "framework/AppInfo.h"
#include "framework/Core.h"
#include "framework/DirectoryListing.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/ShaderManager.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"
#include "world/ImageSets.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"
#include "world/TerrainTextures.h"
#include "world/WorldState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

// Notes about the machine's OpenGL context and vertical sync come from SFML,
// not from the content.
bool machineNote(const std::string& line)
{
    return line.find("SFML: ") != std::string::npos &&
           (line.find("OpenGL context") != std::string::npos || line.find("Requested:") != std::string::npos ||
            line.find("Created:") != std::string::npos || line.find("vertical sync") != std::string::npos);
}

std::vector<std::string> complaints(const std::string& log)
{
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if ((line.find("Warning: ") != std::string::npos || line.find("Error: ") != std::string::npos) &&
            !machineNote(line))
            lines.push_back(line);
    return lines;
}

class DefaultContent : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::getcwd(previous, sizeof previous), previous);
        logPath = std::filesystem::temp_directory_path() / ("default_content_" + std::to_string(::getpid()) + ".log");
        orv::Log::reset();
        orv::Log::open(logPath.string());
        // The loaders read relative to the program's folder.
        ASSERT_EQ(::chdir(RUN_DIR), 0);
    }
    void TearDown() override
    {
        resetWorld();
        orv::Audio::close();
        orv::Log::disable();
        ASSERT_EQ(::chdir(previous), 0);
        std::filesystem::remove(logPath);
    }
    char previous[4096] = {};
    std::filesystem::path logPath;
};

} // namespace

TEST_F(DefaultContent, LoadsWithoutWarningsOrErrors)
{
    loadImageSets();
    EXPECT_GE(textureImages.size(), 6u);
    loadTerrainTextures();
    EXPECT_GE(terrainTextures.size(), 8u);
    for (const auto& texture : terrainTextures)
        EXPECT_NE(texture->materialIndex, 0) << texture->name << " has no track material";
    loadObjectDefs();
    EXPECT_GE(objectDefs.size(), 6u);

    orv::Audio::init();
    orv::Audio::loadSounds("Data/Sounds", "");
    initAmbience(); // looks up the seven ambience loops, logging any missing one
    {
        orv::ModMusic music;
        EXPECT_TRUE(music.load("Data\\Music\\magic.xm"));
        EXPECT_TRUE(music.load("Data/Music/Ditty.mod"));
    }

    orv::ShaderManager::resetTable();
    const orv::ShaderHandle water = orv::ShaderManager::load("Data\\Shaders\\Water.vert", "Data\\Shaders\\Water.frag");
    const orv::ShaderHandle shadow = orv::ShaderManager::load("Data\\Shaders\\Shadow.vert", "Data\\Shaders\\Shadow.frag");
    EXPECT_TRUE(orv::ShaderManager::get(water).loaded);
    EXPECT_TRUE(orv::ShaderManager::get(shadow).loaded);

    // Every map, with every object placed and the start on a road.
    orv::window().setView(sf::View(sf::FloatRect(0, 0, 1280, 720)));
    orv::DirectoryListing maps;
    maps.addExtension(".map");
    maps.scan("Data/Maps/", orv::DirectoryListing::FilesOnly, false);
    ASSERT_GE(maps.entries().size(), 2u);
    for (const orv::DirectoryEntry& entry : maps.entries()) {
        resetPhysicsWorld();
        loadMap(entry.path);
        EXPECT_TRUE(currentMap.minimapReady) << entry.path;
        orv::IniFile file;
        ASSERT_TRUE(file.load(entry.path));
        file.setSection("header");
        EXPECT_EQ(currentMap.objects.size(), static_cast<std::size_t>(file.getInt("objectsCount", -1))) << entry.path;
        for (const Sector& sector : currentMap.sectors) {
            EXPECT_FALSE(sector.triangles.empty()) << entry.path << " sector " << sector.index;
            if (!sector.isShadow && sector.textureIndex < 0)
                ADD_FAILURE() << entry.path << " sector " << sector.index << " has no floor texture";
        }
        const std::vector<Sector*> under = findSectors(
            sf::FloatRect(currentMap.startPosition.x, currentMap.startPosition.y, 1, 1), SectorQueryMode::Ground);
        ASSERT_FALSE(under.empty()) << entry.path;
        const TerrainTexture* ground = terrainTextureAt(under.back()->textureIndex);
        ASSERT_NE(ground, nullptr) << entry.path;
        EXPECT_EQ(ground->name, "Asphalt") << entry.path << ": the start is not on a road";
    }
    orv::window().setView(orv::window().getDefaultView());

    // Cars: every file through the vehicle loader, each built in the world
    // with its picture (a failed picture load is logged by the media library).
    loadVehicleDefs();
    EXPECT_GE(vehicleDefs.size(), 6u);
    for (std::size_t kind = 0; kind < vehicleDefs.size(); ++kind) {
        const VehicleDef& def = vehicleDefs[kind];
        for (int sound : {def.idleSound, def.movingSound, def.hornSound})
            EXPECT_GT(sound, 0) << def.name;
        Vehicle car;
        car.spawn(*physicsWorld, static_cast<int>(kind), false, currentMap.startPosition);
        ASSERT_NE(car.appearance.picture, nullptr) << def.name;
        EXPECT_GT(car.appearance.picture->getSize().x, 0u) << def.name;
        EXPECT_EQ(car.dynamics.wheels.size(), def.wheelMounts.size()) << def.name;
        car.destroyBodies();
    }

    orv::Log::disable();
    const std::vector<std::string> lines = complaints(testutil::readFile(logPath.string()));
    for (const std::string& line : lines)
        ADD_FAILURE() << line;
    EXPECT_TRUE(lines.empty());
}
