#include "app/TuningEditor.h"

#include "app/AppSettings.h"
#include "app/DrivingTestsPanel.h"
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
#include "vehicle/VehicleLimits.h"
#include "vehicle/VehicleTuning.h"
#include "world/Units.h"

#include <imgui.h>

#include <box2d/box2d.h>

#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cstdint>

namespace {

// Gears marked by a "Delete" button, removed at the start of the next frame's
// gear list so the list never changes while it is drawn.
std::vector<int>& markedGears()
{
    static std::vector<int>& marked = *new std::vector<int>;
    return marked;
}

struct SoundChoice {
    std::string name;
    int number;
};

// The last value the editor refused, shown under its fields until another
// edit is taken. A typed "1e39" or "-5" would otherwise reach the physics.
std::string& refusalText()
{
    static std::string& text = *new std::string;
    return text;
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

// Ctrl+click turns a slider into a text field that takes any number, "inf"
// and "nan" included: clamping catches the first, the range check the rest.
bool sliderInput(const char* label, float& value, const ValueRange& range)
{
    float edited = value;
    return orv::traced(ImGui::SliderFloat(label, &edited, range.lo, range.hi, "%.3f", ImGuiSliderFlags_AlwaysClamp),
                       label) &&
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

void bodySection(Vehicle& vehicle, VehicleDef& def)
{
    if (!orv::traced(ImGui::CollapsingHeader("Body"), "Body"))
        return;
    if (floatInput("Mass", def.mass, vehicleLimits::mass, 1.0f, 5.0f))
        applyMass(vehicle);
    checkbox("Tracks", def.tracks);
    ImGui::Separator();

    float kmh = maxSpeedShown(def.maxSpeed);
    if (orv::traced(ImGui::InputFloat("Max Speed", &kmh, 1.0f, 5.0f, "%.3fkm/h"), "Max Speed") &&
        take("Max Speed", maxSpeedStored(kmh), def.maxSpeed, vehicleLimits::maxSpeed, 3.6))
        applyMaxSpeed(vehicle);
    ImGui::BeginDisabled(def.autoLateralSlip);
    if (sliderInput("Lateral Slip", def.lateralSlip, vehicleLimits::lateralSlip))
        applyLateralSlip(vehicle);
    ImGui::EndDisabled();
    checkbox("Auto Lateral Slip", def.autoLateralSlip);
    floatInput("Idle RPM", def.idleRPM, vehicleLimits::rpm, 1.0f, 10.0f);
    floatInput("Max RPM", def.maxRPM, vehicleLimits::rpm, 1.0f, 10.0f);
    floatInput("Acceleration", def.acceleration, vehicleLimits::acceleration, 1.0f, 10.0f);
    if (floatInput("Power", def.power, vehicleLimits::power, 1.0f, 5.0f))
        applyPower(vehicle);
    floatInput("Steer Speed", def.steerSpeed, vehicleLimits::steerSpeed, 1.0f, 10.0f, "%.3fdeg/s");
    checkbox("Instant Steer", def.instantSteer);
    floatInput("Steer Boost", def.steerBoost, vehicleLimits::steerBoost, 0.1f, 1.0f);
    floatInput("Steer Torque Boost", def.steerTorqueBoost, vehicleLimits::steerTorqueBoost, 1.0f, 10.0f);
    if (orv::traced(ImGui::TreeNode("Full Speed Steer Curve"), "Full Speed Steer Curve")) {
        std::vector<sf::Vector2f>& points = def.fullSpeedSteerCurve.points;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::string label = orv::format("%.1f", static_cast<double>(i) * 0.1);
            floatInput(label.c_str(), points[i].y, vehicleLimits::steerCurvePoint, 0.1f, 0.5f);
        }
        ImGui::TreePop();
    }
    ImGui::Separator();

    bool damping = sliderInput("Linear Damping", def.linearDamping, vehicleLimits::damping);
    damping |= sliderInput("Angular Damping", def.angularDamping, vehicleLimits::damping);
    damping |= sliderInput("Restitution", def.restitution, vehicleLimits::restitution);
    if (damping)
        applyDamping(vehicle);
    ImGui::Separator();

    floatInput("Brake Power", def.brakePower, vehicleLimits::brakePower, 1.0f, 10.0f);
    floatInput("Reverse Ratio", def.reverseRatio, vehicleLimits::reverseRatio, 0.1f, 1.0f);
    ImGui::Separator();

    const float half = (ImGui::CalcItemWidth() - ImGui::GetStyle().ItemInnerSpacing.x) * 0.5f;
    ImGui::PushID("Exhaust Pos");
    ImGui::SetNextItemWidth(half);
    intInput("##x", def.exhaustPos.x, vehicleLimits::offset, "Exhaust Pos x");
    ImGui::SameLine(0.0f, ImGui::GetStyle().ItemInnerSpacing.x);
    ImGui::SetNextItemWidth(half);
    intInput("##y", def.exhaustPos.y, vehicleLimits::offset, "Exhaust Pos y");
    ImGui::SameLine(0.0f, ImGui::GetStyle().ItemInnerSpacing.x);
    ImGui::TextUnformatted("Exhaust Pos");
    ImGui::PopID();
}

// One combo over a list of sounds; choosing stores the number and, for the
// engine loops, stops the running loop so the controls restart it.
void soundCombo(const char* label, int& number, const std::vector<SoundChoice>& choices, const char* stopKey)
{
    const std::string current = orv::Audio::getSoundName(number);
    if (!orv::traced(ImGui::BeginCombo(label, current.c_str()), label))
        return;
    for (const SoundChoice& choice : choices) {
        const bool selected = choice.number == number;
        if (ImGui::Selectable(choice.name.c_str(), selected)) {
            number = choice.number;
            if (stopKey)
                orv::Audio::stopSound(stopKey);
        }
        if (selected)
            ImGui::SetItemDefaultFocus();
    }
    ImGui::EndCombo();
}

void soundSection(VehicleDef& def)
{
    if (!orv::traced(ImGui::CollapsingHeader("Sound"), "Sound"))
        return;
    std::vector<SoundChoice> engines, horns;
    for (int n = 1; n < orv::Audio::getSoundCount(); ++n) {
        const std::string name = orv::Audio::getSoundName(n);
        if (name.compare(0, 6, "Engine") == 0)
            engines.push_back({name, n});
        else if (name.compare(0, 5, "Horns") == 0)
            horns.push_back({name, n});
    }
    soundCombo("Idle Sound", def.idleSound, engines, "ENG_IDLE_LOOP");
    soundCombo("Moving Sound", def.movingSound, engines, "ENG_MOVING_LOOP");
    soundCombo("Horn Sound", def.hornSound, horns, nullptr);
    floatInput("Min Pitch", def.minPitch, vehicleLimits::pitch, 0.1f, 1.0f);
    floatInput("Max Pitch", def.maxPitch, vehicleLimits::pitch, 0.1f, 1.0f);
}

void wheelSection(Vehicle& vehicle, VehicleDef& def)
{
    if (!orv::traced(ImGui::CollapsingHeader("Wheel Mounts"), "Wheel Mounts"))
        return;
    ImGui::Text("Wheel Count: %d", static_cast<int>(def.wheelMounts.size()));
    for (std::size_t i = 0; i < def.wheelMounts.size(); ++i) {
        WheelMount& mount = def.wheelMounts[i];
        ImGui::PushID(static_cast<int>(i));
        ImGui::Separator();
        ImGui::Text("Wheel %d", static_cast<int>(i) + 1);
        int pos[2] = {mount.pos.x, mount.pos.y};
        ImGui::BeginDisabled();
        ImGui::InputInt2("Position", pos, ImGuiInputTextFlags_ReadOnly);
        ImGui::EndDisabled();
        checkbox("Drive", mount.drive);
        if (intInput("Max Steer Angle", mount.maxSteerAngle, vehicleLimits::steerAngle))
            applySteerLimits(vehicle);
        if (floatInput("Mass Ratio", mount.massRatio, vehicleLimits::massRatio, 0.1f, 1.0f))
            applyMass(vehicle);
        ImGui::PopID();
    }
}

void gearSection(Vehicle& vehicle, VehicleDef& def)
{
    if (!orv::traced(ImGui::CollapsingHeader("Gears"), "Gears"))
        return;
    floatInput("Min Gear Time", def.minGearTime, vehicleLimits::minGearTime, 0.25f, 1.0f, "%.3fs");
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
        ImGui::BeginDisabled(gear < firstForwardGear);
        floatInput("Ratio", def.gears[i].ratio, vehicleLimits::gearRatio, 0.1f, 1.0f);
        floatInput("Pitch", def.gears[i].pitch, vehicleLimits::pitch, 0.1f, 1.0f);
        ImGui::EndDisabled();
        ImGui::PopID();
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
    bodySection(vehicle, *def);
    soundSection(*def);
    wheelSection(vehicle, *def);
    gearSection(vehicle, *def);
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
