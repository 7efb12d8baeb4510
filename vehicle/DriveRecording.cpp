#include "vehicle/DriveRecording.h"

#include "framework/IniFile.h"
#include "framework/Log.h"
#include "vehicle/Vehicle.h"

#include <box2d/box2d.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

struct Fnv {
    std::uint64_t h = 1469598103934665603ull;
    void add(const void* data, std::size_t size)
    {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            h ^= bytes[i];
            h *= 1099511628211ull;
        }
    }
    void add(float v) { add(&v, sizeof v); }
    void add(int v) { add(&v, sizeof v); }
    void add(const b2Body* b)
    {
        if (!b)
            return;
        add(b->GetPosition().x);
        add(b->GetPosition().y);
        add(b->GetAngle());
        add(b->GetLinearVelocity().x);
        add(b->GetLinearVelocity().y);
        add(b->GetAngularVelocity());
    }
};

// 36 kinds of step: throttle and steering of three values each, brake, cut.
int inputCode(const StepInput& in)
{
    return (in.throttle + 1) + 3 * (in.steer + 1) + 9 * (in.handbrake ? 1 : 0) + 18 * (in.cutEngine ? 1 : 0);
}

char codeLetter(int code)
{
    return static_cast<char>(code < 26 ? 'A' + code : 'a' + (code - 26));
}

bool letterCode(char c, int& code)
{
    if (c >= 'A' && c <= 'Z')
        code = c - 'A';
    else if (c >= 'a' && c < 'a' + 10)
        code = 26 + (c - 'a');
    else
        return false;
    return true;
}

StepInput inputOf(int code)
{
    StepInput in;
    in.throttle = static_cast<signed char>(code % 3 - 1);
    in.steer = static_cast<signed char>(code / 3 % 3 - 1);
    in.handbrake = code / 9 % 2 != 0;
    in.cutEngine = code / 18 != 0;
    return in;
}

// Nine significant digits give a float back bit for bit.
std::string exactFloat(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return text;
}

bool parseFloat(const std::string& text, float& out)
{
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

} // namespace

std::uint64_t vehicleStateHash(const Vehicle& vehicle)
{
    Fnv hash;
    hash.add(vehicle.body());
    for (const Wheel& wheel : vehicle.dynamics.wheels)
        hash.add(wheel.body);
    hash.add(vehicle.dynamics.engineLevel);
    hash.add(vehicle.dynamics.gear);
    return hash.h;
}

std::string startPoseProblem(const b2Vec2& position, float angle)
{
    // Negated, so that a NaN fails too.
    if (!(std::fabs(position.x) <= maxStartCoordinate && std::fabs(position.y) <= maxStartCoordinate))
        return "start position " + exactFloat(position.x) + "," + exactFloat(position.y) + " lies outside the world";
    if (!(std::fabs(angle) <= maxStartAngle))
        return "start angle " + exactFloat(angle) + " is out of range";
    return std::string();
}

std::string encodeInputs(const std::vector<StepInput>& inputs)
{
    std::string text;
    std::size_t i = 0;
    while (i < inputs.size()) {
        std::size_t run = 1;
        while (i + run < inputs.size() && inputs[i + run] == inputs[i])
            ++run;
        if (run > 1)
            text += std::to_string(run);
        text += codeLetter(inputCode(inputs[i]));
        i += run;
    }
    return text;
}

bool decodeInputs(const std::string& text, std::vector<StepInput>& inputs)
{
    inputs.clear();
    long long count = 0;
    bool counted = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            count = count * 10 + (c - '0');
            counted = true;
            if (count > maxRecordedSteps)
                return false;
            continue;
        }
        int code = 0;
        if (!letterCode(c, code))
            return false;
        const long long run = counted ? count : 1;
        if (static_cast<long long>(inputs.size()) + run > maxRecordedSteps)
            return false;
        inputs.insert(inputs.end(), static_cast<std::size_t>(run), inputOf(code));
        count = 0;
        counted = false;
    }
    return !counted;
}

bool saveDriveRecording(const std::string& path, const DriveRecording& recording)
{
    // The definition's values first, in the vehicle file's own form, then
    // the run itself in a section of its own.
    if (!saveVehicleDef(path, recording.definition))
        return false;
    orv::IniFile ini;
    if (!ini.load(path)) {
        orv::Log::error("Failed to save recording " + path + ": " + ini.lastError);
        return false;
    }
    ini.setSection("recording");
    ini.setString("map", recording.mapPath);
    ini.setString("vehicle", recording.vehicleName);
    ini.setString("start", exactFloat(recording.start.x) + "," + exactFloat(recording.start.y));
    ini.setString("angle", exactFloat(recording.startAngle));
    ini.setInt("steps", static_cast<int>(recording.inputs.size()));
    if (recording.hasEndHash) {
        char hash[32];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(recording.endHash));
        ini.setString("endHash", hash);
    }
    ini.setString("inputs", encodeInputs(recording.inputs));
    if (!ini.save(path)) {
        orv::Log::error("Failed to save recording " + path + ": " + ini.lastError);
        return false;
    }
    return true;
}

bool loadDriveRecording(const std::string& path, DriveRecording& recording)
{
    std::vector<VehicleDef> defs;
    if (!loadVehicleDef(path, defs))
        return false;
    orv::IniFile ini;
    if (!ini.load(path)) {
        orv::Log::error("Failed to load recording " + path + ": " + ini.lastError);
        return false;
    }
    ini.setSection("recording");
    DriveRecording read;
    read.definition = defs.back();
    read.mapPath = ini.getString("map", "");
    read.vehicleName = ini.getString("vehicle", read.definition.name);
    read.definition.name = read.vehicleName;

    const std::string start = ini.getString("start", "");
    const std::size_t comma = start.find(',');
    if (comma == std::string::npos || !parseFloat(start.substr(0, comma), read.start.x) ||
        !parseFloat(start.substr(comma + 1), read.start.y) ||
        !parseFloat(ini.getString("angle", ""), read.startAngle)) {
        orv::Log::error("Recording " + path + " has no valid start position");
        return false;
    }
    const std::string pose = startPoseProblem(read.start, read.startAngle);
    if (!pose.empty()) {
        orv::Log::error("Recording " + path + ": " + pose);
        return false;
    }
    if (!decodeInputs(ini.getString("inputs", ""), read.inputs)) {
        orv::Log::error("Recording " + path + " has unreadable inputs");
        return false;
    }
    if (read.inputs.empty()) {
        orv::Log::error("Recording " + path + " holds no steps");
        return false;
    }
    const std::string hash = ini.getString("endHash", "");
    if (!hash.empty()) {
        char* end = nullptr;
        read.endHash = std::strtoull(hash.c_str(), &end, 16);
        read.hasEndHash = end && *end == '\0' && hash.size() <= 16;
    }
    recording = std::move(read);
    return true;
}
