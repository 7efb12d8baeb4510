#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/IniFile.h"
#include "framework/Log.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

using orv::IniFile;
namespace Log = orv::Log;
using orv::appInfo;
using testutil::TempDir;
using testutil::writeFile;

namespace {

IniFile loadText(const std::string& text)
{
    writeFile("t.ini", text);
    IniFile ini;
    EXPECT_TRUE(ini.load("t.ini"));
    return ini;
}

} // namespace

TEST(IniFile, KeyLineParsing)
{
    TempDir dir;
    struct Case {
        const char* line;
        const char* key;     // looked up with this name
        const char* expected; // "<default>" when nothing must be stored
    };
    const Case cases[] = {
        {"  mass = 12", "mass", "12"},
        {"mass=12", "MASS", "12"},
        {"key\t =v", "key", "v"},               // tab then space: trimmed completely
        {"key \t=v", "key ", "v"},              // space then tab: the space stays
        {"key \t=v", "key", "<default>"},
        {"key=", "key", "<default>"},           // empty value stores nothing
        {"key=    ", "key", "<default>"},
        {"key=v   ", "key", "v   "},            // trailing spaces kept
        {"key==v", "key", "v"},                 // both equals skipped
        {"# key=v", "# key", "<default>"},      // comment in column one
        {"; key=v", "; key", "<default>"},
        {"' key=v", "' key", "<default>"},
        {"  #key=v", "#key", "v"},              // not column one: a key
        {"novalue", "novalue", "<default>"},
        {"key=\"a \"\"b\"\" c\" ignored", "key", "a \"b\" c"},
    };
    for (const Case& c : cases) {
        IniFile ini = loadText(std::string("[s]\n") + c.line + "\n");
        ini.setSection("S");
        EXPECT_EQ(ini.getString(c.key, "<default>"), c.expected) << "line: " << c.line;
    }
}

TEST(IniFile, SectionsMergeAndRepeat)
{
    TempDir dir;
    IniFile ini = loadText("orphan=1\n[Car]\na=1\nb=2\n[other]\nx=1\n[CAR]\nb=3\nc=4\n[trail] x\nk=v\n");
    ini.setSection("car");
    EXPECT_EQ(ini.getInt("a", 0), 1);
    EXPECT_EQ(ini.getInt("b", 0), 3); // later value replaces the earlier
    EXPECT_EQ(ini.getInt("c", 0), 4);
    EXPECT_EQ(ini.getKeys().size(), 3u);
    ini.setSection("trail x"); // text after the bracket is part of the name
    EXPECT_EQ(ini.getString("k", ""), "v");
    ini.setSection("orphan");
    EXPECT_EQ(ini.getKeys().size(), 0u); // keys before any section are dropped

    IniFile fresh;
    fresh.mergeSections = false;
    fresh.setSection("a");
    fresh.setInt("x", 1);
    fresh.setSection("A");
    EXPECT_EQ(fresh.getInt("x", -1), -1);
}

TEST(IniFile, GettersOnMalformedValues)
{
    TempDir dir;
    IniFile ini = loadText("[s]\nnum=42abc\nword=abc\nbig=99999999999\nf=1.5e\nnan=nan\ninf=inf\n"
                           "v3=1,2,3\nv2=4, 5\nr3=1,2,3\nr4=1, 2 ,3,4\nyes=YES\non=on\none=1\n");
    ini.setSection("s");
    EXPECT_EQ(ini.getInt("num", 7), 42);
    EXPECT_EQ(ini.getInt("word", 7), 0);
    EXPECT_EQ(ini.getInt("big", 7), 0);
    EXPECT_EQ(ini.getInt("missing", 7), 7);
    EXPECT_FLOAT_EQ(ini.getFloat("f", 0.f), 1.5f);
    EXPECT_EQ(ini.getFloat("nan", 3.f), 0.f);
    EXPECT_EQ(ini.getFloat("inf", 3.f), 0.f);
    EXPECT_EQ(ini.getVector2i("v3", {9, 9}), sf::Vector2i(9, 9));
    EXPECT_EQ(ini.getVector2i("v2", {9, 9}), sf::Vector2i(4, 5));
    EXPECT_EQ(ini.getVector2f("v2", {9, 9}), sf::Vector2f(4, 5));
    EXPECT_EQ(ini.getIntRect("r3", {1, 1, 1, 1}), sf::IntRect(1, 1, 1, 1));
    EXPECT_EQ(ini.getIntRect("r4", {}), sf::IntRect(1, 2, 3, 4));
    EXPECT_EQ(ini.getFloatRect("r4", {}), sf::FloatRect(1, 2, 3, 4));
    EXPECT_TRUE(ini.getBool("yes", false));
    EXPECT_FALSE(ini.getBool("on", true));
    EXPECT_TRUE(ini.getBool("one", false));
    EXPECT_TRUE(ini.getBool("missing", true));
}

