// The charts, read back as text: one root <svg>, groups that close, a panel
// per figure with both axes, their ticks and labels with units, a legend,
// and one series path per line with as many points as the data has values.
#include "CsvTable.h"
#include "Sweep.h"
#include "SvgPlot.h"
#include "TestUtil.h"
#include "vehicle/DrivingTests.h"
#include "vehicle/Telemetry.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct SeriesPath {
    int points = 0;      ///< as the data-points attribute says
    int coordinates = 0; ///< pairs in the path's d
    int moves = 0;       ///< "M": the line's runs
};

std::string attribute(const std::string& element, const std::string& name)
{
    const std::size_t at = element.find(" " + name + "=\"");
    if (at == std::string::npos)
        return "";
    const std::size_t from = at + name.size() + 3;
    return element.substr(from, element.find('"', from) - from);
}

// Every <path class="series"> by its data-series name.
std::map<std::string, SeriesPath> seriesPaths(const std::string& svg)
{
    std::map<std::string, SeriesPath> paths;
    for (std::size_t at = svg.find("<path class=\"series\""); at != std::string::npos;
         at = svg.find("<path class=\"series\"", at + 1)) {
        const std::string element = svg.substr(at, svg.find("/>", at) - at);
        SeriesPath p;
        p.points = std::stoi(attribute(element, "data-points"));
        const std::string d = attribute(element, "d");
        p.coordinates = static_cast<int>(testutil::occurrences(d, ","));
        p.moves = static_cast<int>(testutil::occurrences(d, "M"));
        paths[attribute(element, "data-series")] = p;
    }
    return paths;
}

void expectWellFormed(const std::string& svg)
{
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_EQ(testutil::occurrences(svg, "<svg "), 1u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    EXPECT_EQ(testutil::occurrences(svg, "<g "), testutil::occurrences(svg, "</g>")) << "every group closes";
    EXPECT_EQ(testutil::occurrences(svg, "<text"), testutil::occurrences(svg, "</text>"));
    EXPECT_EQ(testutil::occurrences(svg, "<g class=\"legend\""), 1u);
}

// A sweep of body.power over five points in the bench's own format; the
// car loses the skid pad circle at the third.
CsvTable sweepTable(bool grid)
{
    const std::vector<SweepAxis> axes = grid ? std::vector<SweepAxis>{{"body.power", 1, 2, 2}, {"gear0.ratio", 1, 3, 3}}
                                             : std::vector<SweepAxis>{{"body.power", 1000, 5000, 5}};
    std::string csv = sweepCsvHeader(axes, false) + "\n";
    for (int i = 0; i < 6 - (grid ? 0 : 1); ++i) {
        DrivingTestResults r;
        for (DrivingFigure* f : {&r.accelerationTime, &r.topSpeed, &r.gearChangesPerMinute, &r.brakingDistance,
                                 &r.brakingMeanG, &r.kerbToKerb, &r.wallToWall, &r.lateralG})
            *f = {true, 10.0f + static_cast<float>(i)};
        r.skidPadDriven = true;
        if (i == 2)
            r.lateralG.reached = false;
        csv += std::to_string(i) + (grid ? "," + std::to_string(1 + i / 3) + "," + std::to_string(1 + i % 3)
                                         : "," + std::to_string(1000 * (i + 1))) +
               drivingTestsCsvRow("", r) + "\n";
    }
    CsvTable table;
    std::string error;
    EXPECT_TRUE(parseCsv(csv, table, error)) << error;
    return table;
}

} // namespace

TEST(SvgPlotTest, SweepIsSmallMultiplesOfEveryFigure)
{
    std::string svg, error;
    ASSERT_TRUE(plotCsv(sweepTable(false), svg, error)) << error;
    expectWellFormed(svg);
    EXPECT_EQ(testutil::occurrences(svg, "<g class=\"panel\""), 8u);
    EXPECT_EQ(testutil::occurrences(svg, "<g class=\"axis x\">"), 8u);
    EXPECT_EQ(testutil::occurrences(svg, "<g class=\"axis y\">"), 8u);
    const std::map<std::string, SeriesPath> paths = seriesPaths(svg);
    ASSERT_EQ(paths.size(), 8u);
    for (const auto& [name, p] : paths) {
        SCOPED_TRACE(name);
        EXPECT_EQ(p.points, name == "lateral_g" ? 4 : 5);
        EXPECT_EQ(p.coordinates, p.points);
        EXPECT_EQ(p.moves, name == "lateral_g" ? 2 : 1) << "a gap where the figure was not reached";
    }
    for (const char* label : {">body.power (N)<", ">Top speed (km/h)<", ">Braking distance (m)<", ">km/h<",
                              ">Lateral acceleration (g)<", ">1000<", ">5000<"})
        EXPECT_TRUE(testutil::has(svg, label));
    EXPECT_EQ(testutil::occurrences(svg, "class=\"tick\""), testutil::occurrences(svg, "class=\"tick-label\""));
}

