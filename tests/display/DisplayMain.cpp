// Tests that need a window and a GL context. CTest runs them on a private
// Xvfb (with_xvfb.sh); each test works in a scratch directory.

#include "framework/Core.h"
#include "framework/CoreConfig.h"

#include <gtest/gtest.h>

namespace {

class WindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        orv::coreConfig.antialiasingLevel = 0;
        orv::setDisplayMode(640, 480, 32, true);
        ASSERT_TRUE(orv::window().isOpen());
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new WindowEnvironment);
    return RUN_ALL_TESTS();
}
