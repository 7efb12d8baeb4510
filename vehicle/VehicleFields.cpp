#include "vehicle/VehicleFields.h"

#include "audio/Audio.h"
#include "framework/StringUtil.h"
#include "world/Units.h"

#include <cmath>

namespace {

// Labels and keys are the file's and the editor's own; the engine's three
// values sit under "Body" in the editor although the file keeps them apart.
using L = FieldList;
using T = FieldType;
namespace lim = vehicleLimits;
constexpr ValueRange none{0.0f, 0.0f};
// Wheel types are checked against the list when the file is read, so any
// whole number gets that far.
constexpr ValueRange anyWhole{-1.0e9f, 1.0e9f};

// How the editor shows its fields: steps of a tenth or of five, a slider,
// greyed out; the default steps by one.
constexpr FieldEditor tenths{FieldEditor::Input, 0.1f, 1.0f};
constexpr FieldEditor fives{FieldEditor::Input, 1.0f, 5.0f};
constexpr FieldEditor readOnly{FieldEditor::ReadOnly};
constexpr FieldEditor slider(ValueRange range)
{
    return {FieldEditor::Slider, 1.0f, 10.0f, "%.3f", range};
}

GearDef& forwardGear(VehicleDef& def, std::size_t index)
{
    return def.gears[firstForwardGear + index];
}

std::vector<VehicleField> makeFields()
{
    return {
        {L::None, "info", "minGearTime", "Gears", "Min Gear Time", "s", T::Number, lim::minGearTime,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.minGearTime; },
         nullptr, "", {FieldEditor::Input, 0.25f, 1.0f, "%.3fs"}},
        {L::None, "sound", "idleSound", "Sound", "Idle Sound", "", T::Sound, none,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.idleSound; }, nullptr, "Engine\\Engine_Car_a_Idle"},
        {L::None, "sound", "movingSound", "Sound", "Moving Sound", "", T::Sound, none,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.movingSound; }, nullptr, "Engine\\Engine_Car_a_Moving"},
        {L::None, "sound", "hornSound", "Sound", "Horn Sound", "", T::Sound, none,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.hornSound; }, nullptr, "Horns\\Horn_Default"},
        {L::None, "sound", "minPitch", "Sound", "Min Pitch", "", T::Number, lim::pitch,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.minPitch; },
         nullptr, "", tenths},
        {L::None, "sound", "maxPitch", "Sound", "Max Pitch", "", T::Number, lim::pitch,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.maxPitch; },
         nullptr, "", tenths},
        {L::None, "body", "imageRect", "Body", "Image Rect", "px", T::Rect, none,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.imageRect; },
         nullptr, "", readOnly},
        // 0 is the format's own default (a body Box2D gives a token mass).
        {L::None, "body", "mass", "Body", "Mass", "kg/m2", T::Number, lim::mass,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.mass; },
         nullptr, "", fives},
        {L::None, "body", "tracks", "Body", "Tracks", "", T::Switch, none,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.tracks; }},
        {L::None, "body", "maxSpeed", "Body", "Max Speed (m/s)", "m/s", T::Number, lim::maxSpeed,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.maxSpeed; },
         nullptr, "", {FieldEditor::Input, 1.0f, 5.0f, "%.3fkm/h", none, kmhPerMs, "Max Speed"}},
        {L::None, "body", "lateralSlip", "Body", "Lateral Slip", "", T::Number, lim::lateralSlip,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.lateralSlip; },
         nullptr, "", {FieldEditor::Slider, 1.0f, 10.0f, "%.3f", lim::lateralSlip, 1.0f, nullptr,
          [](const VehicleDef& d) { return d.autoLateralSlip; }}},
        {L::None, "body", "autoLateralSlip", "Body", "Auto Lateral Slip", "", T::Switch, none,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.autoLateralSlip; }},
        {L::None, "body", "power", "Body", "Power", "N", T::Number, lim::power,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.power; },
         [](const VehicleDef& d) { return d.mass * 40.0f; }, "", fives},
        {L::None, "body", "steerSpeed", "Body", "Steer Speed", "deg/s", T::Number, lim::steerSpeed,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.steerSpeed; },
         nullptr, "", {FieldEditor::Input, 1.0f, 10.0f, "%.3fdeg/s"}},
        {L::None, "body", "instantSteer", "Body", "Instant Steer", "", T::Switch, none,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.instantSteer; }},
        {L::None, "body", "fullSpeedSteerCurve", "Body", "Full Speed Steer Curve", "", T::Curve, lim::steerCurvePoint,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.fullSpeedSteerCurve; },
         nullptr, "", {FieldEditor::Input, 0.1f, 0.5f}},
        {L::None, "body", "steerBoost", "Body", "Steer Boost", "", T::Number, lim::steerBoost,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.steerBoost; },
         nullptr, "", tenths},
        {L::None, "body", "steerTorqueBoost", "Body", "Steer Torque Boost", "", T::Number, lim::steerTorqueBoost,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.steerTorqueBoost; }},
        // Box2D refuses (asserts on) negative damping.
        {L::None, "body", "linearDamping", "Body", "Linear Damping", "1/s", T::Number, lim::damping,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.linearDamping; },
         nullptr, "", slider(lim::damping)},
        {L::None, "body", "angularDamping", "Body", "Angular Damping", "1/s", T::Number, lim::damping,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.angularDamping; },
         nullptr, "", slider(lim::damping)},
        {L::None, "body", "restitution", "Body", "Restitution", "", T::Number, lim::restitution,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.restitution; },
         nullptr, "", slider(lim::restitution)},
        {L::None, "body", "brakePower", "Body", "Brake Power", "N", T::Number, lim::brakePower,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.brakePower; },
         [](const VehicleDef& d) { return d.mass * 1.3f; }},
        {L::None, "body", "reverseRatio", "Body", "Reverse Ratio", "", T::Number, lim::reverseRatio,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.reverseRatio; },
         nullptr, "", tenths},
        {L::None, "body", "exhaustPos", "Body", "Exhaust Pos", "px", T::Offset, lim::offset,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.exhaustPos; }},
        {L::None, "engine", "idleRPM", "Body", "Idle RPM", "rpm", T::Number, lim::rpm,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.idleRPM; }},
        {L::None, "engine", "maxRPM", "Body", "Max RPM", "rpm", T::Number, lim::rpm,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.maxRPM; }},
        {L::None, "engine", "acceleration", "Body", "Acceleration", "rpm/s", T::Number, lim::acceleration,
         [](VehicleDef& d, std::size_t) -> FieldRef { return &d.acceleration; }},

        {L::WheelType, "wheelType", "imageRect", "Wheel Type", "Image Rect", "px", T::Rect, none,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &d.wheelTypes[i].imageRect; },
         nullptr, "", readOnly},
        {L::WheelType, "wheelType", "wheelVisible", "Wheel Type", "Visible", "", T::Switch, none,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &d.wheelTypes[i].wheelVisible; },
         nullptr, "", readOnly},

        {L::WheelMount, "wheelMount", "pos", "Wheel", "Position", "px", T::Offset, lim::offset,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &d.wheelMounts[i].pos; },
         nullptr, "", readOnly},
        {L::WheelMount, "wheelMount", "wheelType", "Wheel", "Wheel Type", "", T::Whole, anyWhole,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &d.wheelMounts[i].wheelType; },
         nullptr, "", readOnly},
        {L::WheelMount, "wheelMount", "drive", "Wheel", "Drive", "", T::Switch, none,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &d.wheelMounts[i].drive; }},
        {L::WheelMount, "wheelMount", "maxSteerAngle", "Wheel", "Max Steer Angle", "deg", T::Whole, lim::steerAngle,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &d.wheelMounts[i].maxSteerAngle; }},
        {L::WheelMount, "wheelMount", "massRatio", "Wheel", "Mass Ratio", "", T::Number, lim::massRatio,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &d.wheelMounts[i].massRatio; },
         nullptr, "", tenths},

        {L::Gear, "gear", "ratio", "Gear", "Ratio", "", T::Number, lim::gearRatio,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &forwardGear(d, i).ratio; },
         nullptr, "", tenths},
        {L::Gear, "gear", "pitch", "Gear", "Pitch", "", T::Number, lim::pitch,
         [](VehicleDef& d, std::size_t i) -> FieldRef { return &forwardGear(d, i).pitch; },
         nullptr, "", tenths},
    };
}

