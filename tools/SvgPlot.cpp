#include "SvgPlot.h"

#include "BenchFigures.h"
#include "framework/StringUtil.h"
#include "vehicle/VehicleFields.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double chartWidth = 960.0;
// Inside a panel: room for the title above, tick labels left and below.
constexpr double padLeft = 64.0, padRight = 24.0, padTop = 30.0, padBottom = 46.0;
constexpr double legendRow = 18.0;
// Longer recordings are thinned to about this many points a series: more
// would not show on a chart this wide and would make the file huge.
constexpr std::size_t mostPointsPerSeries = 2000;

const char* const palette[] = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2", "#59a14f",
                               "#edc948", "#b07aa1", "#ff9da7", "#9c755f", "#bab0ac"};

const char* colourAt(std::size_t i)
{
    return palette[i % (sizeof palette / sizeof palette[0])];
}

std::string escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string num(double v)
{
    const std::string text = orv::format("%.1f", v);
    return text == "-0.0" ? "0.0" : text;
}

std::string withUnit(const std::string& label, const std::string& unit)
{
    return unit.empty() ? label : label + " (" + unit + ")";
}

struct Series {
    std::string name;
    std::string colour;
    std::vector<double> x, y; ///< NaN where a value is missing
};

// Ticks at 1, 2 or 5 times a power of ten, about `wanted` of them, and the
// range widened to the ticks either side.
struct Scale {
    double lo = 0.0, hi = 1.0, step = 1.0;
    std::vector<double> ticks;
};

Scale niceScale(double lo, double hi, int wanted)
{
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0.0;
        hi = 1.0;
    }
    if (!(hi > lo)) {
        const double pad = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
        lo -= pad;
        hi += pad;
    }
    const double raw = (hi - lo) / wanted;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    Scale s;
    s.step = (f <= 1.0 ? 1.0 : f <= 2.0 ? 2.0 : f <= 5.0 ? 5.0 : 10.0) * magnitude;
    const double first = std::floor(lo / s.step + 1e-9);
    const double last = std::ceil(hi / s.step - 1e-9);
    s.lo = first * s.step;
    s.hi = last * s.step;
    for (double i = first; i <= last + 0.5; i += 1.0)
        s.ticks.push_back(i * s.step);
    return s;
}

std::string tickText(double value, double step)
{
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    std::string text = orv::format("%.*f", decimals, value);
    if (text.find_first_not_of("-0.") == std::string::npos)
        text = orv::format("%.*f", decimals, 0.0);
    return text;
}

// The plot area of a panel and its data ranges.
struct Frame {
    double left, top, width, height;
    Scale x, y;
    double px(double v) const { return left + (v - x.lo) / (x.hi - x.lo) * width; }
    double py(double v) const { return top + height - (v - y.lo) / (y.hi - y.lo) * height; }
};

