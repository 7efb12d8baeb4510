#include "TestUtil.h"
#include "framework/AppInfo.h"
#include "framework/Log.h"
#include "framework/ShaderManager.h"

#include <SFML/Graphics/Texture.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace orv;
using testutil::TempDir;
using testutil::writeFile;

namespace {

const char* vertexSource = "#version 120\nvoid main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n";
const char* fragmentSource = "#version 120\nuniform float level;\nuniform vec2 offset;\n"
                             "void main() { gl_FragColor = vec4(level, offset, 1.0); }\n";

class ShaderTest : public testutil::LoggedTest {
protected:
    void SetUp() override
    {
        LoggedTest::SetUp();
        ShaderManager::resetTable();
        writeFile("s.vert", vertexSource);
        writeFile("s.frag", fragmentSource);
        writeFile("bad.frag", "#version 120\nvoid main() { this is not glsl }\n");
    }
    void TearDown() override
    {
        ShaderManager::resetTable();
        LoggedTest::TearDown();
    }
};

} // namespace

TEST_F(ShaderTest, HandlesAndRecords)
{
    EXPECT_EQ(ShaderManager::load("s.vert", "missing.frag"), -1);
    EXPECT_TRUE(logged("Error: Fragment shader file not found: missing.frag"));
    EXPECT_EQ(ShaderManager::load("missing.vert", ""), -1);
    EXPECT_EQ(ShaderManager::load("", ""), -1);

    // The failures used no record: the first shader still gets handle 1.
    const ShaderHandle first = ShaderManager::load("s.vert", "s.frag");
    EXPECT_EQ(first, 1);
    EXPECT_TRUE(ShaderManager::get(first).loaded);

    // A shader that does not compile keeps its handle, not loaded.
    const ShaderHandle broken = ShaderManager::load("", "bad.frag");
    EXPECT_EQ(broken, 2);
    EXPECT_FALSE(ShaderManager::get(broken).loaded);
    EXPECT_TRUE(logged("Error loading fragment shader from bad.frag"));

    EXPECT_EQ(&ShaderManager::get(5000), &ShaderManager::get(0));
    EXPECT_EQ(&ShaderManager::get(-1), &ShaderManager::get(0));
    EXPECT_FALSE(ShaderManager::get(5000).loaded);

    // 1023 registrations fill the table; the next one fails.
    for (int i = 3; i <= 1023; ++i)
        ASSERT_EQ(ShaderManager::load("s.vert", ""), i);
    EXPECT_EQ(ShaderManager::load("s.vert", ""), -1);
}

TEST_F(ShaderTest, UniformCacheAndReload)
{
    const ShaderHandle h = ShaderManager::load("s.vert", "s.frag");
    CachedShader& shader = *ShaderManager::get(h).shader;
    const auto before = shader.uploads();
    shader.setUniform("level", 0.5f);
    shader.setUniform("level", 0.5f);
    EXPECT_EQ(shader.uploads(), before + 1);
    shader.setUniform("level", 0.75f);
    EXPECT_EQ(shader.uploads(), before + 2);
    shader.setUniform("offset", sf::Vector2f(1, 2));
    shader.setUniform("offset", sf::Vector2f(1, 2));
    EXPECT_EQ(shader.uploads(), before + 3);
    // Same name, another type: sent again.
    shader.setUniform("level", 1);
    EXPECT_EQ(shader.uploads(), before + 4);

    ShaderManager::reloadAll();
    EXPECT_TRUE(ShaderManager::get(h).loaded);
    shader.setUniform("offset", sf::Vector2f(1, 2));
    EXPECT_EQ(shader.uploads(), before + 5);
    EXPECT_TRUE(logged(": Reloaded shaders"));

    // A source fixed on disk draws again under the same handle.
    const ShaderHandle broken = ShaderManager::load("", "bad.frag");
    EXPECT_FALSE(ShaderManager::get(broken).loaded);
    writeFile("bad.frag", fragmentSource);
    ShaderManager::reloadAll();
    EXPECT_TRUE(ShaderManager::get(broken).loaded);
}

// OpenGL may give a dead texture's name to the next texture made, and two
// textures can trade names (swap): a name seen before says nothing about the
// texture, so every texture is sent and the shader never keeps pointing at
// one that died.
TEST_F(ShaderTest, TexturesAreAlwaysSent)
{
    writeFile("t.frag", "#version 120\nuniform sampler2D picture;\n"
                        "void main() { gl_FragColor = texture2D(picture, vec2(0.5)); }\n");
    const ShaderHandle h = ShaderManager::load("s.vert", "t.frag");
    ASSERT_TRUE(ShaderManager::get(h).loaded);
    CachedShader& shader = *ShaderManager::get(h).shader;

    // Another object under the name just sent.
    sf::Texture first, second;
    ASSERT_TRUE(first.create(4, 4));
    ASSERT_TRUE(second.create(8, 8));
    shader.setUniform("picture", first);
    auto before = shader.uploads();
    const unsigned name = first.getNativeHandle();
    first.swap(second);
    ASSERT_EQ(second.getNativeHandle(), name);
    shader.setUniform("picture", second);
    EXPECT_EQ(shader.uploads(), before + 1);

    // A new texture after the old one died, whatever name it gets.
    auto dying = std::make_unique<sf::Texture>();
    ASSERT_TRUE(dying->create(4, 4));
    shader.setUniform("picture", *dying);
    before = shader.uploads();
    dying.reset();
    auto fresh = std::make_unique<sf::Texture>();
    ASSERT_TRUE(fresh->create(8, 8));
    shader.setUniform("picture", *fresh);
    EXPECT_EQ(shader.uploads(), before + 1);
}

// A folder in a source's place made the media library size its buffer from
// a failed seek (std::bad_alloc at every start); a FIFO blocked the open.
// Either keeps its handle, not loaded, until a reload finds a file there.
TEST_F(ShaderTest, SourcesThatAreNotFilesAreRefused)
{
    std::filesystem::create_directories("Data/Shaders/Shadow.vert");
    testutil::makeFifo("Data/Shaders/Water.frag");
    writeFile("Data/Shaders/Shadow.frag", fragmentSource);
    writeFile("Data/Shaders/Water.vert", vertexSource);
    const struct {
        const char* vertex;
        const char* fragment;
        const char* refused;
    } cases[] = {
        {"Data\\Shaders\\Shadow.vert", "Data\\Shaders\\Shadow.frag", "Data\\Shaders\\Shadow.vert"},
        {"Data\\Shaders\\Water.vert", "Data\\Shaders\\Water.frag", "Data\\Shaders\\Water.frag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused);
        ShaderHandle h = -1;
        EXPECT_TRUE(testutil::returnsWithin([&] { h = ShaderManager::load(c.vertex, c.fragment); },
                                            "Data/Shaders/Water.frag"))
            << "blocked";
        ASSERT_GT(h, 0);
        EXPECT_FALSE(ShaderManager::get(h).loaded);
        EXPECT_TRUE(logged(std::string("Error: ShaderManager::compile: ") + c.refused + ": not a regular file"));
    }
    std::filesystem::remove("Data/Shaders/Shadow.vert");
    writeFile("Data/Shaders/Shadow.vert", vertexSource);
    ShaderManager::reloadAll();
    EXPECT_TRUE(ShaderManager::get(1).loaded);
    EXPECT_FALSE(ShaderManager::get(2).loaded);
}
