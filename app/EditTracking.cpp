#include "app/EditTracking.h"

#include "app/EditHistory.h"
#include "app/FileWatch.h"
#include "app/TuningEditor.h"
#include "framework/ContentFile.h"
#include "framework/Log.h"
#include "framework/ScreenMessages.h"
#include "framework/WidgetTrace.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"

#include <imgui.h>

#include <SFML/Window/Keyboard.hpp>

namespace {

struct Tracking {
    EditHistory history;
    std::string name; ///< the definition tracked; another name starts over
    const VehicleDef* def = nullptr;
    VehicleDef disk;       ///< the file's values
    bool diskRead = false; ///< false when the file could not be read
    long long diskStamp = -1;
};

Tracking editTracking;

Tracking& tracking()
{
    return editTracking;
}

// The modification time, -1 for a missing file and for anything but a
// regular file (stat only: this runs every frame).
long long fileStamp(const std::string& path)
{
    return fileStampOf(path).modified;
}

// The file's values, read again whenever the file changes on disk.
void refreshDisk(const VehicleDef& def)
{
    Tracking& t = tracking();
    const std::string path = definitionFilePath(def);
    const long long stamp = fileStamp(path);
    if (stamp == t.diskStamp)
        return;
    t.diskStamp = stamp;
    std::vector<VehicleDef> read;
    // Said once, when the file turns into something else; the loader checks
    // again, as the file may change between the two looks.
    if (stamp < 0)
        orv::checkContentFile("EditTracking", path);
    t.diskRead = stamp >= 0 && loadVehicleDef(path, read);
    if (t.diskRead)
        t.disk = read.back();
}

void follow(const VehicleDef& def)
{
    Tracking& t = tracking();
    if (t.def == &def && t.name == def.name)
        return;
    t.def = &def;
    t.name = def.name;
    t.history.reset(def);
    t.diskStamp = -2; // read the file again
}

// The structure of the vehicle (its bodies) follows only a rebuild.
bool sameStructure(const VehicleDef& a, const VehicleDef& b)
{
    if (a.tracks != b.tracks || a.imageRect != b.imageRect || a.wheelMounts.size() != b.wheelMounts.size() ||
        a.wheelTypes.size() != b.wheelTypes.size())
        return false;
    for (std::size_t i = 0; i < a.wheelMounts.size(); ++i)
        if (a.wheelMounts[i].pos != b.wheelMounts[i].pos || a.wheelMounts[i].drive != b.wheelMounts[i].drive ||
            (a.wheelMounts[i].maxSteerAngle == 0) != (b.wheelMounts[i].maxSteerAngle == 0))
            return false;
    for (std::size_t i = 0; i < a.wheelTypes.size(); ++i)
        if (a.wheelTypes[i].imageRect != b.wheelTypes[i].imageRect)
            return false;
    return true;
}

void revert(Vehicle& vehicle, VehicleDef& def)
{
    const std::string path = definitionFilePath(def);
    std::vector<VehicleDef> read;
    if (!loadVehicleDef(path, read))
        return; // logged by the loader
    Tracking& t = tracking();
    t.history.commit(def);
    const VehicleDef before = def;
    def = read.back();
    def.name = before.name;
    if (vehicle.definition() == &def) {
        if (sameStructure(before, def))
            applyDefinitionChange(vehicle, before, def);
        else if (vehicle.kind() >= 0)
            vehicle.setKind(vehicle.kind());
    }
    t.history.commit(def);
    t.diskStamp = -2;
    orv::postScreenMessage("Reverted " + def.name + " to \"" + path + "\"", sf::Color::White);
}

} // namespace

bool undoEdit(Vehicle& vehicle, VehicleDef& def)
{
    follow(def);
    tracking().history.commit(def);
    return tracking().history.undo(def, &vehicle);
}

bool redoEdit(Vehicle& vehicle, VehicleDef& def)
{
    follow(def);
    tracking().history.commit(def);
    return tracking().history.redo(def, &vehicle);
}

void beginEditTracking(Vehicle& vehicle, VehicleDef& def)
{
    follow(def);
    refreshDisk(def);
    const ImGuiIO& io = ImGui::GetIO();
    // A text field being typed in keeps its own undo.
    if (io.WantTextInput || !io.KeyCtrl)
        return;
    if (ImGui::IsKeyPressed(sf::Keyboard::Z, false)) {
        if (io.KeyShift)
            redoEdit(vehicle, def);
        else
            undoEdit(vehicle, def);
    } else if (ImGui::IsKeyPressed(sf::Keyboard::Y, false)) {
        redoEdit(vehicle, def);
    }
}

void endEditTracking(const VehicleDef& def)
{
    // A field being typed in or a slider being dragged is not finished yet.
    if (tracking().def == &def && !ImGui::IsAnyItemActive())
        tracking().history.commit(def);
}

void drawEditMenu(Vehicle& vehicle, VehicleDef& def)
{
    if (!orv::traced(ImGui::BeginMenu("Edit"), "Edit"))
        return;
    Tracking& t = tracking();
    // An edit still open in a field counts as a step before undoing it.
    const bool pending = t.def == &def && !definitionChanges(t.history.committed(), def).empty();
    if (orv::traced(ImGui::MenuItem("Undo", "Ctrl+Z", false, t.history.canUndo() || pending), "Undo"))
        undoEdit(vehicle, def);
    if (orv::traced(ImGui::MenuItem("Redo", "Ctrl+Y", false, t.history.canRedo()), "Redo"))
        redoEdit(vehicle, def);
    ImGui::EndMenu();
}

void drawRevertItem(Vehicle& vehicle, VehicleDef& def)
{
    if (orv::traced(ImGui::MenuItem("Revert"), "Revert"))
        revert(vehicle, def);
}

void noteDefinitionSaved(const VehicleDef& def)
{
    tracking().diskStamp = -2;
    refreshDisk(def);
}

const char* changedMark(const VehicleDef& def)
{
    const Tracking& t = tracking();
    if (t.def != &def || !t.diskRead)
        return "";
    return definitionChanges(t.disk, def).empty() ? "" : " *";
}

void drawChangedValues(const VehicleDef& def)
{
    const Tracking& t = tracking();
    if (t.def != &def)
        return;
    if (!t.diskRead) {
        ImGui::TextDisabled("Not saved to a file yet.");
        return;
    }
    const std::vector<FieldChange> changes = definitionChanges(t.disk, def);
    if (changes.empty())
        return;
    const ImVec4 mark(1.0f, 0.75f, 0.3f, 1.0f);
    ImGui::PushStyleColor(ImGuiCol_Text, mark);
    const bool open = ImGui::TreeNode("changed", "Changed from the file: %d", static_cast<int>(changes.size()));
    orv::traceItem("Changed from the file");
    ImGui::PopStyleColor();
    if (!open)
        return;
    for (const FieldChange& c : changes)
        ImGui::TextColored(mark, "* %s: %s -> %s", c.label.c_str(), c.before.c_str(), c.after.c_str());
    ImGui::TreePop();
}

void resetEditTracking()
{
    editTracking = Tracking();
}