TEST(IniFile, ColourForms)
{
    TempDir dir;
    const std::string text = "[c]\nhex6=#FF8000\nhex8=#FF000080\nthree=1,2,3\nfour=1,2,3,4\ntwo=1,2\n"
                             "wrap=256,300,-1\nparts.r=10\nparts.g=20\nparts.b=30\nnoalpha.r=1\nnoalpha.g=2\n"
                             "noalpha.b=3\npartial.r=1\npartial.g=2\nref=three\n";
    const sf::Color def(9, 9, 9, 9);
    for (bool references : {false, true}) {
        IniFile ini = loadText(text);
        ini.colorReferences = references;
        ini.setSection("c");
        EXPECT_EQ(ini.getColor("hex6", def), sf::Color(255, 128, 0, 255));
        EXPECT_EQ(ini.getColor("hex8", def), sf::Color(255, 0, 0, 128));
        EXPECT_EQ(ini.getColor("three", def), sf::Color(1, 2, 3, 255));
        EXPECT_EQ(ini.getColor("four", def), sf::Color(1, 2, 3, 4));
        EXPECT_EQ(ini.getColor("two", def), def);
        EXPECT_EQ(ini.getColor("wrap", def), sf::Color(0, 44, 255, 255)); // kept to 8 bits
        EXPECT_EQ(ini.getColor("parts", def), sf::Color(10, 20, 30, 255));
        EXPECT_EQ(ini.getColor("noalpha", def), sf::Color(1, 2, 3, 255));
        EXPECT_EQ(ini.getColor("partial", def), def);
        EXPECT_EQ(ini.getColor("missing", sf::Color(5, 6, 7, 8)), sf::Color(5, 6, 7, 8));
        // "three" as a value is a key name only with references on.
        EXPECT_EQ(ini.getColor("ref", def), references ? sf::Color(1, 2, 3, 255) : def);
        // A default is remembered too, so a later key may name it.
        ini.setValue("later", "missing");
        EXPECT_EQ(ini.getColor("later", def), references ? sf::Color(5, 6, 7, 8) : def);
    }
}

TEST(IniFile, CheckHeader)
{
    TempDir dir;
    struct Case {
        const char* text;
        bool ok;
        const char* error;
    };
    const Case cases[] = {
        {"[info]\nid=My Set\nversion=1\n", true, ""},
        {"[info]\nid=my set\nversion=0\n", true, ""},
        {"[id]\nid=My Set\nversion=1\n", true, ""},
        {"[info]\nid=Other\nversion=1\n", false, "IniFile::checkHeader: Invalid file: t.ini"},
        {"[info]\nid=My Set\n", false, "IniFile::checkHeader: No version specified in file: t.ini"},
        {"[info]\nid=My Set\nversion=2\n", false, "IniFile::checkHeader: Advanced file version: t.ini"},
        {"", false, "IniFile::checkHeader: Invalid file: t.ini"},
    };
    for (const Case& c : cases) {
        IniFile ini = loadText(c.text);
        EXPECT_EQ(ini.checkHeader("My Set"), c.ok) << c.text;
        EXPECT_EQ(ini.lastError, c.error) << c.text;
    }
}

