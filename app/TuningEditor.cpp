#include "app/TuningEditor.h"

#include "app/AppSettings.h"
#include "app/DrivingTestsPanel.h"
#include "app/EditHistory.h"
#include "app/EditTracking.h"
#include "app/FrameLoop.h"
#include "app/Hud.h"
#include "audio/Audio.h"
#include "framework/Log.h"
#include "framework/ScreenMessages.h"
#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "framework/WidgetTrace.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"
#include "vehicle/VehicleFields.h"
#include "vehicle/VehicleLimits.h"
#include "vehicle/VehicleTuning.h"
#include "world/Units.h"

#include <imgui.h>

#include <box2d/box2d.h>

#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cstdint>
#include <variant>

namespace {

struct EditorState {
    // Gears marked by a "Delete" button, removed at the start of the next
    // frame's gear list so the list never changes while it is drawn.
    std::vector<int> markedGears;
    // The last value the editor refused, shown under its fields until another
    // edit is taken. A typed "1e39" or "-5" would otherwise reach the physics.
    std::string refusal;
};

EditorState editor;

std::vector<int>& markedGears()
{
    return editor.markedGears;
}

std::string& refusalText()
{
    return editor.refusal;
}

// Logged once per new refusal: a field keeps refusing while the text stays.
void refuse(const std::string& text)
{
    if (text != refusalText())
        orv::Log::warning("Tuning Editor: " + text);
    refusalText() = text;
}

std::string rangeText(const ValueRange& range, double scale)
{
    return orv::format("%g to %g", static_cast<double>(range.lo) * scale, static_cast<double>(range.hi) * scale);
}

// Takes `candidate` into `value` when the range holds it; otherwise keeps the
// value and says why. `scale` turns stored values into shown ones (km/h).
bool take(const char* label, float candidate, float& value, const ValueRange& range, double scale = 1.0)
{
    if (!range.contains(candidate)) {
        refuse(orv::format("%s: %g is not a number from %s; kept %g", label, static_cast<double>(candidate) * scale,
                           rangeText(range, scale).c_str(), static_cast<double>(value) * scale));
        return false;
    }
    value = candidate;
    refusalText().clear();
    return true;
}

bool floatInput(const char* label, float& value, const ValueRange& range, float step, float fastStep,
                const char* format = "%.3f")
{
    float edited = value;
    return orv::traced(ImGui::InputFloat(label, &edited, step, fastStep, format), label) &&
           take(label, edited, value, range);
}

// `name` says which field a refusal is about when the label shows nothing.
bool intInput(const char* label, int& value, const ValueRange& range, const char* name = nullptr)
{
    int edited = value;
    if (!orv::traced(ImGui::InputInt(label, &edited, 1, 10), name ? name : label))
        return false;
    if (!range.contains(edited)) {
        refuse(orv::format("%s: %d is not a whole number from %s; kept %d", name ? name : label, edited,
                           rangeText(range, 1.0).c_str(), value));
        return false;
    }
    value = edited;
    refusalText().clear();
    return true;
}

bool checkbox(const char* label, bool& value)
{
    return orv::traced(ImGui::Checkbox(label, &value), label);
}

// A number as the table says to show it. Ctrl+click turns a slider into a
// text field that takes any number, "inf" and "nan" included: clamping
// catches the first, the range check the rest.
bool numberWidget(const VehicleField& field, float& value)
{
    const FieldEditor& e = field.editor;
    const char* label = editorLabel(field);
    float shown = value * e.scale;
    bool edited = false;
    if (e.kind == FieldEditor::Slider) {
        const ValueRange& ends = e.slider.lo < e.slider.hi ? e.slider : field.range;
        edited = ImGui::SliderFloat(label, &shown, ends.lo, ends.hi, e.format, ImGuiSliderFlags_AlwaysClamp);
    } else {
        edited = ImGui::InputFloat(label, &shown, e.step, e.fastStep, e.format);
    }
    orv::traceItem(label);
    return edited && take(label, shown / e.scale, value, field.range, static_cast<double>(e.scale));
}

// The body's part of the vehicle picture, 50 pixels high.
void drawHeaderImage(const Vehicle& vehicle)
{
    const sf::Texture* picture = vehicle.appearance.picture.get();
    const sf::IntRect rect = vehicle.appearance.bodySprite.getTextureRect(); // cut to the picture
    if (!picture || rect.width <= 0 || rect.height <= 0 || picture->getSize().x == 0 || picture->getSize().y == 0)
        return;
    const float scale = 50.0f / static_cast<float>(rect.height);
    const sf::Vector2f size(static_cast<float>(picture->getSize().x), static_cast<float>(picture->getSize().y));
    ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(picture->getNativeHandle())),
                 ImVec2(static_cast<float>(rect.width) * scale, 50.0f),
                 ImVec2(static_cast<float>(rect.left) / size.x, static_cast<float>(rect.top) / size.y),
                 ImVec2(static_cast<float>(rect.left + rect.width) / size.x,
                        static_cast<float>(rect.top + rect.height) / size.y));
    ImGui::SameLine();
}