void dataRange(const std::vector<Series>& series, bool ofX, double& lo, double& hi)
{
    lo = HUGE_VAL;
    hi = -HUGE_VAL;
    for (const Series& s : series)
        for (std::size_t i = 0; i < s.x.size(); ++i)
            if (std::isfinite(s.x[i]) && std::isfinite(s.y[i])) {
                const double v = ofX ? s.x[i] : s.y[i];
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
}

// A panel: its title, both axes with ticks and labels, and its series.
void drawPanel(std::string& svg, double left, double top, double width, double height, const std::string& id,
               const std::string& title, const std::string& xLabel, const std::string& yLabel,
               const std::vector<Series>& series, bool markers)
{
    Frame f{left + padLeft, top + padTop, width - padLeft - padRight, height - padTop - padBottom, {}, {}};
    double lo = 0, hi = 0;
    dataRange(series, true, lo, hi);
    f.x = niceScale(lo, hi, 6);
    dataRange(series, false, lo, hi);
    f.y = niceScale(lo, hi, 4);
    const double bottom = f.top + f.height;
    svg += "<g class=\"panel\" data-panel=\"" + escape(id) + "\">\n";
    svg += "<text class=\"title\" x=\"" + num(f.left) + "\" y=\"" + num(top + 18) + "\">" + escape(title) +
           "</text>\n";
    svg += "<g class=\"axis x\">\n<line x1=\"" + num(f.left) + "\" y1=\"" + num(bottom) + "\" x2=\"" +
           num(f.left + f.width) + "\" y2=\"" + num(bottom) + "\"/>\n";
    for (double t : f.x.ticks) {
        const double x = f.px(t);
        svg += "<line class=\"tick\" x1=\"" + num(x) + "\" y1=\"" + num(bottom) + "\" x2=\"" + num(x) + "\" y2=\"" +
               num(bottom + 4) + "\"/><text class=\"tick-label\" x=\"" + num(x) + "\" y=\"" + num(bottom + 16) +
               "\" text-anchor=\"middle\">" + tickText(t, f.x.step) + "</text>\n";
    }
    svg += "<text class=\"label\" x=\"" + num(f.left + f.width / 2) + "\" y=\"" + num(bottom + 34) +
           "\" text-anchor=\"middle\">" + escape(xLabel) + "</text>\n</g>\n";
    svg += "<g class=\"axis y\">\n<line x1=\"" + num(f.left) + "\" y1=\"" + num(f.top) + "\" x2=\"" + num(f.left) +
           "\" y2=\"" + num(bottom) + "\"/>\n";
    for (double t : f.y.ticks) {
        const double y = f.py(t);
        svg += "<line class=\"grid\" x1=\"" + num(f.left) + "\" y1=\"" + num(y) + "\" x2=\"" + num(f.left + f.width) +
               "\" y2=\"" + num(y) + "\"/><line class=\"tick\" x1=\"" + num(f.left - 4) + "\" y1=\"" + num(y) +
               "\" x2=\"" + num(f.left) + "\" y2=\"" + num(y) + "\"/><text class=\"tick-label\" x=\"" +
               num(f.left - 7) + "\" y=\"" + num(y + 4) + "\" text-anchor=\"end\">" + tickText(t, f.y.step) +
               "</text>\n";
    }
    svg += "<text class=\"label\" transform=\"translate(" + num(left + 14) + "," + num(f.top + f.height / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">" + escape(yLabel) + "</text>\n</g>\n";
    for (const Series& s : series) {
        std::string d, dots;
        std::size_t points = 0;
        bool pen = false;
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) {
                pen = false; // a gap: the line resumes at the next value
                continue;
            }
            const std::string x = num(f.px(s.x[i])), y = num(f.py(s.y[i]));
            d += (d.empty() ? "M" : pen ? " L" : " M") + x + "," + y;
            if (markers)
                dots += "<circle class=\"marker\" cx=\"" + x + "\" cy=\"" + y + "\" r=\"2.5\" fill=\"" + s.colour +
                        "\"/>";
            pen = true;
            ++points;
        }
        svg += "<path class=\"series\" data-series=\"" + escape(s.name) + "\" data-points=\"" +
               std::to_string(points) + "\" fill=\"none\" stroke=\"" + s.colour + "\" stroke-width=\"1.5\" d=\"" + d +
               "\"/>\n";
        if (!dots.empty())
            svg += dots + "\n";
    }
    svg += "</g>\n";
}

// The legend: a swatch and a name per entry, wrapped to the chart's width;
// returns the height it took.
double drawLegend(std::string& svg, double top, const std::vector<std::pair<std::string, std::string>>& entries)
{
    svg += "<g class=\"legend\">\n";
    double x = padLeft, y = top + 12;
    for (const auto& [name, colour] : entries) {
        const double width = 34.0 + 6.5 * static_cast<double>(name.size());
        if (x + width > chartWidth - padRight && x > padLeft) {
            x = padLeft;
            y += legendRow;
        }
        svg += "<rect class=\"swatch\" x=\"" + num(x) + "\" y=\"" + num(y - 9) + "\" width=\"20\" height=\"10\" fill=\"" +
               colour + "\"/><text x=\"" + num(x + 26) + "\" y=\"" + num(y) + "\">" + escape(name) + "</text>\n";
        x += width;
    }
    svg += "</g>\n";
    return y - top + 12;
}

std::string svgBegin(double height, const std::string& title)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           num(chartWidth) + "\" height=\"" + num(height) + "\" viewBox=\"0 0 " + num(chartWidth) + " " + num(height) +
           "\">\n<title>" + escape(title) +
           "</title>\n<style>text{font-family:sans-serif;font-size:11px;fill:#222}.title{font-size:13px;"
           "font-weight:bold}.axis line{stroke:#444}.axis .grid{stroke:#ddd}</style>\n"
           "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n<text class=\"title\" x=\"" +
           num(padLeft) + "\" y=\"20\">" + escape(title) + "</text>\n";
}