TEST(IniFile, SaveLoadRoundTrip)
{
    TempDir dir;
    IniFile out;
    out.setSection("Video");
    out.setSectionComment("first line\nsecond line");
    out.setString("text", "plain");
    out.setString("multi", "line one\r\r\nline \"two\"\nthree");
    out.setString("quoted", "\"starts with a quote");
    out.setString("inner", "say \"hi\"");
    out.setInt("negative", -42);
    out.setFloat("scale", 2.5f);
    out.setBool("on", true);
    out.setBool("off", false);
    out.setVector2i("size", {640, -480});
    out.setIntRect("rect", {1, -2, 3, 4});
    out.setSection("second");
    out.setString("k", "v");
    ASSERT_TRUE(out.save("round.ini"));
    EXPECT_EQ(out.fileName, "round.ini");

    const std::string written = testutil::readFile("round.ini");
    EXPECT_EQ(written.rfind("[Video]\n; first line\n; second line\ntext=plain\n", 0), 0u) << written;
    EXPECT_NE(written.find("scale=2.500000\n"), std::string::npos);
    EXPECT_NE(written.find("on=True\noff=False\n"), std::string::npos);
    EXPECT_NE(written.find("\n[second]\nk=v\n"), std::string::npos);

    IniFile in;
    ASSERT_TRUE(in.load("round.ini"));
    in.setSection("video");
    EXPECT_EQ(in.getString("text", ""), "plain");
    EXPECT_EQ(in.getString("multi", ""), "line one\nline \"two\"\nthree");
    EXPECT_EQ(in.getString("quoted", ""), "\"starts with a quote");
    EXPECT_EQ(in.getString("inner", ""), "say \"hi\"");
    EXPECT_EQ(in.getInt("negative", 0), -42);
    EXPECT_FLOAT_EQ(in.getFloat("scale", 0.f), 2.5f);
    EXPECT_TRUE(in.getBool("on", false));
    EXPECT_FALSE(in.getBool("off", true));
    EXPECT_EQ(in.getVector2i("size", {}), sf::Vector2i(640, -480));
    EXPECT_EQ(in.getIntRect("rect", {}), sf::IntRect(1, -2, 3, 4));
    EXPECT_EQ(in.getKeys().size(), 10u); // comment lines are not keys
}

TEST(IniFile, SetterKeepsNameAndOrder)
{
    TempDir dir;
    IniFile ini;
    ini.setString("ignored", "no section yet");
    EXPECT_EQ(ini.getKeys().size(), 0u);
    ini.setSection("s");
    ini.setString("First", "1");
    ini.setString("second", "2");
    ini.setString("FIRST", "3");
    ASSERT_TRUE(ini.save("o.ini"));
    EXPECT_EQ(testutil::readFile("o.ini"), "[s]\nFirst=3\nsecond=2\n");
}

TEST(IniFile, BadFiles)
{
    TempDir dir;
    IniFile ini;
    EXPECT_FALSE(ini.load("missing.ini"));
    EXPECT_EQ(ini.lastError, "IniFile::load: Unable to read from missing.ini");

    std::filesystem::create_directory("folder.ini");
    EXPECT_FALSE(ini.load("folder.ini"));
    EXPECT_EQ(ini.lastError, "IniFile::load: Unable to read from folder.ini");
    EXPECT_FALSE(ini.save("folder.ini"));
    EXPECT_EQ(ini.lastError, "Unable to write to folder.ini");

    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) & 0xFF);
    junk += std::string(100, '\0');
    writeFile("junk.ini", junk);
    IniFile j;
    EXPECT_TRUE(j.load("junk.ini"));

    // One line of a megabyte inside ten megabytes.
    std::string big = "[s]\nlong=" + std::string(1 << 20, 'x') + "\n";
    while (big.size() < 10u * 1024 * 1024)
        big += "k=v\n";
    writeFile("big.ini", big);
    IniFile b;
    ASSERT_TRUE(b.load("big.ini"));
    b.setSection("s");
    EXPECT_EQ(b.getValue("long").size(), 1u << 20);

    // An open quote at the end of the file is dropped; backslash paths are found.
    writeFile("sub/open.ini", "[s]\nk=\"never closed\n");
    IniFile o;
    ASSERT_TRUE(o.load("sub\\open.ini"));
    o.setSection("s");
    EXPECT_EQ(o.getString("k", "none"), "none");
}

class IniFileLog : public testutil::LoggedTest {};

