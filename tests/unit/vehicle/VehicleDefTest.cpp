#include "../audio/SoundFiles.h"
#include "TestUtil.h"
#include "app/EditHistory.h"
#include "audio/Audio.h"
#include "framework/AppInfo.h"
#include "framework/CoreConfig.h"
#include "framework/Log.h"
#include "vehicle/VehicleDef.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace {

class VehicleDefFile : public testutil::LoggedTest {
protected:
    void SetUp() override
    {
        LoggedTest::SetUp();
        vehicleDefs.clear();
    }
    void TearDown() override
    {
        vehicleDefs.clear();
        LoggedTest::TearDown();
    }
    /// Loads one file written from `text`; the definition, or null.
    const VehicleDef* load(const std::string& text, const std::string& name = "Data/Cars/Test.ini")
    {
        testutil::writeFile(name, text);
        defs.clear();
        if (!loadVehicleDef(name, defs))
            return nullptr;
        return &defs.back();
    }
    std::vector<VehicleDef> defs;
};

} // namespace

TEST_F(VehicleDefFile, MassAloneGivesPowerBrakesAndOneGear)
{
    const VehicleDef* def = load("[body]\nmass=1000\n");
    ASSERT_NE(def, nullptr);
    EXPECT_FLOAT_EQ(def->power, 40000.0f);
    EXPECT_FLOAT_EQ(def->brakePower, 1300.0f);
    ASSERT_EQ(def->gears.size(), 3u);
    EXPECT_FLOAT_EQ(def->gears[firstForwardGear].ratio, 1.0f);
    EXPECT_TRUE(def->wheelTypes.empty());
    EXPECT_TRUE(def->wheelMounts.empty());
}

TEST_F(VehicleDefFile, GearsCountThreeGivesFiveGears)
{
    const VehicleDef* def = load("[info]\ngearsCount=3\n[body]\nreverseRatio=0.4\n"
                                 "[gear0]\nratio=3\npitch=1\n[gear1]\nratio=2\npitch=1.1\n[gear2]\nratio=1.5\n");
    ASSERT_NE(def, nullptr);
    ASSERT_EQ(def->gears.size(), 5u);
    EXPECT_FLOAT_EQ(def->gears[0].ratio, 0.4f);
    EXPECT_FLOAT_EQ(def->gears[2].ratio, 3.0f);
    EXPECT_FLOAT_EQ(def->gears[3].pitch, 1.1f);
    EXPECT_FLOAT_EQ(def->gears[4].ratio, 1.5f);
    EXPECT_FLOAT_EQ(def->gears[4].pitch, 1.0f);
}

TEST_F(VehicleDefFile, InvalidWheelTypeIsLoggedAndReplaced)
{
    const VehicleDef* def = load("[info]\nwheelTypesCount=2\nwheelMountsCount=2\n[wheelType0]\n[wheelType1]\n"
                                 "[wheelMount0]\nwheelType=5\n[wheelMount1]\nwheelType=1\n");
    ASSERT_NE(def, nullptr);
    EXPECT_TRUE(logged("Test wheel mount 0 has an invalid wheel type of 5"));
    EXPECT_EQ(def->wheelMounts[0].wheelType, 0);
    EXPECT_EQ(def->wheelMounts[1].wheelType, 1);
}

