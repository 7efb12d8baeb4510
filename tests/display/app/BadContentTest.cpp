// Every malformed file of tests/data/bad through the loader that reads it, in
// a scratch folder: the program goes on, a file at fault is named in a
// warning or error line, and what it got wrong keeps its default. Files that
// only look unusual (a byte-order mark, CRLF line ends) load clean.
// A display test: image sets load their atlas as a texture.

#include "TestUtil.h"
#include "app/AppSettings.h"
#include "audio/Audio.h"
#include "audio/ModMusic.h"
#include "audio/SoundFiles.h"
#include "framework/AppInfo.h"
#include "framework/CoreConfig.h"
#include "framework/Log.h"
#include "framework/gui/ScriptConsole.h"
#include "framework/gui/Theme.h"
#include "vehicle/VehicleDef.h"
#include "world/ImageSets.h"
#include "world/Map.h"
#include "world/MapLoading.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"
#include "world/TerrainTextures.h"

#include <sys/resource.h>

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

enum class Outcome {
    Warns, ///< a warning or error line names the file
    Clean, ///< loads with no warning or error at all
    Quiet, ///< the format's own rule: a bad file of this kind is skipped silently
};

const std::string goodMap = "[header]\nsectorsCount=2\nvertsCount=8\nobjectsCount=0\nmapSize=400,400\n"
                            "[verts]\npos0=0,0\npos1=400,0\npos2=400,400\npos3=0,400\n"
                            "pos4=100,100\npos5=200,100\npos6=200,200\npos7=100,200\n"
                            "[sector0]\nverts=0,1,2,3\nfloorTexture=Grass.png\n"
                            "[sector1]\nverts=4,5,6,7\nfloorTexture=Asphalt.png\n";

std::string readBad(const std::string& name)
{
    std::ifstream in(std::string(BAD_CONTENT_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Lines of the log that report a problem.
std::vector<std::string> problemLines(const std::string& log)
{
    std::vector<std::string> out;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.find("Warning: ") != std::string::npos || line.find("Error: ") != std::string::npos)
            out.push_back(line);
    return out;
}

class BadContent : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifndef __SANITIZE_ADDRESS__
        // A loader that sizes a list by a count the file claims asks for
        // gigabytes: fail here with bad_alloc rather than take the machine.
        // (ASan reserves terabytes of address space, so not under it.)
        getrlimit(RLIMIT_AS, &oldLimit_);
        rlimit limit = oldLimit_;
        limit.rlim_cur = std::min<rlim_t>(oldLimit_.rlim_cur, rlim_t(6) << 30);
        setrlimit(RLIMIT_AS, &limit);
#endif
        orv::appInfo.logPath.clear();
        orv::Log::open("bad.log");
        testutil::writeFile("Data/Textures/textureColours.ini", "[colours]\nGrass=60,120,40\nAsphalt=80,80,80\n");
        sf::Image atlas;
        atlas.create(64, 32, sf::Color::Red);
        std::filesystem::create_directories("Data/Images");
        ASSERT_TRUE(atlas.saveToFile("Data/Images/Good.png"));
        testutil::writeFile("Data/Images/Good.ini", "[info]\nid=Zendrix 2 Texture Images\nversion=1\nimagesCount=1\n"
                                                    "[image0]\nimageName=Crate\nrect=0,0,16,16\n");
        for (const char* name : {"Grass", "Asphalt"}) {
            auto t = std::make_unique<TerrainTexture>();
            t->name = name;
            terrainTextures.push_back(std::move(t));
        }
        ObjectDef crate;
        crate.name = "Crate.ob";
        crate.mass = 1.0f;
        crate.collisionSize = {16, 16};
        objectDefs.push_back(crate);
    }
    void TearDown() override
    {
        clearMap();
        resetPhysicsWorld();
        terrainTextures.clear();
        objectDefs.clear();
        imageSetTextures.clear();
        textureImages.clear();
        vehicleDefs.clear();
        orv::Log::disable();
#ifndef __SANITIZE_ADDRESS__
        setrlimit(RLIMIT_AS, &oldLimit_);
#endif
    }
    rlimit oldLimit_{};
    testutil::TempDir dir;
};

