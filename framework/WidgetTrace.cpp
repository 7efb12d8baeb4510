#include "framework/WidgetTrace.h"

#include "framework/Log.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace orv {

namespace {

struct WidgetTraceState {
    bool configured = false; ///< the path has been decided
    std::string path;        ///< empty: tracing is off
    ImGuiContext* hooked = nullptr;
    std::vector<TracedWidget> frame; ///< noted so far in this frame
    long long frames = 0;            ///< frames ended while tracing

    void reset() { *this = WidgetTraceState(); }
};

WidgetTraceState widgetTrace;

WidgetTraceState& traceState()
{
    return widgetTrace;
}

bool tracing()
{
    WidgetTraceState& t = traceState();
    if (!t.configured) {
        t.configured = true;
        const char* path = std::getenv("TARNWICK_WIDGET_LOG");
        t.path = path ? path : "";
    }
    return !t.path.empty();
}

// Written beside the file and renamed over it, so a reader never sees half a
// list.
void writeLog(const std::vector<TracedWidget>& widgets)
{
    WidgetTraceState& t = traceState();
    const std::string temporary = t.path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << widgetLogText(++t.frames, widgets);
        if (!out) {
            Log::error("Widget log \"" + t.path + "\" cannot be written; tracing stopped");
            t.path.clear();
            return;
        }
    }
    if (std::rename(temporary.c_str(), t.path.c_str()) != 0) {
        Log::error("Widget log \"" + t.path + "\" cannot be replaced; tracing stopped");
        t.path.clear();
        return;
    }
}

void endFrame(ImGuiContext*, ImGuiContextHook*)
{
    WidgetTraceState& t = traceState();
    if (!t.path.empty())
        writeLog(t.frame);
    t.frame.clear();
}

// The context goes with its windows: nothing is on screen any more.
void shutdown(ImGuiContext* context, ImGuiContextHook*)
{
    WidgetTraceState& t = traceState();
    if (t.hooked != context)
        return;
    t.hooked = nullptr;
    t.frame.clear();
    if (!t.path.empty())
        writeLog({});
}

void hook(ImGuiContext* context)
{
    WidgetTraceState& t = traceState();
    if (t.hooked == context)
        return;
    ImGuiContextHook end;
    end.Type = ImGuiContextHookType_EndFramePost;
    end.Callback = endFrame;
    ImGui::AddContextHook(context, &end);
    ImGuiContextHook gone;
    gone.Type = ImGuiContextHookType_Shutdown;
    gone.Callback = shutdown;
    ImGui::AddContextHook(context, &gone);
    t.hooked = context;
    t.frame.clear();
}

bool isChildOrPopup(const ImGuiWindow* window)
{
    return (window->Flags & (ImGuiWindowFlags_ChildWindow | ImGuiWindowFlags_Popup)) != 0;
}

} // namespace

void traceItem(const char* label)
{
    if (!tracing())
        return;
    ImGuiContext* context = ImGui::GetCurrentContext();
    if (!context || !context->WithinFrameScope)
        return;
    hook(context);
    ImGuiWindow* window = context->CurrentWindow;
    if (!window || window->SkipItems)
        return;
    // A menu or combo that opened just now leaves its popup's title bar as
    // the last item, with the popup as the current window.
    if (context->LastItemData.ID == window->MoveId)
        return;
    // A window lays out its first frame hidden, at a size it is about to
    // leave: its widgets are noted from the frame it shows on.
    ImGuiWindow* top = window;
    for (;;) {
        if (top->Hidden)
            return;
        if (!isChildOrPopup(top) || !top->ParentWindow)
            break;
        top = top->ParentWindow;
    }
    ImRect rect = context->LastItemData.Rect;
    rect.ClipWith(window->ClipRect);
    const int x0 = static_cast<int>(std::ceil(rect.Min.x));
    const int y0 = static_cast<int>(std::ceil(rect.Min.y));
    const int x1 = static_cast<int>(std::floor(rect.Max.x));
    const int y1 = static_cast<int>(std::floor(rect.Max.y));
    if (x1 <= x0 || y1 <= y0)
        return;
    traceState().frame.push_back({visibleLabel(top->Name), visibleLabel(label), x0, y0, x1 - x0, y1 - y0});
}

bool traced(bool result, const char* label)
{
    traceItem(label);
    return result;
}

void setWidgetLog(const std::string& path)
{
    WidgetTraceState& t = traceState();
    // The context keeps its hooks: they must not be added twice.
    ImGuiContext* hooked = t.hooked;
    t.reset();
    t.hooked = hooked;
    t.configured = true;
    t.path = path;
}

std::string visibleLabel(const char* label)
{
    const std::string text = label ? label : "";
    const std::size_t hashes = text.find("##");
    if (hashes == std::string::npos)
        return text;
    if (hashes > 0)
        return text.substr(0, hashes);
    const std::size_t start = text.find_first_not_of('#');
    return start == std::string::npos ? std::string() : text.substr(start);
}

std::string widgetLogText(long long frame, const std::vector<TracedWidget>& widgets)
{
    std::string text = "frame " + std::to_string(frame) + "\n";
    for (const TracedWidget& w : widgets)
        text += w.window + "\t" + w.label + "\t" + std::to_string(w.x) + " " + std::to_string(w.y) + " " +
                std::to_string(w.w) + " " + std::to_string(w.h) + "\n";
    return text;
}

} // namespace orv