// The unit of a field by its file name ("gear2.ratio" -> ""), from the table.
std::string fieldUnit(const std::string& name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos)
        return "";
    std::string section = name.substr(0, dot);
    while (!section.empty() && section.back() >= '0' && section.back() <= '9')
        section.pop_back();
    for (const VehicleField& field : vehicleFields())
        if (orv::equalsIgnoreCase(section, field.section) && orv::equalsIgnoreCase(name.substr(dot + 1), field.key))
            return field.unit;
    return "";
}

std::vector<double> columnValues(const CsvTable& table, int column, std::size_t stride = 1)
{
    std::vector<double> values;
    for (std::size_t r = 0; r < table.rows.size(); r += stride)
        values.push_back(csvNumber(table.rows[r][static_cast<std::size_t>(column)]));
    return values;
}

// Viridis at five stops, blended: dark for low, yellow for high.
std::string heatColour(double t)
{
    static const int stops[5][3] = {{68, 1, 84}, {59, 82, 139}, {33, 145, 140}, {94, 201, 98}, {253, 231, 37}};
    t = std::clamp(t, 0.0, 1.0) * 4.0;
    const int i = std::min(3, static_cast<int>(t));
    const double u = t - i;
    int c[3];
    for (int k = 0; k < 3; ++k)
        c[k] = static_cast<int>(std::lround(stops[i][k] + (stops[i + 1][k] - stops[i][k]) * u));
    return orv::format("#%02x%02x%02x", c[0], c[1], c[2]);
}

std::vector<double> distinctSorted(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return !std::isfinite(v); }),
                 values.end());
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

// One heat map: rows the first swept field, columns the second, the cell's
// colour the figure, with its colour bar as the legend.
void drawHeatPanel(std::string& svg, double left, double top, double width, double height, const BenchFigure& figure,
                   const std::string& xName, const std::string& yName, const std::vector<double>& xs,
                   const std::vector<double>& ys, const std::vector<double>& values)
{
    const std::vector<double> columns = distinctSorted(xs), rows = distinctSorted(ys);
    const double barWidth = 60.0;
    const double l = left + padLeft, t = top + padTop, w = width - padLeft - padRight - barWidth,
                 h = height - padTop - padBottom;
    const double cw = w / std::max<double>(1.0, static_cast<double>(columns.size()));
    const double ch = h / std::max<double>(1.0, static_cast<double>(rows.size()));
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (double v : values)
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    const std::string unit = figure.unit;
    svg += "<g class=\"panel heatmap\" data-panel=\"" + std::string(figure.column) + "\">\n<text class=\"title\" x=\"" +
           num(l) + "\" y=\"" + num(top + 18) + "\">" + escape(withUnit(figure.label, unit)) + "</text>\n";
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto cx = std::lower_bound(columns.begin(), columns.end(), xs[i]) - columns.begin();
        const auto cy = std::lower_bound(rows.begin(), rows.end(), ys[i]) - rows.begin();
        const bool known = std::isfinite(values[i]);
        const std::string fill = known ? heatColour(hi > lo ? (values[i] - lo) / (hi - lo) : 0.5) : "#dddddd";
        svg += "<rect class=\"cell\" shape-rendering=\"crispEdges\" x=\"" + num(l + static_cast<double>(cx) * cw) + "\" y=\"" +
               num(t + h - static_cast<double>(cy + 1) * ch) + "\" width=\"" + num(cw) + "\" height=\"" + num(ch) +
               "\" fill=\"" + fill + "\"><title>" + (known ? orv::format("%g", values[i]) : "not reached") +
               "</title></rect>\n";
    }
    // Tick labels on the cells' centres, thinned to about eight an axis.
    auto axis = [&](const std::vector<double>& at, bool horizontal, const std::string& label) {
        const std::size_t every = std::max<std::size_t>(1, (at.size() + 7) / 8);
        svg += std::string("<g class=\"axis ") + (horizontal ? "x" : "y") + "\">\n";
        if (horizontal)
            svg += "<line x1=\"" + num(l) + "\" y1=\"" + num(t + h) + "\" x2=\"" + num(l + w) + "\" y2=\"" + num(t + h) +
                   "\"/>\n";
        else
            svg += "<line x1=\"" + num(l) + "\" y1=\"" + num(t) + "\" x2=\"" + num(l) + "\" y2=\"" + num(t + h) + "\"/>\n";
        for (std::size_t i = 0; i < at.size(); i += every) {
            const std::string text = orv::format("%g", at[i]);
            if (horizontal) {
                const double x = l + (static_cast<double>(i) + 0.5) * cw;
                svg += "<line class=\"tick\" x1=\"" + num(x) + "\" y1=\"" + num(t + h) + "\" x2=\"" + num(x) +
                       "\" y2=\"" + num(t + h + 4) + "\"/><text class=\"tick-label\" x=\"" + num(x) + "\" y=\"" +
                       num(t + h + 16) + "\" text-anchor=\"middle\">" + text + "</text>\n";
            } else {
                const double y = t + h - (static_cast<double>(i) + 0.5) * ch;
                svg += "<line class=\"tick\" x1=\"" + num(l - 4) + "\" y1=\"" + num(y) + "\" x2=\"" + num(l) +
                       "\" y2=\"" + num(y) + "\"/><text class=\"tick-label\" x=\"" + num(l - 7) + "\" y=\"" +
                       num(y + 4) + "\" text-anchor=\"end\">" + text + "</text>\n";
            }
        }
        if (horizontal)
            svg += "<text class=\"label\" x=\"" + num(l + w / 2) + "\" y=\"" + num(t + h + 34) +
                   "\" text-anchor=\"middle\">" + escape(label) + "</text>\n</g>\n";
        else
            svg += "<text class=\"label\" transform=\"translate(" + num(left + 14) + "," + num(t + h / 2) +
                   ") rotate(-90)\" text-anchor=\"middle\">" + escape(label) + "</text>\n</g>\n";
    };
    axis(columns, true, withUnit(xName, fieldUnit(xName)));
    axis(rows, false, withUnit(yName, fieldUnit(yName)));
    // The colour bar: ten bands from low to high, the range and the unit.
    const double bx = l + w + 16, bh = h - 24;
    svg += "<g class=\"legend\">\n";
    for (int i = 0; i < 10; ++i)
        svg += "<rect class=\"swatch\" x=\"" + num(bx) + "\" y=\"" + num(t + bh - (i + 1) * bh / 10) +
               "\" width=\"12\" height=\"" + num(bh / 10 + 0.5) + "\" fill=\"" + heatColour((i + 0.5) / 10.0) +
               "\"/>\n";
    const bool any = lo <= hi;
    svg += "<text x=\"" + num(bx + 15) + "\" y=\"" + num(t + 8) + "\">" + (any ? orv::format("%g", hi) : "") +
           "</text><text x=\"" + num(bx + 15) + "\" y=\"" + num(t + bh) + "\">" +
           (any ? orv::format("%g", lo) : "") + "</text><text x=\"" + num(bx) + "\" y=\"" + num(t + bh + 14) + "\">" +
           escape(unit) + "</text>\n<rect class=\"swatch\" x=\"" + num(bx) + "\" y=\"" + num(t + h - 4) +
           "\" width=\"12\" height=\"8\" fill=\"#dddddd\"/><text x=\"" + num(bx + 15) + "\" y=\"" + num(t + h + 4) +
           "\">none</text>\n</g>\n</g>\n";
}

} // namespace

