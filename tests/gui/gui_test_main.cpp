// One toolkit and one set of window classes for the whole test program, as
// in the real program; every test then starts and ends its own control
// window.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    static int toolkit_argc = 1;
    static char name[] = "gui_shell_tests";
    static char* toolkit_argv[] = {name, nullptr};
    if (!gui_init(&toolkit_argc, toolkit_argv)) {
        std::fprintf(stderr, "no display: run it with ctest or set DISPLAY\n");
        return 1;
    }
    if (!register_window_classes()) {
        std::fprintf(stderr, "window classes could not be registered\n");
        return 1;
    }
    int result = RUN_ALL_TESTS();
    gui_shutdown();
    return result;
}
