#pragma once
// Where the labelled widgets are on screen, for programs that drive the
// interface from outside (the end-to-end tests). With TARNWICK_WIDGET_LOG
// naming a file, the file is replaced at the end of every ImGui frame: a
// line "frame N" counting the frames, then the frame's traced widgets, one a
// line: "window<TAB>label<TAB>x y w h" in window pixels, the window being the
// top-level window the widget sits in (a menu's items count as its window's).
// The count lets a reader wait until input it sent has been through the
// interface. Without the switch tracing costs one test of a flag.

#include <string>
#include <vector>

namespace orv {

/// One traced widget: its window's title and its label as the user sees them
/// (no "##" suffixes) and its visible rectangle.
struct TracedWidget {
    std::string window;
    std::string label;
    int x = 0, y = 0, w = 0, h = 0;
};

/// Notes the ImGui item drawn last under `label` ("##" and what follows are
/// dropped). Nothing is noted for an item clipped away, in a window hidden
/// for its first frame's layout, or when the item just opened its popup.
void traceItem(const char* label);

/// traceItem(label), passing a widget's result through:
/// `if (traced(ImGui::Button("Exit"), "Exit"))`.
bool traced(bool result, const char* label);

/// Traces to `path` from now on (empty: stops); the program takes it from
/// TARNWICK_WIDGET_LOG when nothing set it first.
void setWidgetLog(const std::string& path);

/// The text shown for an ImGui label or title: what comes before "##", or
/// for a label that starts with it, what follows.
std::string visibleLabel(const char* label);

/// The log's text for frame number `frame` and its widgets.
std::string widgetLogText(long long frame, const std::vector<TracedWidget>& widgets);

} // namespace orv