// Two whole numbers side by side under one label, each refused on its own.
bool offsetWidget(const VehicleField& field, sf::Vector2i& value)
{
    const char* label = editorLabel(field);
    if (field.editor.kind == FieldEditor::ReadOnly) {
        int shown[2] = {value.x, value.y};
        ImGui::InputInt2(label, shown, ImGuiInputTextFlags_ReadOnly);
        orv::traceItem(label);
        return false;
    }
    const float half = (ImGui::CalcItemWidth() - ImGui::GetStyle().ItemInnerSpacing.x) * 0.5f;
    const std::string x = std::string(label) + " x";
    const std::string y = std::string(label) + " y";
    ImGui::PushID(label);
    ImGui::SetNextItemWidth(half);
    bool edited = intInput("##x", value.x, field.range, x.c_str());
    ImGui::SameLine(0.0f, ImGui::GetStyle().ItemInnerSpacing.x);
    ImGui::SetNextItemWidth(half);
    edited |= intInput("##y", value.y, field.range, y.c_str());
    ImGui::SameLine(0.0f, ImGui::GetStyle().ItemInnerSpacing.x);
    ImGui::TextUnformatted(label);
    orv::traceItem(label);
    ImGui::PopID();
    return edited;
}

// One combo over the sounds of the folder the field's default sound is in.
bool soundWidget(const VehicleField& field, int& number)
{
    const char* label = editorLabel(field);
    const std::string current = orv::Audio::getSoundName(number);
    if (!orv::traced(ImGui::BeginCombo(label, current.c_str()), label))
        return false;
    const std::string folder = field.defaultText;
    const std::string prefix = folder.substr(0, folder.find('\\'));
    bool chosen = false;
    for (int n = 1; n < orv::Audio::getSoundCount(); ++n) {
        const std::string name = orv::Audio::getSoundName(n);
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const bool selected = n == number;
        if (ImGui::Selectable(name.c_str(), selected)) {
            number = n;
            chosen = true;
        }
        if (selected)
            ImGui::SetItemDefaultFocus();
    }
    ImGui::EndCombo();
    return chosen;
}

// The value of one field of entry `index` as its type is edited; true when
// the user changed it.
bool fieldWidget(const VehicleField& field, const FieldRef& ref)
{
    const char* label = editorLabel(field);
    switch (field.type) {
    case FieldType::Number:
        return numberWidget(field, *std::get<float*>(ref));
    case FieldType::Whole:
        if (field.editor.kind == FieldEditor::ReadOnly) {
            int shown = *std::get<int*>(ref);
            ImGui::InputInt(label, &shown, 0, 0, ImGuiInputTextFlags_ReadOnly);
            orv::traceItem(label);
            return false;
        }
        return intInput(label, *std::get<int*>(ref), field.range);
    case FieldType::Switch:
        return checkbox(label, *std::get<bool*>(ref));
    case FieldType::Offset:
        return offsetWidget(field, *std::get<sf::Vector2i*>(ref));
    case FieldType::Rect: {
        const sf::IntRect& r = *std::get<sf::IntRect*>(ref);
        int shown[4] = {r.left, r.top, r.width, r.height};
        ImGui::InputInt4(label, shown, ImGuiInputTextFlags_ReadOnly);
        orv::traceItem(label);
        return false;
    }
    case FieldType::Curve: {
        if (!orv::traced(ImGui::TreeNode(label), label))
            return false;
        bool edited = false;
        std::vector<sf::Vector2f>& points = std::get<SteerCurve*>(ref)->points;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::string at = orv::format("%.1f", static_cast<double>(i) * 0.1);
            edited |= floatInput(at.c_str(), points[i].y, field.range, field.editor.step, field.editor.fastStep);
        }
        ImGui::TreePop();
        return edited;
    }
    case FieldType::Sound:
        return soundWidget(field, *std::get<int*>(ref));
    }
    return false;
}

// A field's value on its own, to rebuild the definition as it was before an
// edit.
using FieldValue = std::variant<float, int, bool, sf::Vector2i, sf::IntRect, SteerCurve>;

FieldValue valueAt(const FieldRef& ref)
{
    return std::visit([](auto* p) -> FieldValue { return *p; }, ref);
}

void setValueAt(const FieldRef& ref, const FieldValue& value)
{
    std::visit([&](auto* p) { *p = std::get<std::decay_t<decltype(*p)>>(value); }, ref);
}

