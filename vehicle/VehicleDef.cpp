#include "vehicle/VehicleDef.h"

#include "audio/Audio.h"
#include "framework/DirectoryListing.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/Signals.h"
#include "framework/StringUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::vector<VehicleDef> vehicleDefs;

namespace {

constexpr int curvePointCount = 11;

// One file being read: warnings name it.
struct DefReader {
    const std::string& path;
    orv::IniFile& ini;

    // A number the file writes as nan or inf (or beyond float range) would
    // poison the physics; it reads as the key's default instead.
    float getFloat(const std::string& key, float def) const
    {
        const std::string raw = ini.getValue(key);
        if (raw.empty())
            return def;
        char* end = nullptr;
        const float value = std::strtof(raw.c_str(), &end);
        if (end != raw.c_str() && !std::isfinite(value)) {
            orv::Log::warning("Vehicle " + path + ": " + key + " is not a finite number; using the default");
            return def;
        }
        return orv::toFloat(raw);
    }

    // Counts below 0 mean none; a count above the numbered sections the file
    // holds is cut to them, so a lying count cannot make a huge list.
    static constexpr int maxListEntries = 256;

    int getCount(const std::string& key, const std::string& sectionBase, const std::string& what) const
    {
        const int claimed = std::max(ini.getInt(key, 0), 0);
        const std::vector<int> numbers = ini.numberedSections(sectionBase, claimed);
        const int present = numbers.empty() ? 0 : numbers.back() + 1;
        if (claimed > present)
            orv::Log::warning("Vehicle " + path + " claims " + std::to_string(claimed) + " " + what + " but holds " + std::to_string(present) + "; reading " + std::to_string(present));
        // One section numbered far out ("[gear1999999999]") would still make
        // billions of entries: no vehicle has more than a few hundred.
        const int count = std::min(claimed, present);
        if (count > maxListEntries) {
            orv::Log::warning("Vehicle " + path + ": " + std::to_string(count) + " " + what + " is more than " +
                              std::to_string(maxListEntries) + "; reading " + std::to_string(maxListEntries));
            return maxListEntries;
        }
        return count;
    }
};

int readSound(const orv::IniFile& ini, const std::string& key, const std::string& def)
{
    return orv::Audio::getSoundNumber(ini.getString(key, def), true);
}

void writeSound(orv::IniFile& ini, const std::string& key, int number)
{
    const bool valid = number >= 1 && number < orv::Audio::getSoundCount();
    ini.setString(key, valid ? orv::Audio::getSoundName(number) : "");
}

} // namespace

void parseSteerCurve(const std::string& text, SteerCurve& curve)
{
    const std::vector<std::string> parts = orv::splitString(text, ',', true);
    if (parts.size() != curvePointCount) {
        curve.error = "11 points expected, found " + std::to_string(parts.size());
        return;
    }
    curve.points.clear();
    for (int i = 0; i < curvePointCount; ++i)
        curve.points.emplace_back(static_cast<float>(i) * 0.1f, orv::toFloat(parts[static_cast<std::size_t>(i)]));
    curve.error.clear();
}

std::string formatSteerCurve(const SteerCurve& curve)
{
    if (curve.points.size() != curvePointCount)
        return "";
    std::string text;
    for (const sf::Vector2f& p : curve.points) {
        // Six significant digits after the whole part: short for the usual
        // fractions (0.985 stays "0.985"), exact enough for larger factors.
        const double y = p.y;
        const int wholeChars = static_cast<int>(std::to_string(std::lround(y)).size());
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*g", 6 + wholeChars, y);
        if (!text.empty())
            text += ",";
        text += buffer;
    }
    return text;
}

float steerCurveFactor(const SteerCurve& curve, float f)
{
    const std::vector<sf::Vector2f>& p = curve.points;
    if (p.empty())
        return 0.0f;
    if (p.size() == 1)
        return p[0].y;
    std::size_t i = 0;
    for (std::size_t k = 0; k < p.size(); ++k)
        if (p[k].x <= f)
            i = k;
    if (i + 1 >= p.size())
        return p[i].y;
    const float span = p[i + 1].x - p[i].x;
    if (!(span > 0.0f))
        return p[i].y;
    return p[i].y + (p[i + 1].y - p[i].y) * (f - p[i].x) / span;
}