struct Case {
    const char* file;
    Outcome outcome;
    std::function<void(const std::string& file)> load;   ///< puts the file in place and loads it
    std::function<void()> check = [] {};                  ///< what must have kept its default
    const char* named = nullptr;                          ///< the name the log uses, when not the file's
};

void loadAsMap(const std::string& file, const std::string& bytes)
{
    testutil::writeFile("Data/Maps/" + file, bytes);
    resetPhysicsWorld();
    loadMap("Data\\Maps\\" + file);
}

void map(const std::string& file)
{
    loadAsMap(file, readBad(file));
}

void mapFinite()
{
    for (const MapVertex& v : currentMap.vertices)
        EXPECT_TRUE(std::isfinite(v.position.x) && std::isfinite(v.position.y));
    EXPECT_TRUE(std::isfinite(currentMap.startPosition.x) && std::isfinite(currentMap.startPosition.y));
    EXPECT_LE(currentMap.vertices.size(), 100000u);
    EXPECT_LE(currentMap.objects.size(), 10u);
}

void car(const std::string& file)
{
    // A vehicle file names its sounds; the program has loaded the sound bank
    // before any vehicle, so the scratch folder gets the default ones.
    if (orv::Audio::getSoundNumber("Horns\\Horn_Default", false) <= 0) {
        for (const char* name : {"Engine/Engine_Car_a_Idle", "Engine/Engine_Car_a_Moving", "Horns/Horn_Default"})
            soundfiles::writeTone(std::string("Data/Sounds/") + name + ".wav", 2205, 1);
        orv::Audio::loadSounds("Data/Sounds", "");
    }
    testutil::writeFile("Data/Cars/" + file, readBad(file));
    vehicleDefs.clear();
    loadVehicleDef("Data/Cars/" + file, vehicleDefs);
}

void carFinite();

// The definition is sane and `field` kept the default a definition starts with.
std::function<void()> carKeeps(float VehicleDef::*field)
{
    return [field] {
        carFinite();
        if (vehicleDefs.size() == 1) {
            EXPECT_EQ(vehicleDefs[0].*field, VehicleDef().*field);
        }
    };
}

void carFinite()
{
    ASSERT_EQ(vehicleDefs.size(), 1u);
    const VehicleDef& d = vehicleDefs[0];
    EXPECT_TRUE(std::isfinite(d.mass) && d.mass < 1.0e6f);
    EXPECT_TRUE(std::isfinite(d.maxSpeed));
    // A lying count stops at 64 entries.
    EXPECT_LE(d.wheelMounts.size(), 64u);
    EXPECT_LE(d.gears.size(), 2u + 64u);
}

void object(const std::string& file)
{
    loadImageSet("Data/Images/Good.ini");
    testutil::writeFile("Data/Objects/" + file, readBad(file));
    objectDefs.clear();
    loadObjectDef("Data/Objects/" + file);
}

void objectSane()
{
    ASSERT_EQ(objectDefs.size(), 1u);
    const ObjectDef& d = objectDefs[0];
    EXPECT_TRUE(std::isfinite(d.mass) && d.mass >= 0.0f && d.mass < 1.0e6f);
    EXPECT_TRUE(std::isfinite(d.objectScale));
}

void imageSet(const std::string& file)
{
    // Earlier rows load image sets too: count only this file's images.
    textureImages.clear();
    imageSetTextures.clear();
    testutil::writeFile("Data/Images/" + file, readBad(file));
    std::filesystem::copy_file("Data/Images/Good.png", "Data/Images/" + std::filesystem::path(file).stem().string() + ".png",
                               std::filesystem::copy_options::overwrite_existing);
    loadImageSet("Data/Images/" + file);
}


void settings(const std::string& file)
{
    testutil::writeFile(settingsFileName, readBad(file));
    resetSettings();
    loadSettings();
}

void settingsSane()
{
    EXPECT_TRUE(std::isfinite(appSettings.renderScale));
    EXPECT_GE(appSettings.renderScale, minRenderScale);
    EXPECT_LE(appSettings.renderScale, maxRenderScale);
}

