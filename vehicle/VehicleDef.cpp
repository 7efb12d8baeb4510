#include "vehicle/VehicleDef.h"
#include "vehicle/VehicleFields.h"
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
#include <initializer_list>
#include <variant>

std::vector<VehicleDef> vehicleDefs;

namespace {

constexpr int curvePointCount = 11;

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

    // Warns about each key of the current section the loader does not read:
    // a typo or damage, which the next save would drop without a word.
    void checkKeys(const char* tableSection, std::initializer_list<const char*> more = {}) const
    {
        for (const std::string& key : ini.getKeys()) {
            bool found = false;
            for (const char* name : more)
                found = found || orv::equalsIgnoreCase(key, name);
            for (const VehicleField& field : vehicleFields())
                found = found || (std::string(field.section) == tableSection && orv::equalsIgnoreCase(key, field.key));
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

// A curve with a factor far outside the usual (1e30 turns the wheels by any
// angle) takes the default curve; one of the wrong length steers nothing
// while driving forward, as the format has it.
void readCurve(DefReader& r, const std::string& key, const ValueRange& range, SteerCurve& curve)
{
    parseSteerCurve(r.ini.getString(key, defaultSteerCurveText), curve);
    for (const sf::Vector2f& point : curve.points) {
        if (!range.contains(point.y)) {
            r.warn(": " + r.keyText(key) + " holds a factor outside " +
                   orv::format("%g to %g", static_cast<double>(range.lo), static_cast<double>(range.hi)) +
                   "; using the default curve");
            curve = SteerCurve{};
            parseSteerCurve(defaultSteerCurveText, curve);
            break;
        }
    }
    if (!curve.error.empty())
        r.warn(": " + r.keyText(key) + ": " + curve.error + "; no steering while driving forward");
}

// Reads every field the table places in the current section, entry `index`
// of its list. A key the file lacks keeps the value the definition holds,
// which is the format's default for a fresh one.
void readFields(DefReader& r, VehicleDef& def, FieldList list, const char* section, std::size_t index)
{
    for (const VehicleField& field : vehicleFields()) {
        if (field.list != list || std::string(field.section) != section)
            continue;
        const FieldRef ref = field.at(def, index);
        switch (field.type) {
        case FieldType::Number: {
            float& value = *std::get<float*>(ref);
            value = r.getFloat(field.key, field.defaultFrom ? field.defaultFrom(def) : value, field.range);
            break;
        }
        case FieldType::Whole: {
            int& value = *std::get<int*>(ref);
            value = static_cast<int>(r.getFloat(field.key, static_cast<float>(value), field.range));
            break;
        }
        case FieldType::Switch: {
            bool& value = *std::get<bool*>(ref);
            value = r.ini.getBool(field.key, value);
            break;
        }
        case FieldType::Offset:
            *std::get<sf::Vector2i*>(ref) = r.getOffset(field.key);
            break;
        case FieldType::Rect:
            *std::get<sf::IntRect*>(ref) = r.ini.getIntRect(field.key, *std::get<sf::IntRect*>(ref));
            break;
        case FieldType::Curve:
            readCurve(r, field.key, field.range, *std::get<SteerCurve*>(ref));
            break;
        case FieldType::Sound:
            *std::get<int*>(ref) = readSound(r.ini, field.key, field.defaultText);
            break;
        }
    }
}

// Writes every field the table places in `section` into the current section.
void writeFields(orv::IniFile& ini, const VehicleDef& def, FieldList list, const char* section, std::size_t index)
{
    for (const VehicleField& field : vehicleFields()) {
        if (field.list != list || std::string(field.section) != section)
            continue;
        // Writing reads the definition only.
        const FieldRef ref = field.at(const_cast<VehicleDef&>(def), index);
        switch (field.type) {
        case FieldType::Number:
            ini.setFloat(field.key, *std::get<float*>(ref));
            break;
        case FieldType::Whole:
            ini.setInt(field.key, *std::get<int*>(ref));
            break;
        case FieldType::Switch:
            ini.setBool(field.key, *std::get<bool*>(ref));
            break;
        case FieldType::Offset:
            ini.setVector2i(field.key, *std::get<sf::Vector2i*>(ref));
            break;
        case FieldType::Rect:
            ini.setIntRect(field.key, *std::get<sf::IntRect*>(ref));
            break;
        case FieldType::Curve:
            ini.setString(field.key, formatSteerCurve(*std::get<SteerCurve*>(ref)));
            break;
        case FieldType::Sound:
            writeSound(ini, field.key, *std::get<int*>(ref));
            break;
        }
    }
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

bool holdsVehicleSections(const orv::IniFile& ini)
{
    return orv::holdsAnySection(ini, {"info", "sound", "body", "engine"}, {"wheelType", "wheelMount", "gear"});
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

    if (!holdsVehicleSections(ini))
        r.warn(": no vehicle section or key found; every value is the default");

    r.setSection("info");
    r.checkKeys("info", {"wheelTypesCount", "wheelMountsCount", "gearsCount"});
    const orv::NumberedList wheelTypeList = r.listed("wheelTypesCount", "wheelType");
    const orv::NumberedList wheelMountList = r.listed("wheelMountsCount", "wheelMount");
    const orv::NumberedList gearList = r.listed("gearsCount", "gear");
    const int wheelTypesCount = wheelTypeList.count;
    const int wheelMountsCount = wheelMountList.count;
    const int gearsCount = gearList.count;
    readFields(r, def, FieldList::None, "info", 0);

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

    for (const char* section : {"sound", "body", "engine"}) {
        r.setSection(section);
        r.checkKeys(section);
        readFields(r, def, FieldList::None, section, 0);
    }

    def.wheelTypes.resize(static_cast<std::size_t>(wheelTypesCount));
    for (int i = 0; i < wheelTypesCount; ++i) {
        r.select("wheelType" + std::to_string(i));
        r.checkKeys("wheelType");
        readFields(r, def, FieldList::WheelType, "wheelType", static_cast<std::size_t>(i));
    }

    def.wheelMounts.resize(static_cast<std::size_t>(wheelMountsCount));
    for (int i = 0; i < wheelMountsCount; ++i) {
        WheelMount& mount = def.wheelMounts[static_cast<std::size_t>(i)];
        r.select("wheelMount" + std::to_string(i));
        r.checkKeys("wheelMount");
        readFields(r, def, FieldList::WheelMount, "wheelMount", static_cast<std::size_t>(i));
        if (mount.wheelType < 0 || mount.wheelType >= wheelTypesCount) {
            orv::Log::error(def.name + " wheel mount " + std::to_string(i) + " has an invalid wheel type of " +
                            std::to_string(mount.wheelType));
            mount.wheelType = 0;
        }
    }

    // Reverse follows the reverse ratio; neutral drives nothing. A vehicle
    // without forward gears still gets one.
    def.gears.push_back(GearDef{def.reverseRatio, 1.0f});
    def.gears.push_back(GearDef{0.0f, 0.0f});
    def.gears.resize(static_cast<std::size_t>(firstForwardGear + std::max(gearsCount, 1)));
    for (int i = 0; i < gearsCount; ++i) {
        r.select("gear" + std::to_string(i));
        r.checkKeys("gear");
        readFields(r, def, FieldList::Gear, "gear", static_cast<std::size_t>(i));
    }
    return true;
}

bool saveVehicleDef(const std::string& path, const VehicleDef& def)
{
    orv::IniFile ini;
    ini.setSection("info");
    ini.setInt("wheelTypesCount", static_cast<int>(def.wheelTypes.size()));
    ini.setInt("wheelMountsCount", static_cast<int>(def.wheelMounts.size()));
    ini.setInt("gearsCount", std::max(static_cast<int>(def.gears.size()) - firstForwardGear, 0));
    writeFields(ini, def, FieldList::None, "info", 0);
    for (const char* section : {"sound", "body", "engine"}) {
        ini.setSection(section);
        writeFields(ini, def, FieldList::None, section, 0);
    }
    const std::pair<FieldList, const char*> lists[] = {
        {FieldList::WheelType, "wheelType"}, {FieldList::WheelMount, "wheelMount"}, {FieldList::Gear, "gear"}};
    for (const auto& [list, base] : lists) {
        for (const VehicleField& field : vehicleFields()) {
            if (field.list != list)
                continue;
            for (std::size_t i = 0; i < fieldEntries(field, def); ++i) {
                ini.setSection(base + std::to_string(i));
                writeFields(ini, def, list, base, i);
            }
            break; // every field of the entry is written with its section
        }
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