bool loadVehicleDef(const std::string& path, std::vector<VehicleDef>& defs)
{
    orv::IniFile ini;
    if (!ini.load(path)) {
        orv::Log::error("Failed to load file " + path);
        return false;
    }
    const DefReader r{path, ini};
    defs.emplace_back();
    VehicleDef& def = defs.back();
    def.name = orv::removeExtension(orv::fileNamePart(path));

    ini.setSection("info");
    const int wheelTypesCount = r.getCount("wheelTypesCount", "wheelType", "wheel types");
    const int wheelMountsCount = r.getCount("wheelMountsCount", "wheelMount", "wheel mounts");
    const int gearsCount = r.getCount("gearsCount", "gear", "gears");
    def.minGearTime = r.getFloat("minGearTime", def.minGearTime);

    ini.setSection("sound");
    def.idleSound = readSound(ini, "idleSound", "Engine\\Engine_Car_a_Idle");
    def.movingSound = readSound(ini, "movingSound", "Engine\\Engine_Car_a_Moving");
    def.hornSound = readSound(ini, "hornSound", "Horns\\Horn_Default");
    def.minPitch = r.getFloat("minPitch", def.minPitch);
    def.maxPitch = r.getFloat("maxPitch", def.maxPitch);

    ini.setSection("body");
    def.imageRect = ini.getIntRect("imageRect", sf::IntRect(0, 0, 0, 0));
    def.mass = r.getFloat("mass", def.mass);
    def.tracks = ini.getBool("tracks", def.tracks);
    def.maxSpeed = r.getFloat("maxSpeed", def.maxSpeed);
    def.lateralSlip = r.getFloat("lateralSlip", def.lateralSlip);
    def.autoLateralSlip = ini.getBool("autoLateralSlip", def.autoLateralSlip);
    def.power = r.getFloat("power", def.mass * 40.0f);
    def.steerSpeed = r.getFloat("steerSpeed", def.steerSpeed);
    def.instantSteer = ini.getBool("instantSteer", def.instantSteer);
    parseSteerCurve(ini.getString("fullSpeedSteerCurve", defaultSteerCurveText), def.fullSpeedSteerCurve);
    def.steerBoost = r.getFloat("steerBoost", def.steerBoost);
    def.steerTorqueBoost = r.getFloat("steerTorqueBoost", def.steerTorqueBoost);
    def.linearDamping = r.getFloat("linearDamping", def.linearDamping);
    def.angularDamping = r.getFloat("angularDamping", def.angularDamping);
    def.restitution = r.getFloat("restitution", def.restitution);
    def.brakePower = r.getFloat("brakePower", def.mass * 1.3f);
    def.reverseRatio = r.getFloat("reverseRatio", def.reverseRatio);
    def.exhaustPos = ini.getVector2i("exhaustPos", sf::Vector2i(0, 0));

    ini.setSection("engine");
    def.idleRPM = r.getFloat("idleRPM", def.idleRPM);
    def.maxRPM = r.getFloat("maxRPM", def.maxRPM);
    def.acceleration = r.getFloat("acceleration", def.acceleration);

    def.wheelTypes.resize(static_cast<std::size_t>(wheelTypesCount));
    for (int i = 0; i < wheelTypesCount; ++i) {
        WheelType& type = def.wheelTypes[static_cast<std::size_t>(i)];
        ini.setSection("wheelType" + std::to_string(i));
        type.imageRect = ini.getIntRect("imageRect", sf::IntRect(0, 0, 0, 0));
        type.wheelVisible = ini.getBool("wheelVisible", true);
    }

    def.wheelMounts.resize(static_cast<std::size_t>(wheelMountsCount));
    for (int i = 0; i < wheelMountsCount; ++i) {
        WheelMount& mount = def.wheelMounts[static_cast<std::size_t>(i)];
        ini.setSection("wheelMount" + std::to_string(i));
        mount.pos = ini.getVector2i("pos", sf::Vector2i(0, 0));
        mount.wheelType = ini.getInt("wheelType", 0);
        mount.drive = ini.getBool("drive", true);
        mount.maxSteerAngle = ini.getInt("maxSteerAngle", 20);
        mount.massRatio = r.getFloat("massRatio", 1.0f);
        if (mount.wheelType < 0 || mount.wheelType >= wheelTypesCount) {
            orv::Log::error(def.name + " wheel mount " + std::to_string(i) + " has an invalid wheel type of " +
                            std::to_string(mount.wheelType));
            mount.wheelType = 0;
        }
    }

    def.gears.push_back(GearDef{def.reverseRatio, 1.0f});
    def.gears.push_back(GearDef{0.0f, 0.0f});
    for (int i = 0; i < gearsCount; ++i) {
        ini.setSection("gear" + std::to_string(i));
        GearDef gear;
        gear.ratio = r.getFloat("ratio", 1.0f);
        gear.pitch = r.getFloat("pitch", 1.0f);
        def.gears.push_back(gear);
    }
    if (gearsCount < 1)
        def.gears.push_back(GearDef{1.0f, 1.0f});
    return true;
}