void core(const std::string& file)
{
    testutil::writeFile("zozur3.ini", readBad(file));
    orv::coreConfig = orv::CoreConfig();
    orv::loadCoreConfig();
}

void theme(const std::string& file)
{
    testutil::writeFile("uiConfig.ini", readBad(file));
    orv::loadTheme();
}

void materials(const std::string& file)
{
    testutil::writeFile("Data/Textures.ini", readBad(file));
    loadTextureMaterials();
}

void materialsSane()
{
    EXPECT_LE(textureMaterialCount, maxTextureMaterials);
    for (int i = 0; i < textureMaterialCount; ++i)
        EXPECT_TRUE(std::isfinite(textureMaterials[static_cast<std::size_t>(i)].trackAlpha));
    EXPECT_LE(textureMaterialMap.size(), maxTextureMaterialLinks);
}

void colours(const std::string& file)
{
    testutil::writeFile("Data/Textures/textureColours.ini", readBad(file));
    loadAsMap("colours.map", goodMap);
    EXPECT_EQ(currentMap.sectors.size(), 2u);
}

void sound(const std::string& file)
{
    testutil::writeFile("Data/Sounds/" + file, readBad(file));
    orv::Audio::loadSounds("Data/Sounds", "");
}

void music(const std::string& file)
{
    testutil::writeFile("Data/Music/" + file, readBad(file));
    orv::ModMusic m;
    EXPECT_FALSE(m.load("Data/Music/" + file));
}

void history(const std::string& file)
{
    testutil::writeFile(file, readBad(file));
    orv::ScriptConsole console;
    console.loadHistory(file);
    EXPECT_LE(console.history().size(), 4u);
}

} // namespace