bool sweepSvg(const CsvTable& table, std::string& svg, std::string& error)
{
    const int firstFigure = csvColumn(table, "acceleration_to_kmh");
    if (table.columns.empty() || table.columns[0] != "point" || firstFigure < 2 || firstFigure > 3) {
        error = "not a sweep of one or two fields (columns \"point\", the fields, then the figures)";
        return false;
    }
    std::vector<const BenchFigure*> figures;
    for (const BenchFigure& figure : benchFigures())
        if (csvColumn(table, figure.column) >= 0)
            figures.push_back(&figure);
    const std::string xName = table.columns[1];
    const double panelWidth = chartWidth / 2, panelHeight = firstFigure == 2 ? 230.0 : 300.0;
    const double rows = std::ceil(static_cast<double>(figures.size()) / 2.0);
    std::string body;
    double top = 30.0;
    if (firstFigure == 2) {
        std::vector<std::pair<std::string, std::string>> entries;
        for (std::size_t i = 0; i < figures.size(); ++i)
            entries.emplace_back(withUnit(figures[i]->label, figures[i]->unit), colourAt(i));
        top += drawLegend(body, top, entries) + 4;
        const std::vector<double> xs = columnValues(table, 1);
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const Series s{figures[i]->column, colourAt(i), xs, columnValues(table, csvColumn(table, figures[i]->column))};
            drawPanel(body, static_cast<double>(i % 2) * panelWidth, top + std::floor(i / 2.0) * panelHeight,
                      panelWidth, panelHeight, figures[i]->column, withUnit(figures[i]->label, figures[i]->unit),
                      withUnit(xName, fieldUnit(xName)), figures[i]->unit, {s}, true);
        }
        svg = svgBegin(top + rows * panelHeight, "Driving tests against " + xName) + body + "</svg>\n";
        return true;
    }
    const std::string yName = table.columns[1], columnName = table.columns[2];
    const std::vector<double> ys = columnValues(table, 1), xs = columnValues(table, 2);
    for (std::size_t i = 0; i < figures.size(); ++i)
        drawHeatPanel(body, static_cast<double>(i % 2) * panelWidth, top + std::floor(i / 2.0) * panelHeight,
                      panelWidth, panelHeight, *figures[i], columnName, yName, xs, ys,
                      columnValues(table, csvColumn(table, figures[i]->column)));
    svg = svgBegin(top + rows * panelHeight, "Driving tests over " + yName + " and " + columnName) + body + "</svg>\n";
    return true;
}

