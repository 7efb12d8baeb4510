#include "app/LiveReload.h"

#include "app/EditHistory.h"
#include "app/FileWatch.h"
#include "app/FrameLoop.h"
#include "app/TuningEditor.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/ProgramClock.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"
#include "world/Map.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <memory>

namespace {

constexpr double lookInterval = 1.0;

struct LiveReloadState {
    double lastLook = -1.0e9;
    FileWatch vehicleFile;
    VehicleDef fileValues;   ///< the vehicle file as last read: edits are what differs
    bool fileValuesRead = false;
    FileWatch mapFile;
};

LiveReloadState liveReload;

// An editor that truncates before writing leaves an empty file for a moment:
// that is not a definition to take over.
bool emptyFile(const std::string& path, const char* what)
{
    if (fileStampOf(path).size != 0)
        return false;
    orv::Log::warning(std::string(what) + " " + path + " is empty; the one in use is kept");
    return true;
}

void reloadVehicleFile(const std::string& path)
{
    LiveReloadState& s = liveReload;
    const int kind = playerVehicle.kind();
    if (kind < 0 || kind >= static_cast<int>(vehicleDefs.size()) || emptyFile(path, "Vehicle file"))
        return;
    // Something else saved where the file was (half a file, another kind of
    // file): the loader would take it as all defaults.
    orv::IniFile check;
    if (check.load(path) && !holdsVehicleSections(check)) {
        orv::Log::warning("Vehicle file " + path + ": no vehicle section or key found; the one in use is kept");
        return;
    }
    std::vector<VehicleDef> read;
    if (!loadVehicleDef(path, read))
        return; // the loader said why; the running definition stays
    VehicleDef& def = vehicleDefs[static_cast<std::size_t>(kind)];
    VehicleDef fresh = read.back();
    fresh.name = def.name;
    fresh.path = def.path;
    const bool edited = s.fileValuesRead && !definitionChanges(s.fileValues, def).empty();
    s.fileValues = fresh;
    s.fileValuesRead = true;
    // The editor's own File > Save lands here too, with nothing new in it.
    if (definitionChanges(def, fresh).empty())
        return;
    if (edited) {
        orv::Log::warning(path + " changed on disk; the unsaved edits of " + def.name +
                          " are kept (Tuning Editor: File > Revert loads the file)");
        return;
    }
    // Parked vehicles of this kind stay as they were built.
    for (const std::unique_ptr<Vehicle>& parked : parkedVehicles)
        if (parked->kind() == kind)
            parked->keepOwnDefinition();
    const HeldMotion motion = holdMotion(playerVehicle);
    def = fresh;
    playerVehicle.setKind(kind);
    restoreMotion(playerVehicle, motion, false);
    orv::Log::info("Reloaded " + def.name + " from " + path);
}

void lookAtVehicleFile()
{
    LiveReloadState& s = liveReload;
    const VehicleDef* def = playerVehicle.definition();
    const std::string path = def && playerVehicle.kind() >= 0 ? definitionFilePath(*def) : std::string();
    if (path != s.vehicleFile.path()) {
        // Another vehicle (or a reloaded list): its file is the new baseline.
        s.vehicleFile.watch(path);
        std::vector<VehicleDef> read;
        s.fileValuesRead = fileStampOf(path).size > 0 && loadVehicleDef(path, read);
        if (s.fileValuesRead)
            s.fileValues = read.back();
        return;
    }
    if (s.vehicleFile.changed())
        reloadVehicleFile(path);
}

void lookAtMapFile()
{
    LiveReloadState& s = liveReload;
    const std::string path = frameLoop.mapPath;
    if (path != s.mapFile.path()) {
        s.mapFile.watch(path);
        return;
    }
    if (!s.mapFile.changed() || emptyFile(path, "Map"))
        return;
    orv::IniFile check;
    if (!check.load(path)) {
        orv::Log::warning("Map reload: " + check.lastError + "; the map in use is kept");
        return;
    }
    if (!holdsMapSections(check)) {
        orv::Log::warning("Map " + path + ": no map section or key found; the map in use is kept");
        return;
    }
    const HeldMotion motion = holdMotion(playerVehicle);
    // A fresh world as switchMap makes it, the player put back where it was.
    switchMap(path);
    restoreMotion(playerVehicle, motion, true);
    orv::Log::info("Reloaded map " + path);
}

} // namespace

HeldMotion holdMotion(const Vehicle& vehicle)
{
    HeldMotion m;
    const b2Body* body = vehicle.body();
    if (!body)
        return m;
    m.held = true;
    m.x = body->GetPosition().x;
    m.y = body->GetPosition().y;
    m.angle = body->GetAngle();
    m.vx = body->GetLinearVelocity().x;
    m.vy = body->GetLinearVelocity().y;
    m.spin = body->GetAngularVelocity();
    m.gear = vehicle.dynamics.gear;
    m.engineLevel = vehicle.dynamics.engineLevel;
    return m;
}

void restoreMotion(Vehicle& vehicle, const HeldMotion& motion, bool place)
{
    b2Body* body = vehicle.body();
    if (!motion.held || !body)
        return;
    if (place)
        vehicle.restartAt(b2Vec2(motion.x, motion.y), motion.angle, orv::ProgramClock::now());
    body = vehicle.body();
    body->SetLinearVelocity(b2Vec2(motion.vx, motion.vy));
    body->SetAngularVelocity(motion.spin);
    for (Wheel& wheel : vehicle.dynamics.wheels) {
        if (!wheel.body)
            continue;
        wheel.body->SetLinearVelocity(body->GetLinearVelocityFromWorldPoint(wheel.body->GetPosition()));
        wheel.body->SetAngularVelocity(motion.spin);
    }
    const VehicleDef* def = vehicle.definition();
    const int gears = def ? static_cast<int>(def->gears.size()) : 0;
    vehicle.dynamics.gear = std::clamp(motion.gear, 0, std::max(0, gears - 1));
    vehicle.dynamics.engineLevel = motion.engineLevel;
}

void checkLiveReload(double now)
{
    if (now - liveReload.lastLook < lookInterval && now >= liveReload.lastLook)
        return;
    liveReload.lastLook = now;
    checkWatchedFilesNow();
}

void checkWatchedFilesNow()
{
    lookAtVehicleFile();
    lookAtMapFile();
}

void resetLiveReload()
{
    liveReload = LiveReloadState();
}