TEST_F(IniFileLog, SaveThroughLinksAndLeftovers)
{
    IniFile ini;
    ini.setSection("s");
    ini.setString("k", "new");

    // A leftover temporary that is a link must not lead the save elsewhere.
    writeFile("victim.map", "[header]\n");
    std::filesystem::create_symlink("victim.map", "plain.ini.tmp");
    ASSERT_TRUE(ini.save("plain.ini"));
    EXPECT_EQ(testutil::readFile("victim.map"), "[header]\n");
    EXPECT_EQ(testutil::readFile("plain.ini"), "[s]\nk=new\n");

    // A settings file that is a link stays one; its target gets the text and
    // keeps its mode.
    writeFile("real/target.ini", "[s]\nk=old\n");
    ::chmod("real/target.ini", 0640);
    std::filesystem::create_symlink("real/target.ini", "linked.ini");
    ASSERT_TRUE(ini.save("linked.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink("linked.ini"));
    EXPECT_EQ(testutil::readFile("real/target.ini"), "[s]\nk=new\n");
    struct stat st {};
    ASSERT_EQ(::stat("real/target.ini", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // A read-only file is left alone and the refusal is logged.
    writeFile("locked.ini", "[s]\nk=old\n");
    ::chmod("locked.ini", 0444);
    EXPECT_FALSE(ini.save("locked.ini"));
    EXPECT_EQ(ini.lastError, "Unable to write to locked.ini");
    EXPECT_EQ(testutil::readFile("locked.ini"), "[s]\nk=old\n");
    EXPECT_TRUE(logged("Warning: IniFile::save: locked.ini: the file is read-only"));

    // No temporary is left behind by any of it.
    std::filesystem::remove("plain.ini.tmp");
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().find(".ini."), std::string::npos) << entry.path();
}

TEST(IniFile, ByteOrderMarkIsSkipped)
{
    TempDir dir;
    writeFile("bom.ini", "\xEF\xBB\xBF[header]\r\nvertsCount=4\r\n");
    IniFile ini;
    ASSERT_TRUE(ini.load("bom.ini"));
    ini.setSection("header");
    EXPECT_EQ(ini.getInt("vertsCount", 0), 4);
    // Only at the very start: later it is part of the text.
    writeFile("mid.ini", "[s]\n\xEF\xBB\xBFk=v\n");
    IniFile mid;
    ASSERT_TRUE(mid.load("mid.ini"));
    mid.setSection("s");
    EXPECT_EQ(mid.getValue("\xEF\xBB\xBFk"), "v");
}

TEST(IniFile, ClearRestoresDefaults)
{
    TempDir dir;
    IniFile ini;
    ini.mergeSections = false;
    ini.colorReferences = true;
    ini.load("none.ini");
    ini.setSection("s");
    ini.setString("k", "v");
    ini.clear();
    EXPECT_TRUE(ini.mergeSections);
    EXPECT_FALSE(ini.colorReferences);
    EXPECT_TRUE(ini.lastError.empty());
    EXPECT_EQ(ini.getValue("k"), "");
    ini.setString("k", "v"); // no current section any more
    EXPECT_TRUE(ini.getKeys().empty());
}

// Whatever a file holds, saving what was read and reading it again gives the
// same keys and values: a settings file the program rewrites keeps every
// value a user typed.
TEST(IniFile, SavedFileReadsBackAsRead)
{
    TempDir dir;
    struct Case {
        const char* text;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"[a]\nk=\"x\ny\"\n", "k", "x\ny"},            // a quoted value over two lines
        {"[a]\n  #k=v\n", "#k", "v"},                   // a key that looks like a comment
        {"[a]\n  ;k=v\n", ";k", "v"},
        {"[a]\n  [k=v\n", "[k", "v"},                   // ... or like a section header
        {"[a]\nk=\" v\"\n", "k", " v"},                 // quoted leading space
        {"[a]\nk=\"=v\"\n", "k", "=v"},                 // quoted leading equals sign
        {"[a]\nk=\"\"\"q\"\n", "k", "\"q"},             // quoted leading quote
        {"[a]\nk=v\r\r\n", "k", "v\r"},                 // a carriage return of its own
        {"[a]\nk=\"x\r\r\r\ny\"\n", "k", "x\ny"},     // ... none kept before a line feed
        {"[a]\nk\t \t=v\n", "k\t ", "v"},               // a key ending in a space
    };
    for (const Case& c : cases) {
        IniFile first = loadText(c.text);
        first.setSection("a");
        ASSERT_EQ(first.getValue(c.key), c.value) << c.text;
        ASSERT_TRUE(first.save("again.ini"));
        IniFile second;
        ASSERT_TRUE(second.load("again.ini"));
        second.setSection("a");
        EXPECT_EQ(second.getValue(c.key), c.value) << c.text << "\nwritten:\n" << testutil::readFile("again.ini");
        EXPECT_EQ(second.getKeys().size(), 1u) << c.text;
    }
}