TEST(SvgPlotTest, GridIsAHeatMapPerFigure)
{
    std::string svg, error;
    ASSERT_TRUE(plotCsv(sweepTable(true), svg, error)) << error;
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_EQ(testutil::occurrences(svg, "<g "), testutil::occurrences(svg, "</g>"));
    EXPECT_EQ(testutil::occurrences(svg, "<g class=\"panel heatmap\""), 8u);
    EXPECT_EQ(testutil::occurrences(svg, "<rect class=\"cell\""), 6u * 8u);
    EXPECT_EQ(testutil::occurrences(svg, "<g class=\"legend\">"), 8u) << "a colour bar each";
    EXPECT_EQ(testutil::occurrences(svg, ">not reached</title>"), 1u);
    EXPECT_TRUE(testutil::has(svg, ">gear0.ratio<"));
    EXPECT_TRUE(testutil::has(svg, ">body.power (N)<"));
}

TEST(SvgPlotTest, TelemetryChartsEachColumnAgainstTime)
{
    testutil::TempDir dir;
    std::vector<TelemetrySample> samples;
    for (int i = 1; i <= 30; ++i) {
        TelemetrySample s;
        s.step = i;
        s.time = static_cast<float>(i) / 60.0f;
        s.speedKmh = static_cast<float>(i);
        s.engineRpm = 1000.0f + 50.0f * static_cast<float>(i);
        s.gear = 2;
        s.x = static_cast<float>(i);
        s.wheelCount = 4;
        s.wheels.resize(4);
        for (int w = 0; w < 4; ++w) {
            s.wheels[static_cast<std::size_t>(w)].mountX = w % 2 ? 12 : -12;
            s.wheels[static_cast<std::size_t>(w)].mountY = w < 2 ? -18 : 18;
            s.wheels[static_cast<std::size_t>(w)].slip = 0.1f * static_cast<float>(w);
        }
        samples.push_back(s);
    }
    ASSERT_TRUE(writeTelemetryCsv("drive.csv", samples));
    CsvTable table;
    std::string svg, error;
    ASSERT_TRUE(parseCsv(testutil::readFile("drive.csv"), table, error)) << error;
    ASSERT_TRUE(plotCsv(table, svg, error)) << error;
    expectWellFormed(svg);
    const std::map<std::string, SeriesPath> paths = seriesPaths(svg);
    for (const char* name : {"speed_kmh", "engine_rpm", "gear", "engine_level_fraction", "front_left", "front_right",
                             "rear_left", "rear_right", "path"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(paths.count(name), 1u);
        EXPECT_EQ(paths.at(name).points, 30);
        EXPECT_EQ(paths.at(name).coordinates, 30);
    }
    for (const char* label : {">Time (s)<", ">Speed (km/h)<", ">Engine (rpm)<", ">rear_left slip<", ">North (m)<"})
        EXPECT_TRUE(testutil::has(svg, label));
}

TEST(SvgPlotTest, RefusesOtherTables)
{
    CsvTable table;
    std::string svg, error;
    ASSERT_TRUE(parseCsv(drivingTestsCsvHeader() + "\ncar,100,,,,,,,,,,,,,,,\"a, b\"\n", table, error)) << error;
    EXPECT_EQ(table.rows[0].back(), "a, b") << "quotes undone";
    EXPECT_FALSE(plotCsv(table, svg, error));
    EXPECT_TRUE(testutil::has(error, "neither a sweep"));
    EXPECT_FALSE(parseCsv("a,b\n1\n", table, error));
    EXPECT_TRUE(testutil::has(error, "line 2: 1 cells under 2 columns"));
    EXPECT_FALSE(parseCsv("a,b\n\"1,2\n", table, error));
    EXPECT_TRUE(testutil::has(error, "quote"));
}
