// The tuning editor's file: File > Save writes back to the very file the
// definition was read from, and the re-read of that file that runs every
// frame never waits on something that is not a regular file.
#include "../vehicle/VehicleFixture.h"
#include "app/EditTracking.h"
#include "app/TuningEditor.h"

#include <filesystem>

using vehiclefixture::carText;

namespace {

std::vector<std::string> carFiles()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("Data/Cars"))
        names.push_back(entry.path().filename().string());
    return names;
}

class DefinitionFile : public testutil::LoggedTest {
protected:
    void TearDown() override
    {
        vehicleDefs.clear();
        LoggedTest::TearDown();
    }
};

} // namespace

TEST_F(DefinitionFile, SaveWritesTheFileItCameFrom)
{
    for (const char* file : {"Zed.INI", "Zed.ini", "Zed.Ini"}) {
        SCOPED_TRACE(file);
        std::filesystem::remove_all("Data/Cars");
        testutil::writeFile(std::string("Data/Cars/") + file, carText);
        loadVehicleDefs();
        ASSERT_EQ(vehicleDefs.size(), 1u);
        vehicleDefs[0].power = 1234.0f;
        ASSERT_TRUE(saveDefinition(vehicleDefs[0]));
        EXPECT_EQ(carFiles(), std::vector<std::string>{file});
        loadVehicleDefs();
        ASSERT_EQ(vehicleDefs.size(), 1u) << "one file, one definition";
        EXPECT_FLOAT_EQ(vehicleDefs[0].power, 1234.0f);
    }
}

TEST_F(DefinitionFile, ReReadNeverWaitsOnAFifo)
{
    testutil::writeFile("Data/Cars/Fifo.ini", carText);
    loadVehicleDefs();
    ASSERT_EQ(vehicleDefs.size(), 1u);
    const VehicleDef& def = vehicleDefs[0];
    std::filesystem::remove("Data/Cars/Fifo.ini");
    testutil::makeFifo("Data/Cars/Fifo.ini");
    // The re-read after a save is the one every editor frame runs.
    EXPECT_TRUE(testutil::returnsWithin([&] { noteDefinitionSaved(def); }, "Data/Cars/Fifo.ini")) << "blocked";
    EXPECT_STREQ(changedMark(def), "");
    EXPECT_TRUE(logged("EditTracking: Data/Cars/Fifo.ini: not a regular file"));
}
