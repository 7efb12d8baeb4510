// The one description of a vehicle's fields: every field, changed on its
// own, survives a save and a load, shows in the editor's list of changes
// under its own label, comes back with undo and redo, and survives a drive
// recording; number fields can be set by name within their ranges only.
#include "../audio/SoundFiles.h"
#include "VehicleFixture.h"
#include "app/EditHistory.h"
#include "audio/Audio.h"
#include "framework/CoreConfig.h"
#include "vehicle/DriveRecording.h"
#include "vehicle/VehicleFields.h"

#include <set>
#include <variant>

using vehiclefixture::VehicleTest;

namespace {

// Two wheel types, three mounts and two forward gears, so every list has
// entries past its first.
const std::string richCar = std::string(vehiclefixture::fastCarText) +
                            "[info]\nwheelTypesCount=2\nwheelMountsCount=3\ngearsCount=2\n"
                            "[wheelType1]\nimageRect=40,0,6,12\n";

class VehicleFieldsTest : public VehicleTest {
protected:
    void SetUp() override
    {
        VehicleTest::SetUp();
        orv::coreConfig = orv::CoreConfig();
        orv::Audio::init();
        for (const char* name : {"Engine/Engine_Car_a_Idle", "Engine/Engine_Car_a_Moving", "Horns/Horn_Default",
                                 "Horns/Horn_Truck"})
            soundfiles::writeTone(std::string("Data/Sounds/") + name + ".wav", 2205, 1);
        orv::Audio::loadSounds("Data/Sounds", "");
    }
    void TearDown() override
    {
        orv::Audio::close();
        VehicleTest::TearDown();
    }
};

// A value no default and no other field holds, so a field written to or
// read from the wrong place shows.
void changeField(const VehicleField& field, VehicleDef& def, std::size_t index, int salt)
{
    const FieldRef ref = field.at(def, index);
    switch (field.type) {
    case FieldType::Number: {
        float& v = *std::get<float*>(ref);
        v = std::min(field.range.hi, std::max(field.range.lo, 0.5f + 0.25f * static_cast<float>(salt)));
        if (field.range.hi <= 1.0f)
            v = 0.01f * static_cast<float>(salt % 90 + 5);
        break;
    }
    case FieldType::Whole:
        *std::get<int*>(ref) = field.key == std::string("wheelType") ? 1 : 3 + salt % 50;
        break;
    case FieldType::Switch:
        *std::get<bool*>(ref) = !*std::get<bool*>(ref);
        break;
    case FieldType::Offset:
        *std::get<sf::Vector2i*>(ref) = sf::Vector2i(salt, -salt - 1);
        break;
    case FieldType::Rect:
        *std::get<sf::IntRect*>(ref) = sf::IntRect(salt, 1, 7, 9);
        break;
    case FieldType::Curve: {
        SteerCurve& curve = *std::get<SteerCurve*>(ref);
        for (sf::Vector2f& p : curve.points)
            p.y *= 0.5f;
        break;
    }
    case FieldType::Sound:
        *std::get<int*>(ref) = orv::Audio::getSoundNumber("Horns\\Horn_Truck", false);
        break;
    }
}

struct Entry {
    const VehicleField* field;
    std::size_t index;
};

std::vector<Entry> everyEntry(const VehicleDef& def)
{
    std::vector<Entry> entries;
    for (const VehicleField& field : vehicleFields())
        for (std::size_t i = 0; i < fieldEntries(field, def); ++i)
            entries.push_back({&field, i});
    return entries;
}

} // namespace

