#include "vehicle/VehicleDef.h"
#include "vehicle/VehicleLimits.h"

#include "audio/Audio.h"
#include "framework/DirectoryListing.h"
#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/NumberedList.h"
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

// The keys each section of a vehicle file may hold; anything else is a typo
// or damage, and would be dropped by the next save without a word.
const char* const infoKeys[] = {"wheelTypesCount", "wheelMountsCount", "gearsCount", "minGearTime"};
const char* const soundKeys[] = {"idleSound", "movingSound", "hornSound", "minPitch", "maxPitch"};
const char* const bodyKeys[] = {"imageRect", "mass", "tracks", "maxSpeed", "lateralSlip", "autoLateralSlip",
                                "power", "steerSpeed", "instantSteer", "fullSpeedSteerCurve", "steerBoost",
                                "steerTorqueBoost", "linearDamping", "angularDamping", "restitution",
                                "brakePower", "reverseRatio", "exhaustPos"};
const char* const engineKeys[] = {"idleRPM", "maxRPM", "acceleration"};
const char* const wheelTypeKeys[] = {"imageRect", "wheelVisible"};
const char* const wheelMountKeys[] = {"pos", "wheelType", "drive", "maxSteerAngle", "massRatio"};
const char* const gearKeys[] = {"ratio", "pitch"};

// A key or value as a log line can show it: control bytes (a NUL in a damaged
// file) as '?', and no more than 40 characters.
std::string shown(const std::string& text)
{
    std::string out = text.size() > 40 ? text.substr(0, 40) + "..." : text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return out;
}

// One file being read: warnings name it, the section and the key.
struct DefReader {
    const std::string& path;
    orv::IniFile& ini;
    std::string section;
    mutable int warnings = 0;

    void setSection(const std::string& name)
    {
        ini.setSection(name);
        section = name;
    }

    // A damaged file could give hundreds of lines: the first few tell.
    void warn(const std::string& text) const
    {
        constexpr int maxWarnings = 20;
        if (warnings < maxWarnings)
            orv::Log::warning("Vehicle " + path + text);
        else if (warnings == maxWarnings)
            orv::Log::warning("Vehicle " + path + ": more problems of this file not reported");
        ++warnings;
    }

    std::string keyText(const std::string& key) const
    {
        return "[" + section + "] " + key + "=" + shown(ini.getValue(key));
    }

    // A number the file writes as nan or inf (or beyond float range) would
    // poison the physics, and one outside lo..hi makes no vehicle: either
    // reads as the key's default instead.
    float getFloat(const std::string& key, float def, float lo = -HUGE_VALF, float hi = HUGE_VALF) const
    {
        const std::string raw = ini.getValue(key);
        if (raw.empty())
            return def;
        char* end = nullptr;
        const float value = std::strtof(raw.c_str(), &end);
        if (end != raw.c_str() && !std::isfinite(value)) {
            warn(": " + keyText(key) + " is not a finite number; using the default");
            return def;
        }
        const float read = orv::toFloat(raw);
        if (read < lo || read > hi) {
            warn(": " + keyText(key) + " is out of range (" + orv::format("%g", static_cast<double>(lo)) + " to " +
                 orv::format("%g", static_cast<double>(hi)) + "); using the default");
            return def;
        }
        return read;
    }

    float getFloat(const std::string& key, float def, const ValueRange& range) const
    {
        return getFloat(key, def, range.lo, range.hi);
    }

    // A point in picture pixels from the body's centre; one far out would put
    // a wheel or the exhaust kilometres away.
    sf::Vector2i getOffset(const std::string& key) const
    {
        const sf::Vector2i read = ini.getVector2i(key, sf::Vector2i(0, 0));
        if (vehicleLimits::offset.contains(read.x) && vehicleLimits::offset.contains(read.y))
            return read;
        warn(": " + keyText(key) + " is out of range (at most " +
             orv::format("%g", static_cast<double>(vehicleLimits::offset.hi)) + " from the centre); using the default");
        return sf::Vector2i(0, 0);
    }

    // A list is as long as its count says; sections it lacks take the
    // defaults. No vehicle has more than a few dozen wheels or gears, and each
    // wheel is a body and a joint to step (256 made a step take 5 ms): a count
    // above 64 is cut there before anything is allocated.
    static constexpr int maxListEntries = 64;

