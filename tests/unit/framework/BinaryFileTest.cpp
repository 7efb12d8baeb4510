#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/BinaryFile.h"
#include "framework/Log.h"
#include "framework/gui/ScriptConsole.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace orv;
using testutil::TempDir;
using testutil::writeFile;

namespace {

std::string int32(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

std::string header(const std::string& id, std::int32_t version)
{
    std::string field(32, '\0');
    std::memcpy(&field[0], id.data(), std::min<std::size_t>(id.size(), 32));
    return field + int32(version);
}

std::string str(const std::string& s)
{
    return int32(static_cast<std::int32_t>(s.size())) + s;
}

const std::string historyId = "ZOZUR3 Script Console History";

} // namespace

TEST(BinaryFile, HeaderChecks)
{
    TempDir dir;
    struct Case {
        std::string bytes;
        bool ok;
        std::string error;
    };
    const std::string f = "scriptConsoleHistory.dat";
    const Case cases[] = {
        {header(historyId, 1), true, ""},
        {header(historyId, 2), false, f + " is an advanced file version (expected 1 got 2)"},
        {header(historyId, 0), false, f + " is an obselete file version"},
        {header("zozur3 script console history", 1), false, f + " is an invalid file"},
        {header(historyId, 1).substr(0, 20), false, f + " is an invalid file"},
        {"", false, f + " is an invalid file"},
    };
    for (const Case& c : cases) {
        writeFile(f, c.bytes);
        BinaryFile file;
        ASSERT_TRUE(file.openRead(f));
        EXPECT_EQ(file.readHeader(historyId), c.ok);
        EXPECT_EQ(file.lastError, c.error);
        EXPECT_EQ(file.version, c.ok ? 1 : -1);
    }
    BinaryFile missing;
    EXPECT_FALSE(missing.openRead("nope.dat"));
    EXPECT_EQ(missing.lastError, "Unable to open nope.dat");
}

class BinaryFileLog : public testutil::LoggedTest {};

TEST_F(BinaryFileLog, StringLengths)
{
    writeFile("s.dat", str("") + str("hello") + int32(-3) + int32(5000) + "abcd" + str(std::string(4096, 'z')) +
                           int32(10) + "short");
    BinaryFile file;
    ASSERT_TRUE(file.openRead("s.dat"));
    EXPECT_EQ(file.readOldStdString(), "");
    EXPECT_EQ(file.readOldStdString(), "hello");
    EXPECT_EQ(file.readOldStdString(), "");
    EXPECT_EQ(file.readOldStdString(), "");
    // The long string's bytes were not skipped: the next length is "abcd".
    std::int32_t next = 0;
    ASSERT_TRUE(file.readInt32(next));
    EXPECT_EQ(next, 0x64636261);
    EXPECT_EQ(file.readOldStdString().size(), 4096u);
    EXPECT_EQ(file.readOldStdString(), ""); // runs past the end
    EXPECT_FALSE(file.readInt32(next));
    EXPECT_TRUE(logged("Error: BinaryFile::readOldStdString: string length -3 is invalid"));
    EXPECT_TRUE(logged("Error: BinaryFile::readOldStdString: string length 5000 is too long"));
}

TEST(BinaryFile, HistoryLoader)
{
    TempDir dir;
    using V = std::vector<std::string>;
    const std::pair<std::string, V> cases[] = {
        {header(historyId, 1) + int32(3) + str("first") + str("") + str("third"), {"first", "", "third"}},
        // A count that lies stops at the end of the file, without allocating for it.
        {header(historyId, 1) + int32(2147483647) + str("only"), {"only"}},
        {header(historyId, 1) + int32(2) + str("one") + int32(50) + "cut", {"one", ""}},
        {header(historyId, 2) + int32(1) + str("x"), {}},
    };
    for (const auto& [bytes, history] : cases) {
        writeFile("h.dat", bytes);
        ScriptConsole console;
        console.loadHistory("h.dat");
        EXPECT_EQ(console.history(), history);
    }
    ScriptConsole absent;
    absent.loadHistory("absent.dat");
    EXPECT_TRUE(absent.history().empty());
}