bool telemetrySvg(const CsvTable& table, std::string& svg, std::string& error)
{
    const int time = csvColumn(table, "time_s");
    if (time < 0 || csvColumn(table, "speed_kmh") < 0) {
        error = "not a telemetry recording (no time_s and speed_kmh columns)";
        return false;
    }
    const std::size_t stride = std::max<std::size_t>(1, (table.rows.size() + mostPointsPerSeries - 1) /
                                                            mostPointsPerSeries);
    const std::vector<double> t = columnValues(table, time, stride);
    struct Chart {
        std::string id, title, unit;
        std::vector<Series> series;
    };
    std::vector<Chart> charts;
    std::size_t colour = 0;
    auto single = [&](const char* column, const char* title, const char* unit) {
        const int c = csvColumn(table, column);
        if (c >= 0)
            charts.push_back({column, title, unit, {{column, colourAt(colour++), t, columnValues(table, c, stride)}}});
    };
    single("speed_kmh", "Speed", "km/h");
    single("engine_rpm", "Engine", "rpm");
    single("gear", "Gear (-1 reverse, 0 neutral)", "");
    single("engine_level_fraction", "Engine level", "fraction");
    // Every wheel's slip in one chart, a series each.
    Chart slip{"slip", "Wheel slip", "fraction", {}};
    const std::string suffix = "_slip_fraction";
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const std::string& name = table.columns[c];
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            slip.series.push_back({name.substr(0, name.size() - suffix.size()), colourAt(colour++), t,
                                   columnValues(table, static_cast<int>(c), stride)});
    }
    if (!slip.series.empty())
        charts.push_back(slip);

    std::vector<std::pair<std::string, std::string>> entries;
    for (const Chart& chart : charts)
        for (const Series& s : chart.series)
            entries.emplace_back(chart.series.size() > 1 ? s.name + " slip" : withUnit(chart.title, chart.unit),
                                 s.colour);
    const int east = csvColumn(table, "x_east_m"), north = csvColumn(table, "y_north_m");
    const Series path{"path", colourAt(colour++), east >= 0 ? columnValues(table, east, stride) : std::vector<double>(),
                      north >= 0 ? columnValues(table, north, stride) : std::vector<double>()};
    if (east >= 0 && north >= 0)
        entries.emplace_back("Path (m)", path.colour);

    std::string body;
    double top = 30.0;
    top += drawLegend(body, top, entries) + 4;
    const double height = 190.0;
    for (const Chart& chart : charts) {
        drawPanel(body, 0.0, top, chartWidth, height, chart.id, withUnit(chart.title, chart.unit), "Time (s)",
                  chart.unit, chart.series, false);
        top += height;
    }
    if (east >= 0 && north >= 0) {
        drawPanel(body, 0.0, top, chartWidth / 2, 400.0, "path", "Path (m)", "East (m)", "North (m)", {path}, false);
        top += 400.0;
    }
    svg = svgBegin(top, "Telemetry, " + std::to_string(table.rows.size()) + " steps" +
                            (stride > 1 ? ", every " + std::to_string(stride) + "th drawn" : std::string())) +
          body + "</svg>\n";
    return true;
}

bool plotCsv(const CsvTable& table, std::string& svg, std::string& error)
{
    if (!table.columns.empty() && table.columns[0] == "point")
        return sweepSvg(table, svg, error);
    if (table.columns.size() >= 2 && table.columns[0] == "step" && table.columns[1] == "time_s")
        return telemetrySvg(table, svg, error);
    error = "neither a sweep (\"point,...\") nor a telemetry recording (\"step,time_s,...\")";
    return false;
}