// Lists are as long as [info] says: a section the file lacks takes the
// defaults in its place, later ones keep their numbers, and what lies past a
// count is named, since a save would drop it.
TEST_F(VehicleDefFile, ListsFollowTheDeclaredCounts)
{
    std::string noise;
    std::uint32_t seed = 7;
    for (int i = 0; i < 600; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise += static_cast<char>(seed >> 24);
    }
    const std::string nothing = ": no vehicle section or key found; every value is the default";
    struct Case {
        const char* what;
        std::string text;
        std::size_t types, mounts, gears;
        std::vector<std::string> warnings; ///< every warning line, without "Vehicle <path>"
        std::function<bool(const VehicleDef&)> check = [](const VehicleDef&) { return true; };
    };
    const Case cases[] = {
        {"gears without sections", "[info]\ngearsCount=3\n", 0, 0, 5,
         {": sections [gear0], [gear1], [gear2] are missing; those entries take the defaults"},
         [](const VehicleDef& d) {
             return d.gears[2].ratio == 1.0f && d.gears[4].ratio == 1.0f && d.gears[4].pitch == 1.0f;
         }},
        {"a gap among the mounts",
         "[info]\nwheelTypesCount=1\nwheelMountsCount=4\n[wheelType0]\n[wheelMount0]\npos=1,2\n"
         "[wheelMount2]\npos=5,6\ndrive=False\n",
         1, 4, 3, {": sections [wheelMount1], [wheelMount3] are missing; those entries take the defaults"},
         [](const VehicleDef& d) {
             const WheelMount& gap = d.wheelMounts[1];
             return d.wheelMounts[2].pos == sf::Vector2i(5, 6) && !d.wheelMounts[2].drive &&
                    gap.pos == sf::Vector2i() && gap.drive && gap.maxSteerAngle == 20 && gap.massRatio == 1.0f;
         }},
        {"negative counts", "[info]\nwheelTypesCount=-3\nwheelMountsCount=-1\ngearsCount=-2\n", 0, 0, 3, {}},
        {"a lying count",
         "[info]\nwheelTypesCount=1\nwheelMountsCount=2000000000\n[wheelType0]\n[wheelMount0]\n[wheelMount1]\n",
         1, 64, 3,
         {": [info] wheelMountsCount=2000000000 is more than 64; reading 64",
          ": sections [wheelMount2], [wheelMount3], [wheelMount4], [wheelMount5], [wheelMount6], [wheelMount7], "
          "[wheelMount8], [wheelMount9] and 54 more are missing; those entries take the defaults"},
         [](const VehicleDef& d) { return d.wheelMounts.capacity() <= 64; }},
        {"sections past the counts",
         "[info]\nwheelTypesCount=1\nwheelMountsCount=2\ngearsCount=3\n[wheelType0]\n[wheelMount0]\n"
         "[wheelMount1]\n[wheelMount2]\n[wheelMount3]\n[gear0]\n[gear1]\n[gear2]\n[gear3]\n[gear4]\n",
         1, 2, 5,
         {": sections [wheelMount2], [wheelMount3], [gear3], [gear4] lie beyond the declared counts and are not "
          "read; saving will not keep them"}},
        {"an empty file", "", 0, 0, 3, {nothing}},
        {"NUL bytes", std::string(64, '\0'), 0, 0, 3, {nothing}},
        {"random bytes", noise, 0, 0, 3, {nothing}},
        {"some other text", "Notes on the cars\n[Install]\nsteps=2\n", 0, 0, 3, {nothing},
         [](const VehicleDef& d) { return d.maxSpeed == VehicleDef().maxSpeed; }},
    };
    // Each row on its own: a failed assertion ends the row, not the table.
    const auto run = [&](const Case& c) {
        SCOPED_TRACE(c.what);
        orv::Log::reset();
        orv::Log::open("test.log");
        const VehicleDef* def = load(c.text);
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->wheelTypes.size(), c.types);
        ASSERT_EQ(def->wheelMounts.size(), c.mounts);
        ASSERT_EQ(def->gears.size(), c.gears);
        EXPECT_TRUE(c.check(*def));
        const std::string text = log();
        EXPECT_EQ(testutil::occurrences(text, "Warning: "), c.warnings.size()) << text;
        for (const std::string& line : c.warnings)
            EXPECT_TRUE(testutil::has(text, "Warning: Vehicle Data/Cars/Test.ini" + line));
    };
    for (const Case& c : cases)
        run(c);
}

TEST_F(VehicleDefFile, NonFiniteNumbersReadAsTheirDefaults)
{
    const VehicleDef* def =
        load("[body]\nmass=10\nmaxSpeed=nan\npower=inf\nsteerSpeed=-1e999\n[engine]\nmaxRPM=NaN\n"
             "[info]\nwheelMountsCount=1\nwheelTypesCount=1\n[wheelType0]\n[wheelMount0]\nmassRatio=1e40\n");
    ASSERT_NE(def, nullptr);
    EXPECT_FLOAT_EQ(def->maxSpeed, 20.0f);
    EXPECT_FLOAT_EQ(def->power, 400.0f);
    EXPECT_FLOAT_EQ(def->steerSpeed, 60.0f);
    EXPECT_FLOAT_EQ(def->maxRPM, 2500.0f);
    EXPECT_FLOAT_EQ(def->wheelMounts[0].massRatio, 1.0f);
    const std::string text = log();
    for (const char* key : {"] maxSpeed=nan is", "] power=inf is", "] steerSpeed=-1e999 is", "] maxRPM=NaN is",
                            "[wheelMount0] massRatio=1e40 is"})
        EXPECT_NE(text.find(key), std::string::npos) << key << "\n" << text;
    EXPECT_NE(text.find("Vehicle Data/Cars/Test.ini: [body] maxSpeed=nan is not a finite number; using the default"),
              std::string::npos);
}

