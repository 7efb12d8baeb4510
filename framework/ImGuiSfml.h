#pragma once
// Our SFML platform side for Dear ImGui 1.86 (events, keys, mouse, display
// size, delta time), rendered with ImGui's OpenGL2 backend.

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

struct ImGuiIO;

namespace orv {
namespace ImGuiSfml {

/// Sets what our platform side promises ImGui: no ini or log file, SFML's key
/// codes, and vertex offsets so a long list never overflows 16-bit indices.
void configureIo(ImGuiIO& io);

/// Creates the ImGui context for the window (default font, no imgui.ini) and
/// begins the first frame. Does nothing when already started.
void start(sf::RenderWindow& window);
/// True once started: display() renders and advances the interface.
bool isActive();
/// Gathers one window event for the next frame (characters go to ImGui now).
void processEvent(const sf::Event& event);
/// Hands what the events gathered to ImGui: called just before NewFrame.
void applyInput(ImGuiIO& io, sf::Vector2u size, float dt);
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