bool saveVehicleDef(const std::string& path, const VehicleDef& def)
{
    orv::IniFile ini;
    ini.setSection("info");
    ini.setInt("wheelTypesCount", static_cast<int>(def.wheelTypes.size()));
    ini.setInt("wheelMountsCount", static_cast<int>(def.wheelMounts.size()));
    ini.setInt("gearsCount", std::max(static_cast<int>(def.gears.size()) - firstForwardGear, 0));
    ini.setFloat("minGearTime", def.minGearTime);

    ini.setSection("sound");
    writeSound(ini, "idleSound", def.idleSound);
    writeSound(ini, "movingSound", def.movingSound);
    writeSound(ini, "hornSound", def.hornSound);
    ini.setFloat("minPitch", def.minPitch);
    ini.setFloat("maxPitch", def.maxPitch);

    ini.setSection("body");
    ini.setIntRect("imageRect", def.imageRect);
    ini.setFloat("mass", def.mass);
    ini.setBool("tracks", def.tracks);
    ini.setFloat("maxSpeed", def.maxSpeed);
    ini.setFloat("lateralSlip", def.lateralSlip);
    ini.setBool("autoLateralSlip", def.autoLateralSlip);
    ini.setFloat("power", def.power);
    ini.setFloat("steerSpeed", def.steerSpeed);
    ini.setBool("instantSteer", def.instantSteer);
    ini.setString("fullSpeedSteerCurve", formatSteerCurve(def.fullSpeedSteerCurve));
    ini.setFloat("steerBoost", def.steerBoost);
    ini.setFloat("steerTorqueBoost", def.steerTorqueBoost);
    ini.setFloat("linearDamping", def.linearDamping);
    ini.setFloat("angularDamping", def.angularDamping);
    ini.setFloat("restitution", def.restitution);
    ini.setFloat("brakePower", def.brakePower);
    ini.setFloat("reverseRatio", def.reverseRatio);
    ini.setVector2i("exhaustPos", def.exhaustPos);

    ini.setSection("engine");
    ini.setFloat("idleRPM", def.idleRPM);
    ini.setFloat("maxRPM", def.maxRPM);
    ini.setFloat("acceleration", def.acceleration);

    for (std::size_t i = 0; i < def.wheelTypes.size(); ++i) {
        ini.setSection("wheelType" + std::to_string(i));
        ini.setIntRect("imageRect", def.wheelTypes[i].imageRect);
        ini.setBool("wheelVisible", def.wheelTypes[i].wheelVisible);
    }
    for (std::size_t i = 0; i < def.wheelMounts.size(); ++i) {
        const WheelMount& mount = def.wheelMounts[i];
        ini.setSection("wheelMount" + std::to_string(i));
        ini.setVector2i("pos", mount.pos);
        ini.setInt("wheelType", mount.wheelType);
        ini.setBool("drive", mount.drive);
        ini.setInt("maxSteerAngle", mount.maxSteerAngle);
        ini.setFloat("massRatio", mount.massRatio);
    }
    for (std::size_t i = firstForwardGear; i < def.gears.size(); ++i) {
        ini.setSection("gear" + std::to_string(i - firstForwardGear));
        ini.setFloat("ratio", def.gears[i].ratio);
        ini.setFloat("pitch", def.gears[i].pitch);
    }

    if (!ini.save(path)) {
        orv::Log::error("Failed to save file " + path + ": " + ini.lastError);
        return false;
    }
    return true;
}

void loadVehicleDefs()
{
    vehicleDefs.clear();
    orv::DirectoryListing listing;
    listing.addExtension(".ini");
    listing.scan(vehicleFolder, orv::DirectoryListing::FilesOnly, false);
    for (const orv::DirectoryEntry& entry : listing.entries()) {
        if (orv::quitSignalled())
            break;
        loadVehicleDef(entry.path, vehicleDefs);
    }
    orv::Log::info("Loaded " + std::to_string(vehicleDefs.size()) + " cars");
    if (vehicleDefs.empty())
        orv::Log::warning(std::string("No vehicles found in ") + vehicleFolder);
}

int findVehicleDef(const std::string& name)
{
    for (std::size_t i = 0; i < vehicleDefs.size(); ++i)
        if (vehicleDefs[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::string gearName(int gear)
{
    if (gear == reverseGear)
        return "R";
    if (gear == neutralGear)
        return "N";
    return std::to_string(gear - 1);
}