// Every field of `list` (and, outside lists, of `group`) for one entry; the
// running vehicle follows what an edit changed.
void drawFields(Vehicle& vehicle, VehicleDef& def, FieldList list, const char* group, std::size_t index)
{
    for (const VehicleField& field : vehicleFields()) {
        if (field.list != list || (group && std::string(field.group) != group))
            continue;
        const bool readOnly = field.editor.kind == FieldEditor::ReadOnly;
        const FieldRef ref = field.at(def, index);
        const FieldValue old = valueAt(ref);
        ImGui::BeginDisabled(readOnly || (field.editor.disabled && field.editor.disabled(def)));
        const bool changed = fieldWidget(field, ref) && !readOnly;
        ImGui::EndDisabled();
        if (changed) {
            VehicleDef before = def;
            setValueAt(field.at(before, index), old);
            applyDefinitionChange(vehicle, before, def);
        }
    }
}

void wheelTypeSection(Vehicle& vehicle, VehicleDef& def)
{
    ImGui::Text("Wheel Type Count: %d", static_cast<int>(def.wheelTypes.size()));
    for (std::size_t i = 0; i < def.wheelTypes.size(); ++i) {
        ImGui::PushID(static_cast<int>(i));
        ImGui::Separator();
        // Numbered from 0, as the wheel mounts name them.
        ImGui::Text("Wheel Type %d", static_cast<int>(i));
        drawFields(vehicle, def, FieldList::WheelType, nullptr, i);
        ImGui::PopID();
    }
}

void wheelSection(Vehicle& vehicle, VehicleDef& def)
{
    ImGui::Text("Wheel Count: %d", static_cast<int>(def.wheelMounts.size()));
    for (std::size_t i = 0; i < def.wheelMounts.size(); ++i) {
        ImGui::PushID(static_cast<int>(i));
        ImGui::Separator();
        ImGui::Text("Wheel %d", static_cast<int>(i) + 1);
        drawFields(vehicle, def, FieldList::WheelMount, nullptr, i);
        ImGui::PopID();
    }
}

void gearSection(Vehicle& vehicle, VehicleDef& def)
{
    ImGui::Text("Gear Count: %d", static_cast<int>(def.gears.size()));
    ImGui::SameLine();
    if (orv::traced(ImGui::Button("Add"), "Add"))
        def.gears.push_back(GearDef{1.0f, 1.0f});

    deleteGears(def, markedGears(), &vehicle);
    markedGears().clear();

    for (std::size_t i = 0; i < def.gears.size(); ++i) {
        const int gear = static_cast<int>(i);
        ImGui::PushID(gear);
        ImGui::Separator();
        ImGui::TextUnformatted(gearLabel(gear).c_str());
        if (gear > firstForwardGear) {
            ImGui::SameLine();
            if (orv::traced(ImGui::Button("Delete"), "Delete"))
                markedGears().push_back(gear);
        }
        if (gear >= firstForwardGear) {
            drawFields(vehicle, def, FieldList::Gear, nullptr, i - firstForwardGear);
        } else {
            // Reverse and neutral are not in the file: shown, never edited.
            ImGui::BeginDisabled();
            float ratio = def.gears[i].ratio, pitch = def.gears[i].pitch;
            ImGui::InputFloat("Ratio", &ratio, 0.1f, 1.0f, "%.3f");
            ImGui::InputFloat("Pitch", &pitch, 0.1f, 1.0f, "%.3f");
            ImGui::EndDisabled();
        }
        ImGui::PopID();
    }
}

// The editor's headers: the table's groups, then its lists.
void drawSections(Vehicle& vehicle, VehicleDef& def)
{
    if (orv::traced(ImGui::CollapsingHeader("Body"), "Body"))
        drawFields(vehicle, def, FieldList::None, "Body", 0);
    if (orv::traced(ImGui::CollapsingHeader("Sound"), "Sound"))
        drawFields(vehicle, def, FieldList::None, "Sound", 0);
    if (orv::traced(ImGui::CollapsingHeader("Wheel Types"), "Wheel Types"))
        wheelTypeSection(vehicle, def);
    if (orv::traced(ImGui::CollapsingHeader("Wheel Mounts"), "Wheel Mounts"))
        wheelSection(vehicle, def);
    if (orv::traced(ImGui::CollapsingHeader("Gears"), "Gears")) {
        drawFields(vehicle, def, FieldList::None, "Gears", 0);
        gearSection(vehicle, def);
    }
}

constexpr float editorLeft = 60.0f;
constexpr float editorTop = 20.0f;

// The editor first opens down the left side and stops above the on-screen
// messages at their fullest, so "Saved ..." and the editor's own refusals
// stay readable beside it.
float firstEditorHeight()
{
    const orv::ScreenMessageList& messages = orv::screenMessages();
    const float line = orv::Text::isLoaded() ? orv::Text::font(orv::FontSlot::Standard).getLineSpacing(18) : 22.0f;
    const float messagesTop =
        messages.position.y - line * static_cast<float>(orv::ScreenMessageList::maxEntries - 1) - 12.0f;
    return std::max(240.0f, messagesTop - editorTop);
}

} // namespace