template <typename V>
const V& get(const VehicleField& field, const VehicleDef& def, std::size_t index)
{
    // The table hands out pointers into a definition; reading through it
    // changes nothing.
    return *std::get<V*>(field.at(const_cast<VehicleDef&>(def), index));
}

bool same(float a, float b) { return a == b || (a != a && b != b); }

// "wheelMount12.pos" splits into the list's base, the entry and the key.
bool splitName(const std::string& name, std::string& section, std::size_t& index, bool& indexed, std::string& key)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 >= name.size())
        return false;
    section = name.substr(0, dot);
    key = name.substr(dot + 1);
    std::size_t digits = section.size();
    while (digits > 0 && section[digits - 1] >= '0' && section[digits - 1] <= '9')
        --digits;
    indexed = digits < section.size();
    if (!indexed)
        return true;
    if (section.size() - digits > 4)
        return false;
    index = static_cast<std::size_t>(std::stoul(section.substr(digits)));
    section.resize(digits);
    return true;
}

} // namespace

const VehicleField* findNumberField(const VehicleDef& def, const std::string& name, std::size_t& index,
                                    std::string& error)
{
    std::string section, key;
    bool indexed = false;
    index = 0;
    if (!splitName(name, section, index, indexed, key)) {
        error = "\"" + name + "\" is not a field name (section.key, e.g. body.mass or gear0.ratio)";
        return nullptr;
    }
    for (const VehicleField& field : vehicleFields()) {
        if (!orv::equalsIgnoreCase(section, field.section) || !orv::equalsIgnoreCase(key, field.key))
            continue;
        if (indexed != (field.list != FieldList::None))
            break;
        if (field.type != FieldType::Number && field.type != FieldType::Whole) {
            error = "\"" + name + "\" is not a number";
            return nullptr;
        }
        if (index >= fieldEntries(field, def)) {
            error = "\"" + name + "\": the vehicle has " + std::to_string(fieldEntries(field, def)) + " " +
                    field.section + " entries";
            return nullptr;
        }
        return &field;
    }
    error = "\"" + name + "\" is not a vehicle field";
    return nullptr;
}

