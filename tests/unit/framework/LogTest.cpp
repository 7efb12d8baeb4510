#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Log.h"
#include "framework/SFMLLogStream.h"
#include "framework/ScreenMessages.h"
#include "framework/gui/Theme.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <ostream>
#include <sstream>

using namespace orv;
using testutil::readFile;
using testutil::TempDir;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

// Text after the "hh:mm:ss: " stamp of each line.
std::vector<std::string> messages(const std::string& path)
{
    std::vector<std::string> out;
    for (const std::string& line : lines(readFile(path)))
        out.push_back(line.size() >= 10 ? line.substr(10) : line);
    return out;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Log::reset();
        Log::open("test.log");
        screenMessages().reset();
        screenMessages().setEnabled(true);
    }
    void TearDown() override
    {
        screenMessages().reset();
        Log::reset();
    }
    TempDir dir;
};

} // namespace

TEST_F(LogTest, LineFormatAndPrefixes)
{
    std::time_t before = std::time(nullptr);
    Log::write("plain");
    Log::info("abc");
    Log::warning("abc");
    Log::error("abc");
    std::time_t after = std::time(nullptr);

    const std::vector<std::string> all = lines(readFile("test.log"));
    ASSERT_EQ(all.size(), 4u);
    int h = -1, mi = -1, se = -1, used = 0;
    ASSERT_EQ(std::sscanf(all[0].c_str(), "%2d:%2d:%2d: %n", &h, &mi, &se, &used), 3) << all[0];
    ASSERT_EQ(used, 10) << all[0];
    // The stamp is UTC, whatever the local zone says.
    const int seconds = h * 3600 + mi * 60 + se;
    std::tm lo{}, hi{};
    gmtime_r(&before, &lo);
    gmtime_r(&after, &hi);
    const int loS = lo.tm_hour * 3600 + lo.tm_min * 60 + lo.tm_sec;
    const int hiS = hi.tm_hour * 3600 + hi.tm_min * 60 + hi.tm_sec;
    EXPECT_TRUE((seconds >= loS && seconds <= hiS) || hiS < loS) << all[0];

    EXPECT_EQ(messages("test.log"), (std::vector<std::string>{"plain", "abc", "Warning: abc", "Error: abc"}));

    // Screen: the three levels, in their colours, without prefixes.
    const auto& screen = screenMessages().entries();
    ASSERT_EQ(screen.size(), 3u);
    EXPECT_EQ(screen[0].colour, sf::Color::White);
    EXPECT_EQ(screen[1].text, "abc");
    EXPECT_EQ(screen[1].colour, sf::Color(243, 115, 23, 255));
    EXPECT_EQ(screen[2].colour, sf::Color(255, 0, 0, 255));
}

TEST_F(LogTest, OpenDeletesOldFileAndDisableStops)
{
    Log::write("old run");
    Log::open("test.log");
    Log::write("new run");
    EXPECT_EQ(messages("test.log"), std::vector<std::string>{"new run"});
    Log::disable();
    Log::write("dropped");
    EXPECT_EQ(messages("test.log"), std::vector<std::string>{"new run"});

    // Without a name the log is named after the executable.
    Log::reset();
    Log::open("");
    EXPECT_EQ(appInfo.logPath, "unit_tests.log");
}

TEST_F(LogTest, ScreenMessageList)
{
    for (int i = 0; i < 15; ++i)
        Log::info("m" + std::to_string(i));
    const auto& screen = screenMessages().entries();
    ASSERT_EQ(screen.size(), 11u);
    EXPECT_EQ(screen.front().text, "m4");
    EXPECT_EQ(screen.back().text, "m14");

    screenMessages().clear();
    postScreenMessage("a\\nb", sf::Color::White);
    postScreenMessage("c\nd\n", sf::Color::White);
    ASSERT_EQ(screen.size(), 4u);
    EXPECT_EQ(screen[0].text, "a");
    EXPECT_EQ(screen[1].text, "b");
    EXPECT_EQ(screen[3].text, "d");

    // A message ages once per second change and goes after the eleventh.
    screenMessages().clear();
    postScreenMessage("x", sf::Color::White);
    int second = screen[0].lastSecond;
    for (int change = 1; change <= 10; ++change) {
        second = (second + 1) % 60;
        screenMessages().age(second);
        screenMessages().age(second); // same second: no ageing
    }
    ASSERT_EQ(screen.size(), 1u);
    screenMessages().age((second + 1) % 60);
    EXPECT_TRUE(screen.empty());

    screenMessages().setEnabled(false); // no window: nothing is posted
    postScreenMessage("y", sf::Color::White);
    EXPECT_TRUE(screen.empty());
}

TEST_F(LogTest, SfmlLineHandler)
{
    SFMLLogStream stream;
    stream.lineHandler = sfmlLineHandler;
    std::ostream err(&stream);
    err << "Failed to load image \"x.png\"\nReason: none" << std::endl;
    err << "not found in shader" << std::flush;
    err << "Uniform \"time\" not found in shader" << std::flush;
    err << "\n\n" << std::flush;

    EXPECT_EQ(messages("test.log"),
              (std::vector<std::string>{"Error: SFML: Failed to load image \"x.png\"", "Error: SFML: Reason: none",
                                        "Error: SFML: not found in shader",
                                        "Warning: SFML: Uniform \"time\" not found in shader"}));
    // The shader warning stays in the file only.
    EXPECT_EQ(screenMessages().entries().size(), 3u);
}

TEST_F(LogTest, SfmlStreamLogsALongLineInPieces)
{
    // A line longer than the stream's piece is logged as two lines.
    SFMLLogStream stream;
    stream.lineHandler = sfmlLineHandler;
    std::ostream err(&stream);
    err << std::string(1030, 'y') << std::endl;
    const auto logged = messages("test.log");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0], "Error: SFML: " + std::string(1024, 'y'));
    EXPECT_EQ(logged[1], "Error: SFML: " + std::string(6, 'y'));

    // What was never flushed is delivered when the stream goes.
    {
        SFMLLogStream last;
        last.lineHandler = sfmlLineHandler;
        std::ostream tail(&last);
        tail << "tail";
    }
    EXPECT_EQ(messages("test.log").back(), "Error: SFML: tail");
}