std::string vehicleFilePath(const std::string& name)
{
    return std::string(vehicleFolder) + name + ".ini";
}

std::string definitionFilePath(const VehicleDef& def)
{
    return def.path.empty() ? vehicleFilePath(def.name) : def.path;
}

bool saveDefinition(const VehicleDef& def)
{
    return saveVehicleDef(definitionFilePath(def), def);
}

std::string saveMessage(const std::string& name, bool saved, const std::string& given)
{
    const std::string path = given.empty() ? vehicleFilePath(name) : given;
    return saved ? "Saved " + name + " to \"" + path + "\"" : "Failed to save " + name + " to \"" + path + "\"";
}

float maxSpeedShown(float metresPerSecond)
{
    return metresPerSecond * kmhPerMs;
}

float maxSpeedStored(float kilometresPerHour)
{
    return kilometresPerHour * 0.277778f;
}

std::string gearLabel(int i)
{
    if (i == reverseGear)
        return "Gear R";
    if (i == neutralGear)
        return "Gear N";
    return "Gear " + std::to_string(i - 1);
}

void drawTuningEditor()
{
    // Its content lives in a child that takes what the window gives, so the
    // window gets a usable first size instead of fitting an empty child.
    ImGui::SetNextWindowPos(ImVec2(editorLeft, editorTop), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(460.0f, firstEditorHeight()), ImGuiCond_FirstUseEver);
    bool open = true;
    if (!ImGui::Begin("Tuning Editor", &open,
                      ImGuiWindowFlags_MenuBar | ImGuiWindowFlags_NoScrollbar |
                          ImGuiWindowFlags_NoBringToFrontOnFocus)) {
        ImGui::End();
        if (!open)
            appSettings.showTuningEditor = false;
        return;
    }
    if (!open) {
        ImGui::End();
        appSettings.showTuningEditor = false;
        return;
    }

    Vehicle& vehicle = playerVehicle;
    const int kind = vehicle.kind();
    VehicleDef* def = kind >= 0 && kind < static_cast<int>(vehicleDefs.size())
                          ? &vehicleDefs[static_cast<std::size_t>(kind)]
                          : nullptr;
    if (def)
        beginEditTracking(vehicle, *def);

    if (ImGui::BeginMenuBar()) {
        if (orv::traced(ImGui::BeginMenu("File"), "File")) {
            if (orv::traced(ImGui::MenuItem("Save", nullptr, false, def != nullptr), "Save")) {
                const bool saved = saveDefinition(*def);
                // A failure has been logged and shown by the saver itself.
                if (saved) {
                    noteDefinitionSaved(*def);
                    orv::postScreenMessage(saveMessage(def->name, true, definitionFilePath(*def)), sf::Color::White);
                }
            }
            if (def)
                drawRevertItem(vehicle, *def);
            ImGui::EndMenu();
        }
        if (def)
            drawEditMenu(vehicle, *def);
        ImGui::EndMenuBar();
    }

    if (!def) {
        ImGui::TextUnformatted("No vehicle definitions loaded: nothing to edit.");
        ImGui::End();
        return;
    }

    // A refusal takes a line under the fields, so nothing above moves while
    // the user is still typing.
    const bool refused = !refusalText().empty();
    const float below = ImGui::GetFrameHeightWithSpacing() + (refused ? ImGui::GetTextLineHeightWithSpacing() : 0.0f);
    ImGui::BeginChild("Tuning", ImVec2(0.0f, -below));
    drawHeaderImage(vehicle);
    ImGui::BeginGroup();
    ImGui::Text("%s%s", def->name.c_str(), changedMark(*def));
    ImGui::TextUnformatted(definitionFilePath(*def).c_str());
    ImGui::EndGroup();
    drawChangedValues(*def);
    ImGui::Separator();
    drawSections(vehicle, *def);
    drawDrivingTestsSection(*def);
    ImGui::EndChild();
    endEditTracking(*def);

    ImGui::Separator();
    if (refused)
        ImGui::TextColored(ImVec4(1.0f, 0.45f, 0.35f, 1.0f), "%s", refusalText().c_str());
    ImGui::Text("%.1fkm/h", static_cast<double>(vehicle.speed() * kmhPerMs));
    ImGui::SameLine();
    ImGui::TextUnformatted(vehicle.gearName().c_str());
    ImGui::SameLine();
    ImGui::TextUnformatted(hudEngineText(vehicle.dynamics.engineLevel, def->idleRPM, def->maxRPM).c_str());
    ImGui::End();
}

void resetTuningEditor()
{
    editor = EditorState();
}
