#pragma once
// Every value a vehicle file holds, described once: where it lives in the
// file, what the editor calls it, its unit, the range the loader accepts and
// where it sits in a definition. Loading, saving, the differences the editor
// lists and undoes, recordings and setting a field by name all walk this
// table, so a field added here is handled everywhere.

#include "vehicle/VehicleDef.h"
#include "vehicle/VehicleLimits.h"

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

/// How a field is written and read.
enum class FieldType {
    Number, ///< a float
    Whole,  ///< an int read as a number and cut to a whole one
    Switch, ///< True/False
    Offset, ///< x,y picture pixels from the body's centre
    Rect,   ///< left,top,width,height in the vehicle picture
    Curve,  ///< the 11 points of the steering curve
    Sound,  ///< a sound bank name, kept as its number
};

/// Which list a field belongs to; None for the vehicle's own fields.
enum class FieldList { None, WheelType, WheelMount, Gear };

/// Where a field's value sits in a definition; the alternative follows the type.
using FieldRef = std::variant<float*, int*, bool*, sf::Vector2i*, sf::IntRect*, SteerCurve*>;

/// How the tuning editor shows a field.
struct FieldEditor {
    enum Kind {
        Input,    ///< a number field with - and + buttons, a check box, a combo
        Slider,   ///< a slider between `slider`'s ends
        ReadOnly, ///< shown greyed: changing it needs the vehicle built again
    };
    Kind kind = Input;
    float step = 1.0f;              ///< the - and + buttons' step
    float fastStep = 10.0f;         ///< the step with Ctrl held
    const char* format = "%.3f";    ///< the shown value, with its unit
    ValueRange slider{0.0f, 0.0f};  ///< a slider's ends ({0, 0}: the range); typed values are clamped to them
    float scale = 1.0f;             ///< shown = stored * scale (km/h for m/s)
    const char* label = nullptr;    ///< the editor's label when not the table's
    /// True when the field cannot be changed now (null: always can).
    bool (*disabled)(const VehicleDef& def) = nullptr;
};

struct VehicleField {
    FieldList list;
    const char* section; ///< "body", or the list's section base ("wheelMount")
    const char* key;
    const char* group; ///< the editor's heading the label sits under
    const char* label;
    const char* unit; ///< "" for a plain factor or count
    FieldType type;
    ValueRange range; ///< what the loader and the editor accept (numbers)
    /// The value for the list entry (index ignored outside lists); the
    /// entry must exist.
    FieldRef (*at)(VehicleDef& def, std::size_t index);
    /// The default of a number the file lacks when it follows values read
    /// before it (power from mass); null: the definition's own default.
    float (*defaultFrom)(const VehicleDef& def) = nullptr;
    /// The default sound name of a Sound field; its folder names the
    /// sounds the editor offers for it.
    const char* defaultText = "";
    FieldEditor editor = {};
};

/// The table, in file order: sections info, sound, body, engine, then the
/// lists' sections.
const std::vector<VehicleField>& vehicleFields();

/// The label the tuning editor shows for the field.
const char* editorLabel(const VehicleField& field);

/// Entries of the field's list in `def` (1 outside lists).
std::size_t fieldEntries(const VehicleField& field, const VehicleDef& def);
/// The editor's label with its place: "Body / Power", "Wheel 2 / Drive".
std::string fieldLabel(const VehicleField& field, std::size_t index);
/// The value as the editor's list of changes shows it.
std::string fieldText(const VehicleField& field, const VehicleDef& def, std::size_t index);
/// True when both hold the same value (NaN equals NaN, so nothing is
/// reported changed for ever).
bool sameField(const VehicleField& field, const VehicleDef& a, const VehicleDef& b, std::size_t index);
/// The file name of a field: "body.mass", "wheelMount2.maxSteerAngle",
/// "gear0.ratio" (gears count from the first forward gear, as in the file).
std::string fieldName(const VehicleField& field, std::size_t index);

/// The number field `name` (as fieldName gives it; case matters not) with
/// its list entry in `index`; null with the reason in `error` when there is
/// no such number field or no such entry.
const VehicleField* findNumberField(const VehicleDef& def, const std::string& name, std::size_t& index,
                                    std::string& error);
/// Sets the number field `name` (as fieldName gives it; case matters not) to
/// `value`; false with the reason in `error` when there is no such number
/// field, no such entry, or the value is outside the field's range.
bool setVehicleField(VehicleDef& def, const std::string& name, double value, std::string& error);
/// Reads the number field `name` into `value`; false when there is none.
bool getVehicleField(const VehicleDef& def, const std::string& name, double& value);