TEST_F(VehicleFieldsTest, EveryFieldRoundTripsThroughFileDifferencesUndoAndRecordings)
{
    const VehicleDef base = loadCar("rich", richCar);
    ASSERT_EQ(base.wheelTypes.size(), 2u);
    ASSERT_EQ(base.wheelMounts.size(), 3u);
    ASSERT_EQ(base.gears.size(), 4u);
    const std::vector<Entry> entries = everyEntry(base);
    std::set<std::string> labels, names;
    int salt = 0;
    for (const Entry& e : entries) {
        const std::string label = fieldLabel(*e.field, e.index);
        SCOPED_TRACE(label);
        EXPECT_TRUE(labels.insert(label).second) << "labels tell fields apart";
        EXPECT_TRUE(names.insert(fieldName(*e.field, e.index)).second);

        VehicleDef changed = base;
        changeField(*e.field, changed, e.index, ++salt);
        ASSERT_FALSE(sameField(*e.field, base, changed, e.index));

        // The editor's list names this change and nothing else.
        const std::vector<FieldChange> changes = definitionChanges(base, changed);
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].label, label);
        EXPECT_EQ(changes[0].after, fieldText(*e.field, changed, e.index));

        // Saved and read back, it comes back alone.
        ASSERT_TRUE(saveVehicleDef("Data/Cars/rich.ini", changed));
        std::vector<VehicleDef> read;
        ASSERT_TRUE(loadVehicleDef("Data/Cars/rich.ini", read));
        EXPECT_TRUE(definitionChanges(changed, read.back()).empty())
            << definitionChanges(changed, read.back()).front().label;

        // Undone and redone.
        EditHistory history;
        VehicleDef edited = base;
        history.reset(edited);
        edited = changed;
        ASSERT_TRUE(history.commit(edited));
        ASSERT_TRUE(history.undo(edited, nullptr));
        EXPECT_TRUE(sameField(*e.field, base, edited, e.index));
        ASSERT_TRUE(history.redo(edited, nullptr));
        EXPECT_TRUE(sameField(*e.field, changed, edited, e.index));
    }
    EXPECT_GE(entries.size(), 40u);

    // A recording carries the vehicle's values: every field changed at once.
    VehicleDef all = base;
    salt = 0;
    for (const Entry& e : entries)
        changeField(*e.field, all, e.index, ++salt);
    DriveRecording recording;
    recording.definition = all;
    recording.vehicleName = "rich";
    recording.mapPath = "Data\\Maps\\flat.map";
    recording.inputs.assign(3, StepInput{});
    ASSERT_TRUE(saveDriveRecording("drive.rec", recording));
    DriveRecording loaded;
    ASSERT_TRUE(loadDriveRecording("drive.rec", loaded));
    const std::vector<FieldChange> lost = definitionChanges(all, loaded.definition);
    EXPECT_TRUE(lost.empty()) << lost.front().label;
}

TEST_F(VehicleFieldsTest, NumberFieldsAreSetByNameWithinTheirRanges)
{
    VehicleDef def = loadCar("rich", richCar);
    std::string error;
    for (const Entry& e : everyEntry(def)) {
        if (e.field->type != FieldType::Number && e.field->type != FieldType::Whole)
            continue;
        const std::string name = fieldName(*e.field, e.index);
        SCOPED_TRACE(name);
        const double wanted = e.field->type == FieldType::Whole ? 7.0 : static_cast<double>(e.field->range.hi);
        ASSERT_TRUE(setVehicleField(def, name, wanted, error)) << error;
        double read = 0.0;
        ASSERT_TRUE(getVehicleField(def, name, read));
        EXPECT_EQ(read, wanted);
        EXPECT_FALSE(setVehicleField(def, name, static_cast<double>(e.field->range.hi) * 2.0 + 1.0, error));
        EXPECT_FALSE(setVehicleField(def, name, std::nan(""), error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(def.gears[firstForwardGear + 1].ratio, vehicleLimits::gearRatio.hi) << "gear1 is the second forward gear";

    struct Refused {
        const char* name;
        const char* reason;
    };
    const Refused refused[] = {
        {"body.nothing", "is not a vehicle field"},
        {"mass", "is not a field name"},
        {"body.tracks", "is not a number"},
        {"wheelMount3.massRatio", "the vehicle has 3 wheelMount entries"},
        {"gear2.ratio", "the vehicle has 2 gear entries"},
        {"body0.mass", "is not a vehicle field"},
        {"wheelMount.massRatio", "is not a vehicle field"},
        {"wheelMount99999999.massRatio", "is not a field name"},
        {"gear1.pitch", ""},
        {"BODY.MASS", ""},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.name);
        error.clear();
        const bool set = setVehicleField(def, r.name, 2.0, error);
        EXPECT_EQ(set, std::string(r.reason).empty());
        EXPECT_NE(error.find(r.reason), std::string::npos) << error;
    }
}
