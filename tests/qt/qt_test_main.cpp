// Starts the toolkit once for the GUI tests; without a display they fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/qt/qt_test_support.h"

namespace {
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "qt_tests";
        static char* argv[] = {name, nullptr};
        if (!gui_init(&argc, argv))
            GTEST_FAIL() << "no display: run it with ctest or set DISPLAY";
    }
    void TearDown() override { gui_shutdown(); }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment());
    return RUN_ALL_TESTS();
}