TEST_F(BadContent, EveryFileLoadsOnAndIsNamed)
{
    using O = Outcome;
    const Case cases[] = {
        {"map_bom.map", O::Clean, map, [] { EXPECT_EQ(currentMap.sectors.size(), 2u); }},
        {"map_crlf.map", O::Clean, map, [] { EXPECT_EQ(currentMap.sectors.size(), 2u); }},
        {"map_nul_bytes.map", O::Clean, map, mapFinite},
        {"map_invalid_utf8.map", O::Clean, map, mapFinite},
        {"map_huge_float.map", O::Warns, map, mapFinite},
        {"map_int_overflow.map", O::Warns, map, mapFinite},
        {"map_truncated.map", O::Warns, map, mapFinite},
        {"map_lying_verts.map", O::Warns, map, mapFinite},
        // The count stands (up to the cap): sections it names but the file
        // lacks are default sectors, and the two present keep their places.
        {"map_lying_sectors.map", O::Warns, map, [] {
             ASSERT_EQ(currentMap.sectors.size(), static_cast<std::size_t>(maxSectors));
             EXPECT_EQ(currentMap.sectors[1].textureIndex, 1);
             EXPECT_TRUE(currentMap.sectors[2].points.empty());
         }},
        {"map_lying_objects.map", O::Warns, map, mapFinite},
        {"map_vertex_out_of_range.map", O::Warns, map, mapFinite},
        {"map_negative_vertex.map", O::Warns, map, mapFinite},
        {"map_nan_vertex.map", O::Warns, map, mapFinite},
        {"map_inf_start.map", O::Warns, map, mapFinite},
        {"map_repeated_outline.map", O::Warns, map, mapFinite},
        {"map_bowtie_repeated.map", O::Warns, map, mapFinite},
        {"map_no_sectors.map", O::Warns, map, [] { EXPECT_TRUE(currentMap.sectors.empty()); }},
        {"map_empty.map", O::Warns, map, [] { EXPECT_TRUE(currentMap.sectors.empty()); }},
        {"map_binary_garbage.map", O::Warns, map, mapFinite},
        {"map_huge_map_size.map", O::Warns, map, mapFinite},
        {"map_unknown_object.map", O::Warns, map, [] { EXPECT_TRUE(currentMap.objects.empty()); }},
        {"map_object_huge_pos.map", O::Warns, map, mapFinite}, // an object out of range is placed at 0,0, not dropped
        {"map_unclosed_quote.map", O::Warns, map, mapFinite},
        {"map_passable_overflow.map", O::Warns, map, mapFinite},
        {"map_sector_two_points.map", O::Warns, map, mapFinite},
        {"car_bom.ini", O::Clean, car, [] { ASSERT_EQ(vehicleDefs.size(), 1u); EXPECT_EQ(vehicleDefs[0].wheelMounts.size(), 4u); }},
        {"car_crlf.ini", O::Clean, car, [] { ASSERT_EQ(vehicleDefs.size(), 1u); EXPECT_EQ(vehicleDefs[0].wheelMounts.size(), 4u); }},
        {"car_huge_mass.ini", O::Warns, car, carKeeps(&VehicleDef::mass)},
        {"car_mass_1e38.ini", O::Warns, car, carKeeps(&VehicleDef::mass)},
        {"car_negative_speed.ini", O::Warns, car, carKeeps(&VehicleDef::maxSpeed)},
        {"car_lying_mounts.ini", O::Warns, car, carFinite},
        {"car_lying_gears.ini", O::Warns, car, carFinite},
        // The wheel type line names the vehicle, which is the file's name.
        {"car_wheel_type_out_of_range.ini", O::Warns, car, carFinite, "car_wheel_type_out_of_range wheel mount 0"},
        {"car_nan_pos.ini", O::Warns, car, carFinite},
        {"car_truncated.ini", O::Warns, car, carFinite},
        {"car_nul_bytes.ini", O::Warns, car, carKeeps(&VehicleDef::mass)},
        {"car_bad_steer_curve.ini", O::Warns, car, carFinite},
        {"car_random_bytes.ini", O::Warns, car, carKeeps(&VehicleDef::maxSpeed)},
        {"object_mass_1e38.ob", O::Warns, object, objectSane},
        {"object_mass_inf.ob", O::Warns, object, objectSane},
        {"object_negative_mass.ob", O::Warns, object, objectSane},
        {"object_huge_collision.ob", O::Warns, object, objectSane},
        {"object_bom.ob", O::Clean, object, objectSane},
        {"object_unknown_image.ob", O::Warns, object, objectSane},
        {"object_scale_nan.ob", O::Warns, object, objectSane},
        {"object_binary.ob", O::Warns, object, objectSane},
        // The format pads a short set with empty images, up to the cap.
        {"imageset_lying_count.ini", O::Warns, imageSet, [] {
             ASSERT_EQ(textureImages.size(), static_cast<std::size_t>(maxImagesPerSet));
             EXPECT_EQ(textureImages[1].name, "Cone");
             EXPECT_EQ(findTextureImage("Far"), -1);
         }},
        {"imageset_wrong_id.ini", O::Warns, imageSet, [] { EXPECT_TRUE(textureImages.empty()); }},
        {"imageset_advanced_version.ini", O::Warns, imageSet, [] { EXPECT_TRUE(textureImages.empty()); }},
        {"imageset_negative_rect.ini", O::Warns, imageSet},
        {"imageset_bom.ini", O::Clean, imageSet, [] { EXPECT_EQ(textureImages.size(), 2u); }},
        {"settings_huge_scale.ini", O::Warns, settings, [] { EXPECT_EQ(appSettings.renderScale, AppSettings().renderScale); }, "Tarnwick.ini"},
        {"settings_nan_scale.ini", O::Warns, settings, [] { EXPECT_EQ(appSettings.renderScale, AppSettings().renderScale); }, "Tarnwick.ini"},
        {"settings_bom.ini", O::Clean, settings, [] { EXPECT_EQ(appSettings.renderScale, 3.0f); EXPECT_FALSE(appSettings.smoothTerrain); }},
        {"settings_binary.ini", O::Clean, settings, settingsSane},
        {"settings_truncated.ini", O::Clean, settings, [] { EXPECT_EQ(appSettings.renderScale, 3.0f); }},
        {"core_huge_window.ini", O::Clean, core},
        {"core_negative_window.ini", O::Warns, core, [] { EXPECT_EQ(orv::coreConfig.width, orv::CoreConfig().width); }, "zozur3.ini"},
        {"core_volume_overflow.ini", O::Warns, core, [] { EXPECT_LE(orv::coreConfig.soundVolume, 100); EXPECT_GE(orv::coreConfig.soundVolume, 0); }, "zozur3.ini"},
        {"core_bom.ini", O::Clean, core, [] { EXPECT_EQ(orv::coreConfig.width, 800); }},
        {"theme_bad_colours.ini", O::Warns, theme, [] {}, "uiConfig.ini"},
        {"theme_bom.ini", O::Clean, theme},
        {"theme_truncated.ini", O::Warns, theme, [] {}, "uiConfig.ini"},
        {"materials_lying_count.ini", O::Warns, materials, materialsSane, "Textures.ini"},
        {"materials_nan_alpha.ini", O::Warns, materials, materialsSane, "Textures.ini"},
        {"materials_huge_alpha.ini", O::Warns, materials, materialsSane, "Textures.ini"},
        {"materials_bad_links.ini", O::Warns, materials, materialsSane, "Textures.ini"},
        {"colours_bom.ini", O::Clean, colours},
        {"colours_bad_values.ini", O::Warns, colours, [] {}, "textureColours.ini"},
        {"colours_crlf.ini", O::Clean, colours},
        {"sound_lying_data.wav", O::Warns, sound},
        {"sound_truncated.wav", O::Warns, sound},
        {"sound_no_fmt.wav", O::Warns, sound},
        {"sound_zero_channels.wav", O::Warns, sound},
        {"sound_not_a_wav.wav", O::Warns, sound},
        {"music_truncated.xm", O::Warns, music},
        {"music_garbage.mod", O::Warns, music},
        {"music_empty.xm", O::Warns, music},
        {"history_huge_count.dat", O::Quiet, history},
        {"history_long_string.dat", O::Quiet, history},
        {"history_negative_length.dat", O::Quiet, history},
        {"history_advanced_version.dat", O::Quiet, history},
        {"history_truncated.dat", O::Quiet, history},
    };
    // A file added to the folder without its row here would test nothing.
    for (const auto& entry : std::filesystem::directory_iterator(BAD_CONTENT_DIR)) {
        const std::string name = entry.path().filename().string();
        bool listed = name == "README.md";
        for (const Case& c : cases)
            listed = listed || name == c.file;
        EXPECT_TRUE(listed) << name << " has no row";
    }
    int count = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        orv::appInfo.logPath.clear();
        orv::Log::open("bad.log");
        c.load(c.file);
        c.check();
        const std::vector<std::string> problems = problemLines(testutil::readFile("bad.log"));
        const std::string name = c.named ? c.named : c.file;
        bool named = false;
        for (const std::string& line : problems)
            named = named || line.find(name) != std::string::npos;
        if (c.outcome == Outcome::Warns) {
            EXPECT_TRUE(named) << "no warning or error names " << name << ":\n" << testutil::readFile("bad.log");
        } else if (c.outcome == Outcome::Clean) {
            EXPECT_TRUE(problems.empty()) << testutil::readFile("bad.log");
        }
        clearMap();
        ++count;
    }
    EXPECT_GE(count, 83);
}

// Two cases made here for their size: a 1 MiB line and a sector that lists
// its outline a million times.
TEST_F(BadContent, HugeLinesAndListsLoadOn)
{
    std::string longLine = goodMap + "[sector1]\nfloorTexture=" + std::string(1 << 20, 'x') + "\n";
    loadAsMap("long_line.map", longLine);
    EXPECT_EQ(currentMap.sectors.size(), 2u);

    std::string list;
    list.reserve(8u << 20);
    for (int i = 0; i < 250000; ++i)
        list += "4,5,6,7,";
    loadAsMap("million.map", goodMap + "[sector1]\nverts=" + list + "\n");
    EXPECT_EQ(currentMap.sectors.size(), 2u);
    bool named = false;
    for (const std::string& line : problemLines(testutil::readFile("bad.log")))
        named = named || line.find("million.map") != std::string::npos;
    EXPECT_TRUE(named);
}