const std::vector<VehicleField>& vehicleFields()
{
    static const std::vector<VehicleField> fields = makeFields();
    return fields;
}

const char* editorLabel(const VehicleField& field)
{
    return field.editor.label ? field.editor.label : field.label;
}

std::size_t fieldEntries(const VehicleField& field, const VehicleDef& def)
{
    switch (field.list) {
    case FieldList::WheelType:
        return def.wheelTypes.size();
    case FieldList::WheelMount:
        return def.wheelMounts.size();
    case FieldList::Gear:
        return def.gears.size() > firstForwardGear ? def.gears.size() - firstForwardGear : 0;
    case FieldList::None:
        break;
    }
    return 1;
}

std::string fieldLabel(const VehicleField& field, std::size_t index)
{
    // Wheels and forward gears count from 1 as people name them; wheel
    // types keep the file's numbers, by which mounts refer to them.
    switch (field.list) {
    case FieldList::WheelType:
        return std::string(field.group) + " " + std::to_string(index) + " / " + field.label;
    case FieldList::WheelMount:
    case FieldList::Gear:
        return std::string(field.group) + " " + std::to_string(index + 1) + " / " + field.label;
    case FieldList::None:
        break;
    }
    return std::string(field.group) + " / " + field.label;
}

std::string fieldText(const VehicleField& field, const VehicleDef& def, std::size_t index)
{
    switch (field.type) {
    case FieldType::Number:
        return orv::format("%.3f", static_cast<double>(get<float>(field, def, index)));
    case FieldType::Whole:
        return std::to_string(get<int>(field, def, index));
    case FieldType::Switch:
        return get<bool>(field, def, index) ? "on" : "off";
    case FieldType::Offset: {
        const sf::Vector2i& v = get<sf::Vector2i>(field, def, index);
        return std::to_string(v.x) + "," + std::to_string(v.y);
    }
    case FieldType::Rect: {
        const sf::IntRect& r = get<sf::IntRect>(field, def, index);
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
               std::to_string(r.height);
    }
    case FieldType::Curve:
        return formatSteerCurve(get<SteerCurve>(field, def, index));
    case FieldType::Sound:
        return orv::Audio::getSoundName(get<int>(field, def, index));
    }
    return std::string();
}

