// Starts the toolkit once for the 3D view tests; without a display they fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/render/render_test_support.h"

namespace {
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "render_tests";
        static char* argv[] = {name, nullptr};
        gui_up = gui_init(&argc, argv);
        if (!gui_up) GTEST_FAIL() << "no display: run it with ctest or set DISPLAY";
        register_view3d_test_classes();
    }
    void TearDown() override {
        if (gui_up) gui_shutdown();
    }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment());
    return RUN_ALL_TESTS();
}