TEST_F(VehicleDefFile, ValuesOutOfRangeKeepTheirDefaultsWithOneWarning)
{
    struct Case {
        std::string text;
        const char* warning; ///< what the one warning line must hold
        std::function<bool(const VehicleDef&)> kept;
    };
    const Case cases[] = {
        {"[body]\nmass=1e38\n", "[body] mass=1e38 is out of range", [](const VehicleDef& d) { return d.mass == 0.0f; }},
        {"[body]\nmass=-5\n", "[body] mass=-5 is out of range", [](const VehicleDef& d) { return d.mass == 0.0f; }},
        // Box2D asserts on negative damping: the program stopped here.
        {"[body]\nlinearDamping=-0.35\n", "[body] linearDamping=-0.35 is out of range",
         [](const VehicleDef& d) { return d.linearDamping == 0.5f; }},
        {"[body]\nmaxSpeed=-2147483649\n", "[body] maxSpeed=-2147483649 is out of range",
         [](const VehicleDef& d) { return d.maxSpeed == 20.0f; }},
        {"[info]\nwheelMountsCount=1\n[wheelMount0]\npos=2000000000,3\n", "[wheelMount0] pos=2000000000,3 is out of range",
         [](const VehicleDef& d) { return d.wheelMounts.size() == 1 && d.wheelMounts[0].pos == sf::Vector2i(); }},
        {std::string("[body]\nma\0ss=100\n", 17), "[body] ma?ss is not a vehicle key",
         [](const VehicleDef& d) { return d.mass == 0.0f; }},
        {"[body]\nfullSpeedSteerCurve=1,2,nan,,x\n", "[body] fullSpeedSteerCurve=1,2,nan,,x: 11 points expected, found 5",
         [](const VehicleDef& d) { return d.fullSpeedSteerCurve.points.empty(); }},
        // What the tuning editor refuses, the loader refuses too: power that
        // reads as infinity left the car standing, and these reached Box2D.
        {"[body]\npower=1e39\n", "[body] power=1e39 is not a finite number",
         [](const VehicleDef& d) { return d.power == 0.0f; }},
        {"[body]\nbrakePower=-2e7\n", "[body] brakePower=-2e7 is out of range",
         [](const VehicleDef& d) { return d.brakePower == 0.0f; }},
        {"[body]\nangularDamping=50\n", "[body] angularDamping=50 is out of range",
         [](const VehicleDef& d) { return d.angularDamping == 0.9f; }},
        {"[body]\nlateralSlip=1.5\n", "[body] lateralSlip=1.5 is out of range",
         [](const VehicleDef& d) { return d.lateralSlip == 0.0f; }},
        {"[body]\nexhaustPos=0,-99999\n", "[body] exhaustPos=0,-99999 is out of range",
         [](const VehicleDef& d) { return d.exhaustPos == sf::Vector2i(); }},
        {"[body]\nfullSpeedSteerCurve=1,1,1,1,1,1e30,1,1,1,1,1\n", "[body] fullSpeedSteerCurve=1,1,1,1,1,1e30,1,1,1,1,1 holds a factor outside -10 to 10; using the default",
         [](const VehicleDef& d) { return d.fullSpeedSteerCurve.points.size() == 11 && d.fullSpeedSteerCurve.points[5].y == 0.97f; }},
        {"[info]\ngearsCount=1\n[gear0]\nratio=-3\n", "[gear0] ratio=-3 is out of range",
         [](const VehicleDef& d) { return d.gears.size() == 3 && d.gears[2].ratio == 1.0f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        orv::Log::reset();
        orv::Log::open("test.log");
        const VehicleDef* def = load(c.text);
        ASSERT_NE(def, nullptr);
        EXPECT_TRUE(c.kept(*def));
        const std::string text = log();
        EXPECT_NE(text.find("Warning: Vehicle Data/Cars/Test.ini: " + std::string(c.warning)), std::string::npos) << text;
        EXPECT_EQ(text.find("Warning: "), text.rfind("Warning: ")) << "one line: " << text;
    }
}

TEST_F(VehicleDefFile, SectionNamesIgnoreCase)
{
    const VehicleDef* def = load("[Body]\nMaxSpeed=33\n[ENGINE]\nidlerpm=900\n");
    ASSERT_NE(def, nullptr);
    EXPECT_FLOAT_EQ(def->maxSpeed, 33.0f);
    EXPECT_FLOAT_EQ(def->idleRPM, 900.0f);
}

TEST_F(VehicleDefFile, UnreadableFileAddsNothing)
{
    defs.clear();
    EXPECT_FALSE(loadVehicleDef("Data/Cars/Missing.ini", defs));
    EXPECT_TRUE(defs.empty());
    EXPECT_TRUE(logged("Failed to load file Data/Cars/Missing.ini"));
}

TEST_F(VehicleDefFile, SaveThenLoadGivesTheSameDefinition)
{
    const VehicleDef* original =
        load("[info]\nwheelTypesCount=2\nwheelMountsCount=3\ngearsCount=2\nminGearTime=1.5\n"
             "[sound]\nminPitch=0.8\nmaxPitch=1.4\n"
             "[body]\nimageRect=1,2,30,60\nmass=155.5\ntracks=True\nmaxSpeed=42\nlateralSlip=0.1\n"
             "autoLateralSlip=True\npower=9000\nsteerSpeed=90\ninstantSteer=True\n"
             "fullSpeedSteerCurve=1,0.99,0.985,0.98,0.975,0.97,0.96,0.95,0.9,0.7,0.65\nsteerBoost=1.5\n"
             "steerTorqueBoost=3\nlinearDamping=0.3\nangularDamping=1.1\nrestitution=0.4\nbrakePower=700\n"
             "reverseRatio=0.6\nexhaustPos=-5,28\n"
             "[engine]\nidleRPM=800\nmaxRPM=6000\nacceleration=1500\n"
             "[wheelType0]\nimageRect=40,0,6,12\n[wheelType1]\nimageRect=50,0,8,14\nwheelVisible=False\n"
             "[wheelMount0]\npos=-12,-18\nwheelType=1\ndrive=False\nmaxSteerAngle=-25\nmassRatio=0.5\n"
             "[wheelMount1]\npos=12,-18\n[wheelMount2]\npos=0,20\nmaxSteerAngle=0\n"
             "[gear0]\nratio=2.5\npitch=1.05\n[gear1]\nratio=1.25\npitch=1.15\n");
    ASSERT_NE(original, nullptr);
    const VehicleDef before = *original;
    ASSERT_TRUE(saveVehicleDef("Data/Cars/Copy.ini", before));
    const VehicleDef* after = load(testutil::readFile("Data/Cars/Copy.ini"), "Data/Cars/Copy.ini");
    ASSERT_NE(after, nullptr);

    // Every field the tuning editor can tell apart reads back as saved.
    for (const FieldChange& change : definitionChanges(before, *after))
        ADD_FAILURE() << change.label << ": saved " << change.before << ", read back " << change.after;
}

TEST_F(VehicleDefFile, CurveKeepsShortFractionsInASave)
{
    const VehicleDef* def = load("[body]\nmass=1\n");
    ASSERT_NE(def, nullptr);
    ASSERT_TRUE(saveVehicleDef("Data/Cars/Out.ini", *def));
    const std::string text = testutil::readFile("Data/Cars/Out.ini");
    EXPECT_TRUE(testutil::has(text, ",0.985,")) << text;
    EXPECT_EQ(text.find("0.98500"), std::string::npos) << text;
}

TEST_F(VehicleDefFile, FailedSaveIsReportedAsAFailure)
{
    const VehicleDef* def = load("[body]\nmass=1\n");
    ASSERT_NE(def, nullptr);
    ::mkdir("Data/Cars/Folder.ini", 0755); // a folder where the file should go
    EXPECT_FALSE(saveVehicleDef("Data/Cars/Folder.ini", *def));
    EXPECT_FALSE(saveVehicleDef("Data/NoSuchFolder/Out.ini", *def));
    const std::string text = log();
    EXPECT_TRUE(testutil::has(text, "Failed to save file Data/Cars/Folder.ini: "));
    EXPECT_TRUE(testutil::has(text, "Failed to save file Data/NoSuchFolder/Out.ini: "));
}

TEST(SteerCurve, ElevenNumbersOrTheOldCurveAndWhy)
{
    SteerCurve curve;
    EXPECT_EQ(formatSteerCurve(curve), "");
    parseSteerCurve("1,2.5,0.25,0,0,0,0,0,0,0,12.125", curve);
    EXPECT_EQ(formatSteerCurve(curve), "1,2.5,0.25,0,0,0,0,0,0,0,12.125");
    const std::vector<sf::Vector2f> before = curve.points;
    parseSteerCurve("1,1,1,1,1,1,1,1,1,1", curve);
    EXPECT_EQ(curve.points, before);
    EXPECT_EQ(curve.error, "11 points expected, found 10");
    parseSteerCurve(" 1, 0.5 ,0,0,0,0,0,0,0,0,0", curve);
    EXPECT_TRUE(curve.error.empty());
    EXPECT_FLOAT_EQ(curve.points[1].y, 0.5f);
    EXPECT_FLOAT_EQ(curve.points[10].x, 1.0f);
}

TEST(SteerCurve, FactorInterpolatesBetweenPoints)
{
    SteerCurve curve;
    parseSteerCurve("1,0.99,0.985,0.98,0.975,0.97,0.96,0.95,0.9,0.7,0.5", curve);
    struct Case {
        float f;
        float factor;
    };
    const Case cases[] = {{0.0f, 1.0f}, {0.05f, 0.995f}, {0.25f, 0.9825f}, {0.85f, 0.8f}, {0.95f, 0.6f}, {1.0f, 0.5f}};
    for (const Case& c : cases)
        EXPECT_NEAR(steerCurveFactor(curve, c.f), c.factor, 1e-5f) << "f=" << c.f;

    SteerCurve none;
    EXPECT_FLOAT_EQ(steerCurveFactor(none, 0.5f), 0.0f);
    SteerCurve one;
    one.points = {{0.0f, 0.75f}};
    EXPECT_FLOAT_EQ(steerCurveFactor(one, 0.5f), 0.75f);
}

TEST_F(VehicleDefFile, TenCurveNumbersInAFileLeaveNoCurve)
{
    const VehicleDef* def = load("[body]\nfullSpeedSteerCurve=1,1,1,1,1,1,1,1,1,1\n");
    ASSERT_NE(def, nullptr);
    EXPECT_TRUE(def->fullSpeedSteerCurve.points.empty());
    EXPECT_EQ(def->fullSpeedSteerCurve.error, "11 points expected, found 10");
}

// Sound names round trip through the bank; an unset sound saves empty and
// reads back as the default.
class VehicleDefSounds : public VehicleDefFile {
protected:
    void SetUp() override
    {
        VehicleDefFile::SetUp();
        orv::coreConfig = orv::CoreConfig();
        orv::Audio::init();
        soundfiles::writeTone("Data/Sounds/Engine/Engine_Car_a_Idle.wav", 2205, 1);
        soundfiles::writeTone("Data/Sounds/Engine/Engine_Car_a_Moving.wav", 2205, 1);
        soundfiles::writeTone("Data/Sounds/Horns/Horn_Default.wav", 2205, 1);
        soundfiles::writeTone("Data/Sounds/Horns/Horn_Truck.wav", 2205, 1);
        orv::Audio::loadSounds("Data/Sounds", "");
    }
    void TearDown() override
    {
        orv::Audio::close();
        VehicleDefFile::TearDown();
    }
};

TEST_F(VehicleDefSounds, IdleSoundZeroSavesEmptyAndReadsBackAsDefault)
{
    const VehicleDef* def = load("[sound]\nhornSound=Horns\\Horn_Truck\n");
    ASSERT_NE(def, nullptr);
    const int defaultIdle = orv::Audio::getSoundNumber("Engine\\Engine_Car_a_Idle", false);
    ASSERT_GE(defaultIdle, 1);
    EXPECT_EQ(def->idleSound, defaultIdle);
    EXPECT_EQ(def->hornSound, orv::Audio::getSoundNumber("Horns\\Horn_Truck", false));

    VehicleDef silent = *def;
    silent.idleSound = 0;
    ASSERT_TRUE(saveVehicleDef("Data/Cars/Silent.ini", silent));
    const std::string text = testutil::readFile("Data/Cars/Silent.ini");
    EXPECT_TRUE(testutil::has(text, "idleSound=\n")) << text;
    EXPECT_TRUE(testutil::has(text, "hornSound=Horns\\Horn_Truck")) << text;

    const VehicleDef* back = load(text, "Data/Cars/Silent.ini");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->idleSound, defaultIdle);
    EXPECT_EQ(back->hornSound, def->hornSound);
}
