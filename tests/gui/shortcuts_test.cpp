// The control window's keys do what their menu items do.
#include "shell/shell.h"
#include "shell_fixture.h"

namespace {

int about_shown = 0;
void close_about(Window dialog) {
    ++about_shown;
    click_dialog_button(dialog, 1);
}

}  // namespace

TEST_F(ShellTest, MenuKeysChooseTheirItems) {
    start();
    press_keys(control_window, "Ctrl+S");  // greyed with its item: nothing open to save
    EXPECT_FALSE(file_exists("stelo.slo"));
    ASSERT_EQ(press_keys(control_window, "Ctrl+N"), 1);
    EXPECT_TRUE(is_window(view3d_window));
    press_keys(control_window, "Ctrl+S");
    EXPECT_TRUE(wait_until([this] { return file_exists("stelo.slo"); }));
    press_keys(control_window, "Ctrl+Shift+S");
    press_keys(control_window, "Ctrl+O");
    ASSERT_EQ(file_dialogs.size(), 2u);  // both cancelled
    EXPECT_EQ(file_dialogs[0].save, 1);
    EXPECT_EQ(file_dialogs[1].save, 0);
    set_modal_dialog_hook(close_about);
    press_keys(control_window, "F1");
    EXPECT_EQ(about_shown, 1);
    press_keys(control_window, "Ctrl+Q");
    gui_run_message_loop();
    EXPECT_FALSE(is_window(control_window));
}