    orv::NumberedList listed(const std::string& key, const std::string& sectionBase) const
    {
        orv::NumberedList list = orv::numberedSections(ini, sectionBase, ini.getInt(key, 0), maxListEntries);
        if (list.capped())
            warn(": " + keyText(key) + " is more than " + std::to_string(maxListEntries) + "; reading " +
                 std::to_string(maxListEntries));
        return list;
    }

    // Selects a numbered section; one the file lacks reads every key as its
    // default.
    void select(const std::string& name)
    {
        ini.selectSection(name);
        section = name;
    }

    // Warns about each key of the current section the loader does not read.
    template <std::size_t N>
    void checkKeys(const char* const (&known)[N]) const
    {
        for (const std::string& key : ini.getKeys()) {
            bool found = false;
            for (const char* name : known)
                found = found || orv::equalsIgnoreCase(key, name);
            if (!found)
                warn(": [" + section + "] " + shown(key) + " is not a vehicle key; ignored");
        }
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
    DefReader r{path, ini, ""};
    defs.emplace_back();
    VehicleDef& def = defs.back();
    def.name = orv::removeExtension(orv::fileNamePart(path));
    def.path = path;

    if (!orv::holdsAnySection(ini, {"info", "sound", "body", "engine"}, {"wheelType", "wheelMount", "gear"}))
        r.warn(": no vehicle section or key found; every value is the default");

    r.setSection("info");
    r.checkKeys(infoKeys);
    const orv::NumberedList wheelTypeList = r.listed("wheelTypesCount", "wheelType");
    const orv::NumberedList wheelMountList = r.listed("wheelMountsCount", "wheelMount");
    const orv::NumberedList gearList = r.listed("gearsCount", "gear");
    const int wheelTypesCount = wheelTypeList.count;
    const int wheelMountsCount = wheelMountList.count;
    const int gearsCount = gearList.count;
    def.minGearTime = r.getFloat("minGearTime", def.minGearTime, vehicleLimits::minGearTime);

    orv::NameList missing, beyond;
    const std::pair<const char*, const orv::NumberedList*> lists[] = {
        {"wheelType", &wheelTypeList}, {"wheelMount", &wheelMountList}, {"gear", &gearList}};
    for (const auto& [base, list] : lists) {
        missing.addMissingSections(base, *list);
        beyond.addBeyondSections(base, *list);
    }
    if (!missing.empty())
        r.warn(": " + missing.named("section") + " " + missing.verb("is", "are") + " missing; " +
               missing.verb("that entry takes", "those entries take") + " the defaults");
    // The tuning editor saves only what was read: say so while the file is
    // still as the user wrote it.
    if (!beyond.empty())
        r.warn(": " + beyond.named("section") + " " + beyond.verb("lies", "lie") +
               " beyond the declared counts and " + beyond.verb("is", "are") + " not read; saving will not keep " +
               beyond.verb("it", "them"));

    r.setSection("sound");
    r.checkKeys(soundKeys);
    def.idleSound = readSound(ini, "idleSound", "Engine\\Engine_Car_a_Idle");
    def.movingSound = readSound(ini, "movingSound", "Engine\\Engine_Car_a_Moving");
    def.hornSound = readSound(ini, "hornSound", "Horns\\Horn_Default");
    def.minPitch = r.getFloat("minPitch", def.minPitch, vehicleLimits::pitch);
    def.maxPitch = r.getFloat("maxPitch", def.maxPitch, vehicleLimits::pitch);

    r.setSection("body");
    r.checkKeys(bodyKeys);
    def.imageRect = ini.getIntRect("imageRect", sf::IntRect(0, 0, 0, 0));
    // 0 is the format's own default (a body Box2D gives a token mass).
    def.mass = r.getFloat("mass", def.mass, vehicleLimits::mass);
    def.tracks = ini.getBool("tracks", def.tracks);
    def.maxSpeed = r.getFloat("maxSpeed", def.maxSpeed, vehicleLimits::maxSpeed);
    def.lateralSlip = r.getFloat("lateralSlip", def.lateralSlip, vehicleLimits::lateralSlip);
    def.autoLateralSlip = ini.getBool("autoLateralSlip", def.autoLateralSlip);
    def.power = r.getFloat("power", def.mass * 40.0f, vehicleLimits::power);
    def.steerSpeed = r.getFloat("steerSpeed", def.steerSpeed, vehicleLimits::steerSpeed);
    def.instantSteer = ini.getBool("instantSteer", def.instantSteer);
    parseSteerCurve(ini.getString("fullSpeedSteerCurve", defaultSteerCurveText), def.fullSpeedSteerCurve);
    for (const sf::Vector2f& point : def.fullSpeedSteerCurve.points) {
        // A lock factor of 1e30 turns the wheels by any angle.
        if (!vehicleLimits::steerCurvePoint.contains(point.y)) {
            r.warn(": " + r.keyText("fullSpeedSteerCurve") + " holds a factor outside " +
                   orv::format("%g to %g", static_cast<double>(vehicleLimits::steerCurvePoint.lo),
                               static_cast<double>(vehicleLimits::steerCurvePoint.hi)) +
                   "; using the default curve");
            def.fullSpeedSteerCurve = SteerCurve{};
            parseSteerCurve(defaultSteerCurveText, def.fullSpeedSteerCurve);
            break;
        }
    }
    if (!def.fullSpeedSteerCurve.error.empty())
        r.warn(": " + r.keyText("fullSpeedSteerCurve") + ": " + def.fullSpeedSteerCurve.error +
               "; no steering while driving forward");
    def.steerBoost = r.getFloat("steerBoost", def.steerBoost, vehicleLimits::steerBoost);
    def.steerTorqueBoost = r.getFloat("steerTorqueBoost", def.steerTorqueBoost, vehicleLimits::steerTorqueBoost);
    // Box2D refuses (asserts on) negative damping.
    def.linearDamping = r.getFloat("linearDamping", def.linearDamping, vehicleLimits::damping);
    def.angularDamping = r.getFloat("angularDamping", def.angularDamping, vehicleLimits::damping);
    def.restitution = r.getFloat("restitution", def.restitution, vehicleLimits::restitution);
    def.brakePower = r.getFloat("brakePower", def.mass * 1.3f, vehicleLimits::brakePower);
    def.reverseRatio = r.getFloat("reverseRatio", def.reverseRatio, vehicleLimits::reverseRatio);
    def.exhaustPos = r.getOffset("exhaustPos");

    r.setSection("engine");
    r.checkKeys(engineKeys);
    def.idleRPM = r.getFloat("idleRPM", def.idleRPM, vehicleLimits::rpm);
    def.maxRPM = r.getFloat("maxRPM", def.maxRPM, vehicleLimits::rpm);
    def.acceleration = r.getFloat("acceleration", def.acceleration, vehicleLimits::acceleration);

    def.wheelTypes.resize(static_cast<std::size_t>(wheelTypesCount));
    for (int i = 0; i < wheelTypesCount; ++i) {
        WheelType& type = def.wheelTypes[static_cast<std::size_t>(i)];
        r.select("wheelType" + std::to_string(i));
        r.checkKeys(wheelTypeKeys);
        type.imageRect = ini.getIntRect("imageRect", sf::IntRect(0, 0, 0, 0));
        type.wheelVisible = ini.getBool("wheelVisible", true);
    }

    def.wheelMounts.resize(static_cast<std::size_t>(wheelMountsCount));
    for (int i = 0; i < wheelMountsCount; ++i) {
        WheelMount& mount = def.wheelMounts[static_cast<std::size_t>(i)];
        r.select("wheelMount" + std::to_string(i));
        r.checkKeys(wheelMountKeys);
        mount.pos = ini.getVector2i("pos", sf::Vector2i(0, 0));
        mount.pos = r.getOffset("pos");
        mount.wheelType = ini.getInt("wheelType", 0);
        mount.drive = ini.getBool("drive", true);
        mount.maxSteerAngle = static_cast<int>(r.getFloat("maxSteerAngle", 20.0f, vehicleLimits::steerAngle));
        mount.massRatio = r.getFloat("massRatio", 1.0f, vehicleLimits::massRatio);
        if (mount.wheelType < 0 || mount.wheelType >= wheelTypesCount) {
            orv::Log::error(def.name + " wheel mount " + std::to_string(i) + " has an invalid wheel type of " +
                            std::to_string(mount.wheelType));
            mount.wheelType = 0;
        }
    }

    def.gears.push_back(GearDef{def.reverseRatio, 1.0f});
    def.gears.push_back(GearDef{0.0f, 0.0f});
    for (int i = 0; i < gearsCount; ++i) {
        r.select("gear" + std::to_string(i));
        r.checkKeys(gearKeys);
        GearDef gear;
        gear.ratio = r.getFloat("ratio", 1.0f, vehicleLimits::gearRatio);
        gear.pitch = r.getFloat("pitch", 1.0f, vehicleLimits::pitch);
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
