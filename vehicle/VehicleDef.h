#pragma once
// One kind of vehicle, read from one ".ini" of "Data/Cars/": engine, gears,
// body, wheels and sounds. Its index in vehicleDefs names the kind everywhere.

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <string>
#include <vector>

namespace orv {
class IniFile;
}

struct WheelType {
    sf::IntRect imageRect; ///< the wheel's part of the vehicle picture
    bool wheelVisible = true;
};

struct WheelMount {
    sf::Vector2i pos;  ///< wheel centre, picture pixels from the body's centre
    int wheelType = 0; ///< index into wheelTypes
    bool drive = true; ///< receives drive and brake forces
    int maxSteerAngle = 20; ///< degrees; 0 does not steer, negative steers the other way
    float massRatio = 1.0f;
};

struct GearDef {
    float ratio = 1.0f;
    float pitch = 1.0f; ///< engine sound pitch factor
};

/// Steering lock factor by speed fraction: 11 points at x = 0, 0.1 ... 1.
struct SteerCurve {
    std::vector<sf::Vector2f> points;
    std::string error; ///< empty while the last parse was good
};

/// Gear list positions: reverse and neutral come first, forward gears follow.
constexpr int reverseGear = 0;
constexpr int neutralGear = 1;
constexpr int firstForwardGear = 2;

struct VehicleDef {
    std::string name;
    std::string path; ///< the file it was read from, as listed; empty when made in memory
    float minGearTime = 2.0f;
    int idleSound = 0;
    int movingSound = 0;
    int hornSound = 0;
    float minPitch = 0.9f;
    float maxPitch = 1.2f;

    sf::IntRect imageRect;
    float mass = 0.0f; ///< density of the body's box
    bool tracks = false;
    float maxSpeed = 20.0f;
    float lateralSlip = 0.0f;
    bool autoLateralSlip = false;
    float power = 0.0f;
    float steerSpeed = 60.0f;
    bool instantSteer = false;
    SteerCurve fullSpeedSteerCurve;
    float steerBoost = 1.0f;
    float steerTorqueBoost = 0.0f;
    float linearDamping = 0.5f;
    float angularDamping = 0.9f;
    float restitution = 0.2f;
    float brakePower = 0.0f;
    float reverseRatio = 0.5f;
    sf::Vector2i exhaustPos;

    float idleRPM = 1000.0f;
    float maxRPM = 2500.0f;
    float acceleration = 500.0f;

    std::vector<WheelType> wheelTypes;
    std::vector<WheelMount> wheelMounts;
    std::vector<GearDef> gears; ///< reverse, neutral, then forward gears
};


constexpr const char* defaultSteerCurveText = "1,0.99,0.985,0.98,0.975,0.97,0.96,0.95,0.9,0.7,0.7";
constexpr const char* vehicleFolder = "Data/Cars/";

/// Every vehicle definition in load order; the index is the vehicle kind.
extern std::vector<VehicleDef> vehicleDefs;

/// Reads 11 comma-separated numbers into the curve; any other count keeps
/// the points and sets the error text.
void parseSteerCurve(const std::string& text, SteerCurve& curve);
/// The curve's y values joined by ","; "" unless it has 11 points.
std::string formatSteerCurve(const SteerCurve& curve);
/// The lock factor at speed fraction f (0 to 1): 0 without points.
float steerCurveFactor(const SteerCurve& curve, float f);

/// True when the file holds any section or key of a vehicle file.
bool holdsVehicleSections(const orv::IniFile& ini);
/// Appends the definition read from one vehicle file to `defs`; false (and a
/// log line) when the file cannot be read.
bool loadVehicleDef(const std::string& path, std::vector<VehicleDef>& defs);
/// Writes the definition from scratch; false (logged and shown) on failure.
bool saveVehicleDef(const std::string& path, const VehicleDef& def);
/// Empties vehicleDefs and loads every ".ini" of "Data/Cars/" in name order.
void loadVehicleDefs();
/// Index of the first definition with this name, or -1.
int findVehicleDef(const std::string& name);
/// "R", "N" or the forward gear's number.
std::string gearName(int gear);