bool sameField(const VehicleField& field, const VehicleDef& a, const VehicleDef& b, std::size_t index)
{
    switch (field.type) {
    case FieldType::Number:
        return same(get<float>(field, a, index), get<float>(field, b, index));
    case FieldType::Whole:
    case FieldType::Sound:
        return get<int>(field, a, index) == get<int>(field, b, index);
    case FieldType::Switch:
        return get<bool>(field, a, index) == get<bool>(field, b, index);
    case FieldType::Offset:
        return get<sf::Vector2i>(field, a, index) == get<sf::Vector2i>(field, b, index);
    case FieldType::Rect:
        return get<sf::IntRect>(field, a, index) == get<sf::IntRect>(field, b, index);
    case FieldType::Curve: {
        const SteerCurve& ca = get<SteerCurve>(field, a, index);
        const SteerCurve& cb = get<SteerCurve>(field, b, index);
        if (ca.points.size() != cb.points.size())
            return false;
        for (std::size_t i = 0; i < ca.points.size(); ++i)
            if (!same(ca.points[i].x, cb.points[i].x) || !same(ca.points[i].y, cb.points[i].y))
                return false;
        return true;
    }
    }
    return true;
}

std::string fieldName(const VehicleField& field, std::size_t index)
{
    const std::string entry = field.list == FieldList::None ? std::string() : std::to_string(index);
    return std::string(field.section) + entry + "." + field.key;
}

bool setVehicleField(VehicleDef& def, const std::string& name, double value, std::string& error)
{
    std::size_t index = 0;
    const VehicleField* field = findNumberField(def, name, index, error);
    if (!field)
        return false;
    const float v = static_cast<float>(value);
    if (!field->range.contains(v) || (field->type == FieldType::Whole && v != std::trunc(v))) {
        error = "\"" + name + "\": " + orv::format("%g", value) + " is not a " +
                (field->type == FieldType::Whole ? "whole number" : "number") + " from " +
                orv::format("%g", static_cast<double>(field->range.lo)) + " to " +
                orv::format("%g", static_cast<double>(field->range.hi));
        return false;
    }
    const FieldRef ref = field->at(def, index);
    if (field->type == FieldType::Whole)
        *std::get<int*>(ref) = static_cast<int>(v);
    else
        *std::get<float*>(ref) = v;
    return true;
}

bool getVehicleField(const VehicleDef& def, const std::string& name, double& value)
{
    std::size_t index = 0;
    std::string error;
    const VehicleField* field = findNumberField(def, name, index, error);
    if (!field)
        return false;
    value = field->type == FieldType::Whole ? static_cast<double>(get<int>(*field, def, index))
                                            : static_cast<double>(get<float>(*field, def, index));
    return true;
}
