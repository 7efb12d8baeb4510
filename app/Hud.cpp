#include "app/Hud.h"

#include "app/AppSettings.h"
#include "app/FrameLoop.h"
#include "framework/Core.h"
#include "framework/Layers.h"
#include "framework/StringUtil.h"
#include "framework/Text.h"
#include "vehicle/Vehicle.h"
#include "vehicle/VehicleDef.h"
#include "world/Units.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr unsigned hudCharacterSize = 18;
const char* const helpText = "\n\nF5 = Toggle Audio Panel\nTAB = Toggle Minimap\n\nE = Toggle Tuning Editor\n"
                             "- / + = Adjust Scale\n\nP = Pause, O = Step (Paused)\n[ / ] = Slower / Faster\n"
                             "F = Force Overlay\n\nU = Spawn Empty Vehicle\nM = Select Map\nR = Reload Data";
} // namespace

std::string hudTopLeftText(float renderScale, bool showHelp, const std::string& vehicleName, int vehicleNumber,
                           int vehicleCount)
{
    std::string text = orv::format("Scale: %.1fx", renderScale);
    if (showHelp) {
        text += helpText;
        // Without vehicle definitions there is no vehicle line to show.
        if (vehicleCount > 0)
            text += "\n\n" + vehicleName + " (" + std::to_string(vehicleNumber) + "/" + std::to_string(vehicleCount) +
                ")\n, / . = Change Vehicle";
    }
    return text;
}

std::string hudSpeedText(float metresPerSecond)
{
    const float kmh = metresPerSecond * kmhPerMs;
    return std::to_string(std::isfinite(kmh) ? std::lround(kmh) : 0L) + " km/h";
}

std::string hudEngineText(float engineLevel, float idleRPM, float maxRPM)
{
    const float level = std::fabs(engineLevel);
    const float rpm = idleRPM * (1.0f - level) + maxRPM * level;
    const float shown = std::max(std::min(rpm, maxRPM), idleRPM);
    auto whole = [](float v) { return std::to_string(std::isfinite(v) ? static_cast<long>(v) : 0L); };
    return whole(shown) + "/" + whole(maxRPM) + " RPM";
}

std::string hudGearText(const std::string& gearName)
{
    return "Gear: " + gearName;
}

void drawHudText(const Vehicle& player)
{
    if (!orv::Text::isLoaded())
        return;
    const VehicleDef* def = player.definition();
    orv::setTextOutline(sf::Color::Black, 0.75f);
    const int count = static_cast<int>(vehicleDefs.size());
    orv::drawText(orv::LayerUi, sf::Vector2f(10.0f, 10.0f), sf::Color::White,
                  hudTopLeftText(appSettings.renderScale, appSettings.showHelp, def ? def->name : std::string(),
                                 player.kind() + 1, count),
                  orv::FontSlot::Standard, hudCharacterSize);
    // Pause and slow motion say so at the top, where they are not missed.
    const std::string timeText = timeControlText(frameLoop.time);
    if (!timeText.empty()) {
        const float width = orv::textWidth(timeText, orv::FontSlot::Standard, hudCharacterSize);
        orv::drawText(orv::LayerUi, sf::Vector2f((orv::window().getView().getSize().x - width) * 0.5f, 10.0f),
                      sf::Color(255, 220, 80), timeText, orv::FontSlot::Standard, hudCharacterSize);
    }
    // Without a definition there is nothing to read out but the scale.
    if (def) {
        const sf::Vector2f view = orv::window().getView().getSize();
        auto centred = [&](const std::string& text, float fromBottom) {
            const float width = orv::textWidth(text, orv::FontSlot::Standard, hudCharacterSize);
            orv::drawText(orv::LayerUi, sf::Vector2f((view.x - width) * 0.5f, view.y - fromBottom),
                          sf::Color::White, text, orv::FontSlot::Standard, hudCharacterSize);
        };
        centred(hudSpeedText(player.speed()), 30.0f);
        centred(hudEngineText(player.dynamics.engineLevel, def->idleRPM, def->maxRPM), 60.0f);
        centred(hudGearText(player.gearName()), 90.0f);
    }
    orv::resetTextOutline();
}
