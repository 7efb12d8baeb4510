#pragma once
// Our SFML platform side for Dear ImGui 1.86 (events, keys, mouse, display
// size, delta time), rendered with ImGui's OpenGL2 backend.

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

namespace orv {
namespace ImGuiSfml {

/// Creates the ImGui context for the window (default font, no imgui.ini) and
/// begins the first frame. Does nothing when already started.
void start(sf::RenderWindow& window);
/// True once started: display() renders and advances the interface.
bool isActive();
/// Feeds one window event to ImGui.
void processEvent(const sf::Event& event);
/// Renders the current ImGui frame into the window.
void render(sf::RenderWindow& window);
/// Begins the next frame with the given time step in seconds.
void newFrame(sf::RenderWindow& window, float dt);
/// True when a text field or widget has the keyboard.
bool wantsKeyboard();
/// Forgets the GL objects and the context (before the window goes away).
void shutdown();

} // namespace ImGuiSfml
} // namespace orv
